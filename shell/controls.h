#pragma once
// The player's controls on the cabinet: the eight push buttons, the lever and the hold areas
// by mouse, the key map and the wheel. Keys and the wheel set the same press flags and call
// the same release handlers as the mouse, so `inputEnabled`, autoplay and the flags decide
// alike for every way in.

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/game.h"
#include "engine/machine_state.h"
#include "presentation/game_view.h"

namespace fruvana {

// What the controls ask of the program around them.
class ProgramActions {
  public:
    virtual ~ProgramActions() = default;
    virtual void quitGame(bool farewell) = 0;
    virtual void openSettings() = 0;
    virtual void openHelp() = 0;
};

enum class Button : std::uint8_t { Help, Exit, BetDown, BetUp, Coin, Collect, Settings, Autoplay };
inline constexpr std::size_t kButtonCount = 8;

// How a pressed button moves.
enum class PressLook : std::uint8_t { Down4, Down2, Left2, Right2 };

struct ButtonSpec {
    Button button;
    std::string_view picture;  // the layer that shows it
    int centre;                // hit circle in the picture's own pixels
    int radius;
    std::string_view sound;  // played on a press with Sound FX
    PressLook look;
    bool refusedInAutoplay;
};

const ButtonSpec& buttonSpec(Button button);

inline constexpr std::string_view kAutoplayButtonOnText = "Auto play ON";
inline constexpr std::string_view kAutoplayButtonOffText = "Auto play OFF";

class Controls {
  public:
    // Every button's picture must exist on the view's screen (the layout guarantees it).
    Controls(MachineState& state, Game& game, GameView& view, ProgramActions& actions);

    // A press or release on the picture of that name (point in its own pixels). A release
    // goes to the picture that took the press.
    void mouseDown(std::string_view picture, int x, int y);
    void mouseUp(std::string_view picture);
    // One typed character; Enter arrives as '\r'.
    void FormKeyPress(char32_t character);
    // One wheel event, whatever its size: below 0 toward the player.
    void FormMouseWheel(int delta);

    void press(Button button, int x, int y);
    void release(Button button);

    // The release handlers by their names.
    void Image9MouseUp() { release(Button::Help); }
    void Image10MouseUp() { release(Button::Exit); }
    void Image11MouseUp() { release(Button::BetDown); }
    void Image12MouseUp() { release(Button::BetUp); }
    void coinMouseUp() { release(Button::Coin); }
    void anulareMouseUp() { release(Button::Collect); }
    void tuneMouseUp() { release(Button::Settings); }
    void autoplayMouseUp() { release(Button::Autoplay); }

    bool pressed(Button button) const { return pressFlags_[index(button)] != 0; }

  private:
    static std::size_t index(Button b) { return static_cast<std::size_t>(b); }
    bool autoplayOn() { return view_.timer1Enabled(); }
    // Moves the button by its press look when it is at rest.
    void showPressed(Button button);
    // A key or the wheel: the flag, the press look and a wait, then the release handler.
    void keyPress(Button button, int waitMs);
    void runAction(Button button);
    void changeBet(int step);
    void insertCoin();
    void collect();
    void toggleAutoplay();

    MachineState& state_;
    Game& game_;
    GameView& view_;
    ProgramActions& actions_;
    std::array<std::uint8_t, kButtonCount> pressFlags_{};
    // How many keys are being handled, one inside another's wait.
    static constexpr int kMaxKeyNesting = 8;
    int keyDepth_ = 0;
    // The buttons' pictures and rest places, found once.
    std::array<PictureLayer*, kButtonCount> pictures_{};
    std::array<Rect, kButtonCount> rest_{};
};

}  // namespace fruvana
