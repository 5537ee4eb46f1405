#pragma once
// The settings screen: a second form drawn over the cabinet inside the game window, with the
// five option switches, the account, the statistics table, an OK button and a reset button.
// It is made once at start-up and then shown and hidden; the program decides which form has
// the focus.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "engine/machine_state.h"
#include "grid/align_grid.h"
#include "platform/input_event.h"
#include "presentation/components/anti_alias_label.h"
#include "presentation/game_screen.h"
#include "presentation/game_view.h"

namespace fruvana {

// What the settings screen asks of the program around it.
class SettingsHost {
  public:
    virtual ~SettingsHost() = default;
    // Rewrites the options file.
    virtual void saveset() = 0;
    // The screen was hidden by its OK button: the game takes the focus back.
    virtual void settingsClosed() = 0;
};

inline constexpr Rgb kAccountColour{255, 128, 0};

class SettingsScreen {
  public:
    // Adds the screen's pictures, label and table on top of the game window's layers,
    // hidden, and styles the table. Null with the reason in error.
    static std::unique_ptr<SettingsScreen> create(GameScreen& screen, GameView& view,
                                                  MachineState& state, SettingsHost& host,
                                                  std::string& error);
    ~SettingsScreen();
    SettingsScreen(const SettingsScreen&) = delete;
    SettingsScreen& operator=(const SettingsScreen&) = delete;

    // Shows the screen over the cabinet with the current values.
    void show();
    bool visible() const;
    // The screen's rectangle in window pixels: exactly the cabinet's.
    Rect area() const;

    // Mouse events in window pixels; a release goes here when the press did.
    void mouseDown(const InputEvent& event);
    void mouseUp(const InputEvent& event);

    void FormShow();
    // A click on switch 0 to 4 (Auto bet, Second deal, Smart hold, Sound FX, Voice FX).
    void switchClick(int index);
    void Image2MouseDown(int x, int y);
    void Image2MouseUp();
    void Image3MouseDown(int x, int y);
    void Image3MouseUp();

    const AlignGrid& sag() const { return *sag_; }
    const AntiAliasLabel& ac() const { return *ac_; }
    // Whether switch 0 to 4 shows the lit picture.
    bool switchLit(int index) const;

  private:
    SettingsScreen(GameScreen& screen, GameView& view, MachineState& state, SettingsHost& host);
    bool build(std::string& error);
    void setUpTable();
    void showSwitch(int index);
    void showCounts();
    void showAccount();
    // The layer of the screen's own picture under a window point, or null.
    const Layer* partAt(int x, int y) const;
    std::uint8_t& option(int index);
    void setPartsVisible(bool visible);
    // A round button of the screen whose face, of radius `centre`, touches its picture's top
    // and left edges: a press on the face sets `pressed`, sounds and sinks the button by
    // `travel`; a release lifts it back.
    void pressButton(PictureLayer& button, int restTop, int travel, int centre,
                     std::string_view sound, std::uint8_t& pressed, int x, int y);
    void releaseButton(PictureLayer& button, int restTop, int travel);

    GameScreen& screen_;
    GameView& view_;
    MachineState& state_;
    SettingsHost& host_;
    CabinetOrigin origin_;

    AlignGrid* sag_ = nullptr;  // owned by its layer in the game window
    PictureLayer* background_ = nullptr;
    std::array<PictureLayer*, 5> switches_{};
    PictureLayer* ok_ = nullptr;
    PictureLayer* reset_ = nullptr;
    AntiAliasLabel* ac_ = nullptr;
    Layer* table_ = nullptr;
    Picture bon_;
    Picture boff_;

    std::uint8_t okPressed_ = 0;
    std::uint8_t resetPressed_ = 0;
    const Layer* pressedPart_ = nullptr;
    // The switch that took the last main-button press, or -1.
    int switchPressed_ = -1;
};

}  // namespace fruvana
