#include "shell/controls.h"

#include <stdexcept>

#include "engine/round_face.h"
#include "presentation/cabinet_layout.h"

namespace fruvana {

namespace {

namespace L = layout;

constexpr std::array<ButtonSpec, kButtonCount> kButtons{{
    {Button::Help, "Image9", L::kBigFaceCentre, L::kBigFaceRadius, "clic", PressLook::Down4, true},
    {Button::Exit, "Image10", L::kBigFaceCentre, L::kBigFaceRadius, "clic", PressLook::Down4,
     false},
    {Button::BetDown, "Image11", L::kSmallFaceCentre, L::kSmallFaceRadius, "clic2",
     PressLook::Left2, true},
    {Button::BetUp, "Image12", L::kSmallFaceCentre, L::kSmallFaceRadius, "clic2", PressLook::Right2,
     true},
    {Button::Coin, "coin", L::kBigFaceCentre, L::kBigFaceRadius, "coins", PressLook::Down4, true},
    {Button::Collect, "anulare", L::kSmallFaceCentre, L::kSmallFaceRadius, "clic2",
     PressLook::Down2, true},
    {Button::Settings, "tune", L::kSmallFaceCentre, L::kSmallFaceRadius, "clic2", PressLook::Down2,
     true},
    {Button::Autoplay, "autoplay", L::kSmallFaceCentre, L::kSmallFaceRadius, "clic2",
     PressLook::Down2, false},
}};

struct Shift {
    int dx;
    int dy;
};

Shift shiftOf(PressLook look) {
    switch (look) {
        case PressLook::Down4:
            return {0, 4};
        case PressLook::Down2:
            return {0, 2};
        case PressLook::Left2:
            return {-2, 0};
        case PressLook::Right2:
            return {2, 0};
    }
    return {0, 0};
}

// The key map: the button a character presses, with either case of a letter.
struct KeyBinding {
    char32_t character;
    Button button;
};
constexpr std::array<KeyBinding, 9> kKeyMap{{
    {U'h', Button::Help},
    {U',', Button::BetDown},
    {U'.', Button::BetUp},
    {U'a', Button::Autoplay},
    {U's', Button::Settings},
    {U't', Button::Settings},
    {U'o', Button::Collect},
    {U'0', Button::Collect},
    {U'c', Button::Coin},
}};

constexpr char32_t lower(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

}  // namespace

const ButtonSpec& buttonSpec(Button button) {
    return kButtons[static_cast<std::size_t>(button)];
}

Controls::Controls(MachineState& state, Game& game, GameView& view, ProgramActions& actions)
    : state_(state), game_(game), view_(view), actions_(actions) {
    for (const ButtonSpec& spec : kButtons) {
        const std::size_t i = index(spec.button);
        pictures_[i] = view_.screen().layer(spec.picture);
        rest_[i] = view_.screen().restPlace(spec.picture);
        if (pictures_[i] == nullptr)
            throw std::logic_error("no picture for the button " + std::string(spec.picture));
    }
}

void Controls::mouseDown(std::string_view picture, int x, int y) {
    for (const ButtonSpec& spec : kButtons) {
        if (spec.picture == picture) return press(spec.button, x, y);
    }
    if (picture == "Image8") return game_.Image8MouseDown(x, y);
    if (picture == "Image5" || picture == "lamp1") return game_.Image5MouseDown();
    if (picture == "Image6" || picture == "lamp2") return game_.Image6MouseDown();
    if (picture == "Image7" || picture == "lamp3") return game_.Image7MouseDown();
}

void Controls::mouseUp(std::string_view picture) {
    for (const ButtonSpec& spec : kButtons) {
        if (spec.picture == picture) return release(spec.button);
    }
    if (picture == "Image8") return game_.Image8MouseUp();
    if (picture == "Image5" || picture == "lamp1") return game_.Image5MouseUp();
    if (picture == "Image6" || picture == "lamp2") return game_.Image6MouseUp();
    if (picture == "Image7" || picture == "lamp3") return game_.Image7MouseUp();
}

void Controls::showPressed(Button button) {
    const std::size_t i = index(button);
    PictureLayer& picture = *pictures_[i];
    if (picture.x() != rest_[i].x || picture.y() != rest_[i].y) return;
    const Shift s = shiftOf(buttonSpec(button).look);
    picture.moveTo(rest_[i].x + s.dx, rest_[i].y + s.dy);
}

void Controls::press(Button button, int x, int y) {
    const ButtonSpec& spec = buttonSpec(button);
    std::uint8_t& flag = pressFlags_[index(button)];
    flag = 0;
    if (state_.inputEnabled == 0 || (spec.refusedInAutoplay && autoplayOn())) return;
    if (!insideCircle(x, y, spec.centre, spec.radius)) return;
    flag = 1;
    if (state_.options.soundFx) {
        view_.playSound(spec.sound);
        if (button == Button::Exit) view_.delay(10);
    }
    showPressed(button);
    view_.delay(2);
}

void Controls::release(Button button) {
    const std::size_t i = index(button);
    PictureLayer& picture = *pictures_[i];
    const Shift s = shiftOf(buttonSpec(button).look);
    if (picture.x() == rest_[i].x + s.dx && picture.y() == rest_[i].y + s.dy) {
        picture.moveTo(rest_[i].x, rest_[i].y);
        view_.delay(2);
    }
    if (state_.inputEnabled == 0 || pressFlags_[i] == 0) return;
    runAction(button);
}

void Controls::runAction(Button button) {
    if (button == Button::Exit) return actions_.quitGame(true);
    state_.inputEnabled = 0;
    switch (button) {
        case Button::Help:
            actions_.openHelp();
            break;
        case Button::BetDown:
            changeBet(-1);
            break;
        case Button::BetUp:
            changeBet(+1);
            break;
        case Button::Coin:
            insertCoin();
            break;
        case Button::Collect:
            collect();
            break;
        case Button::Settings:
            actions_.openSettings();
            break;
        case Button::Autoplay:
            toggleAutoplay();
            break;
        case Button::Exit:
            break;
    }
    state_.inputEnabled = 1;
}

void Controls::changeBet(int step) {
    if (state_.phase == 2) return;
    const std::int32_t bet = state_.bet + step;
    if (bet < 1 || bet > 10) return;
    state_.bet = bet;
    view_.drawBetAndPrizes();
    view_.saveCredit();
}

void Controls::insertCoin() {
    if (state_.credit >= kCoinCreditLimit) return;
    // Deliberate: the account stays inside what the credit file can hold; a coin that would
    // take it past the limit is refused, since the next start would turn it into 0.
    if (std::int64_t{state_.account} - kCoinValue < -std::int64_t{kAccountLimit}) return;
    state_.credit += kCoinValue;
    state_.account -= kCoinValue;
    view_.nr(state_.credit, Meter::Credit, 7);
    view_.saveCredit();
}

void Controls::collect() {
    const std::int64_t account = std::int64_t{state_.account} + state_.credit + state_.win;
    // Deliberate: as for a coin, the account never passes what the credit file can hold.
    if (account > kAccountLimit) return;
    state_.account = static_cast<std::int32_t>(account);
    state_.credit = 0;
    state_.win = 0;
    view_.nr(state_.credit, Meter::Credit, 7);
    view_.nr(state_.win, Meter::Win, 7);
    view_.saveCredit();
}

void Controls::toggleAutoplay() {
    if (autoplayOn()) {
        view_.setTimer1Enabled(false);
        view_.delay(1000);
        view_.setMessage(kAutoplayButtonOffText);
        view_.delay(500);
    } else {
        view_.setMessage(kAutoplayButtonOnText);
        view_.delay(500);
        view_.setTimer1Enabled(true);
    }
}

void Controls::keyPress(Button button, int waitMs) {
    std::uint8_t& flag = pressFlags_[index(button)];
    flag = 1;
    showPressed(button);
    view_.delay(waitMs);
    release(button);
}

void Controls::FormKeyPress(char32_t character) {
    // Deliberate: keys may act inside another key's wait, as every handler may, but no deeper
    // than this, so a flood of keys cannot grow the stack without end.
    if (keyDepth_ >= kMaxKeyNesting) return;
    ++keyDepth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{keyDepth_};
    const char32_t c = lower(character);
    if (c == U'x') {
        if (state_.inputEnabled != 0) actions_.quitGame(false);
        return;
    }
    if (c == U'\r' || c == U' ') {
        state_.leverPressed = 0;
        if (state_.inputEnabled == 0 || autoplayOn()) return;
        state_.leverPressed = 1;
        if (view_.leverAtRest()) view_.moveLeverDown();
        view_.delay(200);
        game_.Image8MouseUp();
        return;
    }
    if (c >= U'1' && c <= U'3') {
        if (state_.inputEnabled == 0 || autoplayOn()) return;
        const int reel = static_cast<int>(c - U'0');
        state_.holdPressed[static_cast<std::size_t>(reel - 1)] = 1;
        game_.holdMouseUp(reel);
        return;
    }
    for (const KeyBinding& key : kKeyMap) {
        if (key.character != c) continue;
        pressFlags_[index(key.button)] = 0;
        if (state_.inputEnabled == 0) return;
        if (buttonSpec(key.button).refusedInAutoplay && autoplayOn()) return;
        return keyPress(key.button, 200);
    }
}

void Controls::FormMouseWheel(int delta) {
    const Button button = delta < 0 ? Button::BetDown : Button::BetUp;
    if (state_.inputEnabled == 0 || autoplayOn()) return;
    keyPress(button, 2);
}

}  // namespace fruvana
