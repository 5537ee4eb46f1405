#pragma once
// A window's content as an ordered list of layers, painted later-over-earlier. A layer that
// changes marks its rectangle dirty; painting composes only the dirty parts into the back
// buffer, in layer order, and reports them so just those are presented.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/picture.h"

namespace fruvana {

class Scene;

class Layer {
  public:
    explicit Layer(std::string name) : name_(std::move(name)) {}
    virtual ~Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    const std::string& name() const { return name_; }
    bool visible() const { return visible_; }
    void setVisible(bool visible);

    // The part of the window the layer may paint, in window pixels.
    virtual Rect bounds() const = 0;
    // Paints the layer's part that lies inside clip (which lies inside bounds()).
    virtual void paint(Picture& target, const Rect& clip) const = 0;

    // Marks the whole layer for repainting.
    void invalidate() const;

  protected:
    void invalidate(const Rect& area) const;

  private:
    friend class Scene;
    std::string name_;
    bool visible_ = true;
    Scene* scene_ = nullptr;
};

// A picture at a place. The area keeps its size when the picture is empty (a meter before its
// first draw shows what lies beneath) and cuts off a picture that is larger.
class PictureLayer : public Layer {
  public:
    PictureLayer(std::string name, Rect area, bool seeThrough = false);

    Rect bounds() const override { return area_; }
    void paint(Picture& target, const Rect& clip) const override;

    const Picture& picture() const { return picture_; }
    void setPicture(Picture picture);
    // Empties the layer: it paints nothing until it gets a picture again.
    void clear();
    // Direct access to the pixels; call invalidate() after changing them.
    Picture& pixels() { return picture_; }

    int x() const { return area_.x; }
    int y() const { return area_.y; }
    void moveTo(int x, int y);

    // Drawn with its bottom-left pixel's colour see-through.
    bool seeThrough() const { return seeThrough_; }

  private:
    Rect area_;
    bool seeThrough_;
    Picture picture_;
    std::optional<Rgb> key_;
};

class Scene {
  public:
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Adds a layer on top of all others.
    Layer& add(std::unique_ptr<Layer> layer);
    // Adds a layer just beneath the named one (on top if there is none by that name).
    Layer& insertBefore(std::string_view name, std::unique_ptr<Layer> layer);
    Layer* find(std::string_view name) const;
    // The topmost visible layer whose rectangle holds the point, or null.
    Layer* layerAt(int x, int y) const;
    const std::vector<std::unique_ptr<Layer>>& layers() const { return layers_; }

    void invalidate(const Rect& area);
    bool dirty() const { return !dirty_.empty(); }

    // Composes every dirty part into target and returns those parts (inside target).
    std::vector<Rect> paint(Picture& target);

  private:
    Layer& adopt(std::unique_ptr<Layer>& layer);
    std::vector<std::unique_ptr<Layer>> layers_;
    std::vector<Rect> dirty_;
};

}  // namespace fruvana
