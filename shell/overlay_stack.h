#pragma once
// The screens drawn over the cabinet (the settings screen, the game recall, the preferences
// screen and the reality check), in the one order they stack in, and which of them (or the
// cabinet) takes the keys. The router asks it where a press or a key goes; the program opens and
// closes the overlays through it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/picture.h"
#include "presentation/control_screen.h"
#include "shell/input_table.h"

namespace fruvana {

// A screen over the cabinet: shown or not, over an area, and able to hide itself.
class OverlayScreen : public ControlScreen {
  public:
    virtual bool visible() const = 0;
    virtual Rect area() const = 0;
    virtual void hide() = 0;
    // What speech says as the overlay opens: its name and what it shows first.
    virtual std::string spokenOnOpening() const = 0;
};

// An overlay that the keys and buttons move through: the preferences screen and the reality
// check. It decides what a move or a click on one of its items does.
class FormScreen : public OverlayScreen {
  public:
    virtual void move(FormMove move) = 0;
    // A click let go over the item it went down on; back for the other mouse button.
    virtual void click(int item, bool back) = 0;
    // While the form awaits a new key or button: the input the player pressed. False when it
    // awaits none.
    virtual bool capture(const Input& input) = 0;
    // What speech says after a move, a click or a captured input: the control that took the
    // focus, or the message the form gave; empty when nothing changed.
    virtual std::string spokenAfterMove() const = 0;
    void sinkButton(Button) override {}
    void liftButton(Button) override {}
};

// Hears the overlays open and the forms move, to tell the player.
class OverlayListener {
  public:
    virtual ~OverlayListener() = default;
    virtual void overlayOpened(const OverlayScreen& screen) = 0;
    virtual void formMoved(const FormScreen& form) = 0;
};

// The overlays, bottom to top: a later one is drawn over an earlier one and takes the keys
// first.
enum class Overlay : std::uint8_t { Settings, Recall, Preferences, RealityCheck };
inline constexpr int kOverlayCount = 4;

class OverlayStack {
  public:
    // The cabinet beneath every overlay, and each overlay's screen (form for those the keys
    // move through).
    OverlayStack(ControlScreen& cabinet, OverlayScreen& settings, OverlayScreen& recall,
                 FormScreen& preferences, FormScreen& realityCheck);

    // What takes the keys: an overlay, or the cabinet (nothing).
    std::optional<Overlay> focus() const { return focus_; }
    // The topmost overlay shown, or nothing when the cabinet is bare.
    std::optional<Overlay> top() const;
    bool shown(Overlay overlay) const { return screen(overlay).visible(); }
    // The topmost overlay shown under a window point, or nothing for the cabinet.
    std::optional<Overlay> at(int x, int y) const;

    // Opens an overlay: it takes the keys, show() draws it, and the listener hears it.
    template <typename Show>
    void open(Overlay overlay, Show&& show) {
        focus_ = overlay;
        show();
        if (listener_ != nullptr) listener_->overlayOpened(screen(overlay));
    }
    // A form moved (by a key, a button or a click): the listener hears what it now says.
    void formMoved(const FormScreen& form) const {
        if (listener_ != nullptr) listener_->formMoved(form);
    }
    void setListener(OverlayListener* listener) { listener_ = listener; }
    // Hides an overlay; the keys go to the topmost one still shown.
    void close(Overlay overlay);
    // Hides every overlay; the keys go to the cabinet.
    void closeAll();
    // A press went down on an overlay or on the cabinet (nothing): it takes the keys.
    void focusOn(std::optional<Overlay> overlay) { focus_ = overlay; }

    ControlScreen& screenOf(std::optional<Overlay> overlay) const;
    // The form of an overlay the keys move through; null for the others and the cabinet.
    FormScreen* formOf(std::optional<Overlay> overlay) const;

  private:
    OverlayScreen& screen(Overlay overlay) const {
        return *screens_[static_cast<std::size_t>(overlay)];
    }

    ControlScreen& cabinet_;
    std::array<OverlayScreen*, kOverlayCount> screens_;
    std::array<FormScreen*, kOverlayCount> forms_{};
    std::optional<Overlay> focus_;
    OverlayListener* listener_ = nullptr;
};

}  // namespace fruvana
