#include "shell/input_router.h"

#include <array>
#include <utility>

#include "engine/round_face.h"
#include "presentation/cabinet_layout.h"
#include "presentation/picture_names.h"

namespace fruvana {

namespace {

constexpr char32_t kEscape = 27;

constexpr std::array<InputBinding, 13> kInputMap{{
    {Command::Pull, U'\r', U' ', PadButton::A},
    {Command::HoldReel1, U'1', 0, PadButton::DpadLeft},
    {Command::HoldReel2, U'2', 0, PadButton::DpadUp},
    {Command::HoldReel3, U'3', 0, PadButton::DpadRight},
    {Command::BetDown, U',', 0, PadButton::LeftShoulder},
    {Command::BetUp, U'.', 0, PadButton::RightShoulder},
    {Command::Coin, U'c', 0, PadButton::X},
    {Command::Collect, U'o', U'0', PadButton::B},
    {Command::Autoplay, U'a', 0, PadButton::Y},
    // While the settings screen is shown, Back is its OK button instead.
    {Command::Settings, U's', U't', PadButton::Back},
    {Command::Help, U'h', 0, PadButton::Start},
    // While the recall is shown, R, Escape and Guide close it.
    {Command::Recall, U'r', 0, PadButton::Guide},
    // No controller button ends the game.
    {Command::Quit, U'x', 0, std::nullopt},
}};

constexpr char32_t lower(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

// The lever's knob is the round face of a big button.
bool onLeverKnob(int x, int y) {
    return insideCircle(x, y, layout::kBigFaceCentre, layout::kBigFaceRadius);
}

// Reel 1, 2 or 3 for a reel's picture or its lamp, else 0.
int holdReelOf(std::string_view picture) {
    for (std::size_t n = 0; n < 3; ++n) {
        if (picture == layers::kReels[n] || picture == layers::kLamps[n])
            return static_cast<int>(n) + 1;
    }
    return 0;
}

bool onSettingsScreen(Button button) {
    return button == Button::SettingsOk || button == Button::SettingsReset ||
           button == Button::SettingsRecall;
}

}  // namespace

std::span<const InputBinding> inputMap() {
    return kInputMap;
}

InputRouter::InputRouter(Game& game, GameView& view, SettingsScreen& settings, RecallScreen& recall,
                         EventLoop& loop)
    : game_(game), view_(view), settings_(settings), recall_(recall), loop_(loop) {}

void InputRouter::route(const InputEvent& event) {
    if (loop_.quitRequested()) return;
    switch (event.kind) {
        case InputKind::CloseRequest:
            return game_.requestQuit();
        case InputKind::Gamepad:
            return padButton(event.pad);
        case InputKind::MouseDown: {
            // A press on the topmost screen gives it the focus; a press beside it, the game.
            const bool onRecall = recall_.visible() && recall_.area().contains(event.x, event.y);
            const bool onSettings =
                !onRecall && settings_.visible() && settings_.area().contains(event.x, event.y);
            focus_ = pressedForm_ = onRecall     ? Form::Recall
                                    : onSettings ? Form::Settings
                                                 : Form::Game;
            if (onRecall) {
                recallOkPressed_ = recall_.onOk(event.x, event.y);
                if (recallOkPressed_)
                    pressButton(Button::RecallOk, recall_.onOkFace(event.x, event.y));
                return;
            }
            if (onSettings) return settingsPointerDown(event);
            return gamePointerDown(event.x, event.y);
        }
        case InputKind::MouseUp:
            if (pressedForm_ == Form::Recall) {
                if (std::exchange(recallOkPressed_, false)) releaseButton(Button::RecallOk);
                return;
            }
            if (pressedForm_ == Form::Settings) return settingsPointerUp(event);
            return gamePointerUp();
        default:
            break;
    }
    // Keys and the wheel reach only the form with the focus; the settings screen takes none,
    // the recall only the keys that close it.
    if (focus_ == Form::Recall && event.kind == InputKind::Character)
        return recallKey(event.character);
    if (focus_ != Form::Game) return;
    if (event.kind == InputKind::Character) key(event.character);
    if (event.kind == InputKind::Enter) key(U'\r');
    if (event.kind == InputKind::Wheel) {
        const Button bet = event.wheel < 0 ? Button::BetDown : Button::BetUp;
        if (game_.pressButtonByWheel(bet)) holdDown(bet, kWheelHoldMs);
    }
}

void InputRouter::recallKey(char32_t character) {
    const char32_t c = lower(character);
    if (c == U'r' || c == kEscape) game_.closeRecall();
}

void InputRouter::key(char32_t character) {
    const char32_t c = lower(character);
    for (const InputBinding& binding : kInputMap) {
        if (binding.key == c || (binding.otherKey != 0 && binding.otherKey == c))
            return command(binding.command);
    }
}

void InputRouter::command(Command command) {
    // Deliberate: keys may act inside another key's wait, as every handler may, but no deeper
    // than this, so a flood of keys cannot grow the stack without end.
    if (keyDepth_ >= kMaxKeyNesting) return;
    ++keyDepth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{keyDepth_};
    switch (command) {
        case Command::Pull:
            return game_.pullByKey();
        case Command::HoldReel1:
            return game_.toggleHoldByKey(1);
        case Command::HoldReel2:
            return game_.toggleHoldByKey(2);
        case Command::HoldReel3:
            return game_.toggleHoldByKey(3);
        case Command::BetDown:
            return pressButtonFor(Button::BetDown, kKeyHoldMs);
        case Command::BetUp:
            return pressButtonFor(Button::BetUp, kKeyHoldMs);
        case Command::Coin:
            return pressButtonFor(Button::Coin, kKeyHoldMs);
        case Command::Collect:
            return pressButtonFor(Button::Collect, kKeyHoldMs);
        case Command::Autoplay:
            return pressButtonFor(Button::Autoplay, kKeyHoldMs);
        case Command::Settings:
            return pressButtonFor(Button::Settings, kKeyHoldMs);
        case Command::Help:
            return pressButtonFor(Button::Help, kKeyHoldMs);
        case Command::Recall:
            game_.openRecall();
            return;
        case Command::Quit:
            return game_.requestQuit();
    }
}

void InputRouter::padButton(PadButton button) {
    // Guide and Back close a shown recall, wherever the focus is.
    if ((button == PadButton::Guide || button == PadButton::Back) && recall_.visible()) {
        game_.closeRecall();
        return;
    }
    // Back closes a shown settings screen as a click on its OK button does, wherever the
    // focus is.
    if (button == PadButton::Back && settings_.visible()) {
        pressButton(Button::SettingsOk, true);
        view_.delay(kKeyHoldMs);
        releaseButton(Button::SettingsOk);
        return;
    }
    // The others stand for keys, and keys reach only the game when it has the focus.
    if (focus_ != Form::Game) return;
    for (const InputBinding& binding : kInputMap) {
        if (binding.pad == button) return command(binding.command);
    }
}

void InputRouter::pressButton(Button button, bool onFace) {
    if (!game_.pressButton(button, onFace)) return;
    if (button == Button::RecallOk) {
        recall_.sinkOk();
    } else if (onSettingsScreen(button)) {
        settings_.sinkButton(button);
    } else {
        view_.sinkButton(button);
    }
    view_.delay(2);
}

void InputRouter::releaseButton(Button button) {
    if (button == Button::RecallOk) {
        recall_.liftOk();
    } else if (onSettingsScreen(button)) {
        settings_.liftButton(button);
    } else {
        view_.liftButton(button);
    }
    // The release waits whether or not the picture was still down to lift.
    view_.delay(2);
    game_.releaseButton(button);
}

void InputRouter::pressButtonFor(Button button, int holdMs) {
    if (game_.pressButtonByKey(button)) holdDown(button, holdMs);
}

void InputRouter::holdDown(Button button, int holdMs) {
    view_.sinkButton(button);
    view_.delay(holdMs);
    releaseButton(button);
}

void InputRouter::gamePointerDown(int x, int y) {
    const Layer* layer = view_.screen().scene().layerAt(x, y);
    pressed_ = layer != nullptr ? layer->name() : std::string();
    const Rect at = layer != nullptr ? layer->bounds() : Rect{};
    const int px = x - at.x;
    const int py = y - at.y;
    if (const CabinetButton* b = cabinetButtonOf(pressed_))
        return pressButton(b->button, insideCircle(px, py, b->faceCentre, b->faceRadius));
    if (pressed_ == layers::kLever) return game_.pressLever(onLeverKnob(px, py));
    if (const int reel = holdReelOf(pressed_)) return game_.pressHold(reel);
}

void InputRouter::gamePointerUp() {
    const std::string picture = std::exchange(pressed_, std::string());
    if (const CabinetButton* b = cabinetButtonOf(picture)) return releaseButton(b->button);
    if (picture == layers::kLever) return game_.releaseLever();
    if (const int reel = holdReelOf(picture)) return game_.releaseHold(reel);
}

void InputRouter::settingsPointerDown(const InputEvent& event) {
    const SettingsHit hit = settings_.hitAt(event.x, event.y);
    settingsPressed_ = hit;
    if (hit.part == SettingsHit::Part::Button) return pressButton(hit.button, hit.onFace);
    // A switch clicks only for the main button.
    if (hit.part == SettingsHit::Part::Switch && event.button != MouseButton::Left)
        settingsPressed_ = SettingsHit{};
}

void InputRouter::settingsPointerUp(const InputEvent& event) {
    // A release belongs to the part that took the press; a switch clicks only when the main
    // button is let go over the switch it went down on.
    const SettingsHit pressed = std::exchange(settingsPressed_, SettingsHit{});
    if (pressed.part == SettingsHit::Part::Button) return releaseButton(pressed.button);
    if (pressed.part != SettingsHit::Part::Switch || event.button != MouseButton::Left) return;
    const SettingsHit released = settings_.hitAt(event.x, event.y);
    if (released.part == SettingsHit::Part::Switch && released.switchRow == pressed.switchRow)
        game_.flipOption(pressed.switchRow);
}

}  // namespace fruvana
