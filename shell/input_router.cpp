#include "shell/input_router.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <utility>

#include "presentation/translation.h"

namespace fruvana {

InputRouter::InputRouter(Game& game, GameView& view, OverlayStack& overlays, EventLoop& loop,
                         const InputBindings& bindings)
    : game_(game), view_(view), overlays_(overlays), loop_(loop), bindings_(bindings) {}

void InputRouter::route(const InputEvent& event) {
    if (loop_.quitRequested()) return;
    switch (event.kind) {
        case InputKind::CloseRequest:
            return game_.requestQuit();
        case InputKind::MouseDown:
            return pointerDown(event);
        case InputKind::MouseUp:
            return pointerUp(event);
        default:
            // Focus changes are the program's business.
            if (const std::optional<Input> input = inputOf(event)) act(*input);
            return;
    }
}

ControlScreen& InputRouter::screenOf(Button button) {
    switch (button) {
        case Button::SettingsOk:
        case Button::SettingsReset:
        case Button::SettingsRecall:
        case Button::SettingsPreferences:
            return overlays_.screenOf(Overlay::Settings);
        case Button::RecallOk:
            return overlays_.screenOf(Overlay::Recall);
        default:
            return view_;
    }
}

bool InputRouter::applies(Where where) const {
    switch (where) {
        case Where::Game:
            return !overlays_.focus();
        case Where::Recall:
            return overlays_.focus() == Overlay::Recall;
        case Where::RecallShown:
            return overlays_.shown(Overlay::Recall);
        case Where::SettingsShown:
            return overlays_.shown(Overlay::Settings);
        case Where::Preferences:
            return overlays_.focus() == Overlay::Preferences;
        case Where::RealityCheck:
            return overlays_.focus() == Overlay::RealityCheck;
        case Where::Anywhere:
            return true;
    }
    return false;
}

void InputRouter::act(const Input& input) {
    // A form awaiting a new key or button takes the next one, whatever it does elsewhere.
    if (FormScreen* screen = overlays_.formOf(overlays_.focus());
        screen != nullptr && input.kind != Input::Kind::WindowMode && screen->capture(input)) {
        overlays_.formMoved(*screen);
        return;
    }
    for (const InputRow& row : bindings_.rows()) {
        if (row.input != input || !applies(row.where)) continue;
        // Deliberate: inputs may act inside another's wait, as every handler may, but no
        // deeper than this, so a flood of keys cannot grow the stack without end.
        if (keyDepth_ >= kMaxKeyNesting) return;
        ++keyDepth_;
        run(row.command, input.kind);
        --keyDepth_;
        return;
    }
}

void InputRouter::run(Command command, Input::Kind by) {
    const Button button = command.button;
    switch (command.kind) {
        case Command::Kind::Pull:
            return game_.pullByKey();
        case Command::Kind::Hold:
            return game_.toggleHoldByKey(command.reel);
        case Command::Kind::Press:
            if (by == Input::Kind::Wheel) {
                if (game_.pressButtonByWheel(button)) holdDown(button, kWheelHoldMs);
            } else if (game_.pressButtonByKey(button)) {
                holdDown(button, kKeyHoldMs);
            }
            return;
        case Command::Kind::Click:
            pressButton(button, true);
            view_.delay(kKeyHoldMs);
            return releaseButton(button);
        case Command::Kind::OpenRecall:
            game_.openRecall();
            return;
        case Command::Kind::CloseRecall:
            return game_.closeRecall();
        case Command::Kind::Quit:
            return game_.requestQuit();
        case Command::Kind::OpenPreferences:
            game_.openPreferences();
            return;
        case Command::Kind::SwitchWindowMode:
            if (onSwitchWindowMode) onSwitchWindowMode();
            return;
        case Command::Kind::Form:
            if (FormScreen* screen = overlays_.formOf(overlays_.focus())) {
                screen->move(command.move);
                // A move that closed the form has nothing more to say of it.
                if (screen->visible()) overlays_.formMoved(*screen);
            }
            return;
    }
}

void InputRouter::pointerDown(const InputEvent& event) {
    // A press on the topmost screen gives it the focus; a press beside it, the game.
    pressedOn_ = overlays_.at(event.x, event.y);
    overlays_.focusOn(pressedOn_);
    pressed_ = overlays_.screenOf(pressedOn_).controlAt(event.x, event.y);
    if (!pressed_) return;
    const Control& control = pressed_->control;
    if ((pressedOn_ == Overlay::Settings || pressedOn_ == Overlay::Recall) && onFormControlPressed)
        onFormControlPressed(control);
    switch (control.kind) {
        case ControlKind::Button:
            return pressButton(control.button, pressed_->onFace);
        case ControlKind::Lever:
            return game_.pressLever(pressed_->onFace);
        case ControlKind::Hold:
            return game_.pressHold(control.index);
        case ControlKind::OptionSwitch:
            // A switch clicks only for the main button.
            if (event.button != MouseButton::Left) pressed_.reset();
            return;
        case ControlKind::FormItem:
            return;
    }
}

void InputRouter::pointerUp(const InputEvent& event) {
    const std::optional<ControlHit> pressed = std::exchange(pressed_, std::nullopt);
    if (!pressed) return;
    const Control& control = pressed->control;
    switch (control.kind) {
        case ControlKind::Button:
            return releaseButton(control.button);
        case ControlKind::Lever:
            return game_.releaseLever();
        case ControlKind::Hold:
            return game_.releaseHold(control.index);
        case ControlKind::OptionSwitch: {
            // The switch flips when the main button is let go over the switch it went down on.
            if (event.button != MouseButton::Left) return;
            const std::optional<ControlHit> over =
                overlays_.screenOf(pressedOn_).controlAt(event.x, event.y);
            if (over && over->control == control) game_.flipOption(control.index);
            return;
        }
        case ControlKind::FormItem: {
            // An item acts when a button is let go over the item it went down on.
            const std::optional<ControlHit> over =
                overlays_.screenOf(pressedOn_).controlAt(event.x, event.y);
            FormScreen* screen = overlays_.formOf(pressedOn_);
            if (screen != nullptr && over && over->control == control) {
                screen->click(control.index, event.button == MouseButton::Right);
                if (screen->visible()) overlays_.formMoved(*screen);
            }
            return;
        }
    }
}

void InputRouter::pressButton(Button button, bool onFace) {
    if (!game_.pressButton(button, onFace)) return;
    screenOf(button).sinkButton(button);
    view_.delay(2);
}

void InputRouter::releaseButton(Button button) {
    screenOf(button).liftButton(button);
    // The release waits whether or not the picture was still down to lift.
    view_.delay(2);
    game_.releaseButton(button);
}

void InputRouter::holdDown(Button button, int holdMs) {
    screenOf(button).sinkButton(button);
    view_.delay(holdMs);
    releaseButton(button);
}

}  // namespace fruvana
