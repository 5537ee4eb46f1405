#include "presentation/scene.h"

#include <algorithm>

namespace fruvana {

namespace {

// Beyond this many separate parts, one rectangle round them all paints faster than many.
constexpr std::size_t kMaxDirtyParts = 32;

Rect unite(const Rect& a, const Rect& b) {
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.w, b.x + b.w);
    const int bottom = std::max(a.y + a.h, b.y + b.h);
    return {left, top, right - left, bottom - top};
}

bool contains(const Rect& outer, const Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

}  // namespace

void Layer::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    invalidate();
}

void Layer::invalidate() const {
    invalidate(bounds());
}

void Layer::invalidate(const Rect& area) const {
    if (scene_ != nullptr) scene_->invalidate(area);
}

PictureLayer::PictureLayer(std::string name, Rect area, bool seeThrough)
    : Layer(std::move(name)), area_(area), seeThrough_(seeThrough) {}

void PictureLayer::paint(Picture& target, const Rect& clip) const {
    if (picture_.empty()) return;
    const Rect from{clip.x - area_.x, clip.y - area_.y, clip.w, clip.h};
    // A see-through picture takes its key from its own bottom-left pixel.
    const std::optional<Rgb> key = seeThrough_ ? bottomLeftColour(picture_) : std::nullopt;
    blit(picture_, from, target, clip.x, clip.y, key);
}

void PictureLayer::setPicture(Picture picture) {
    picture_ = std::move(picture);
    invalidate();
}

void PictureLayer::clear() {
    if (picture_.empty()) return;
    picture_ = Picture();
    invalidate();
}

void PictureLayer::moveTo(int x, int y) {
    if (x == area_.x && y == area_.y) return;
    invalidate();
    area_.x = x;
    area_.y = y;
    invalidate();
}

Layer& Scene::adopt(std::unique_ptr<Layer>& layer) {
    layer->scene_ = this;
    Layer& added = *layer;
    added.invalidate();
    return added;
}

Layer& Scene::add(std::unique_ptr<Layer> layer) {
    layers_.push_back(std::move(layer));
    return adopt(layers_.back());
}

Layer& Scene::insertBefore(std::string_view name, std::unique_ptr<Layer> layer) {
    auto at = std::find_if(layers_.begin(), layers_.end(),
                           [&](const std::unique_ptr<Layer>& l) { return l->name() == name; });
    at = layers_.insert(at, std::move(layer));
    return adopt(*at);
}

Layer* Scene::find(std::string_view name) const {
    for (const auto& layer : layers_)
        if (layer->name() == name) return layer.get();
    return nullptr;
}

Layer* Scene::layerAt(int x, int y) const {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
        if ((*it)->visible() && (*it)->bounds().contains(x, y)) return it->get();
    }
    return nullptr;
}

void Scene::invalidate(const Rect& area) {
    if (area.empty()) return;
    for (const Rect& known : dirty_)
        if (contains(known, area)) return;
    std::erase_if(dirty_, [&](const Rect& known) { return contains(area, known); });
    dirty_.push_back(area);
    if (dirty_.size() > kMaxDirtyParts) {
        Rect all = dirty_.front();
        for (const Rect& r : dirty_) all = unite(all, r);
        dirty_.assign(1, all);
    }
}

std::vector<Rect> Scene::paint(Picture& target) {
    std::vector<Rect> painted;
    for (const Rect& area : dirty_) {
        const Rect part = intersect(area, target.bounds());
        if (part.empty()) continue;
        for (const auto& layer : layers_) {
            if (!layer->visible()) continue;
            const Rect clip = intersect(part, layer->bounds());
            if (!clip.empty()) layer->paint(target, clip);
        }
        painted.push_back(part);
    }
    dirty_.clear();
    return painted;
}

}  // namespace fruvana
