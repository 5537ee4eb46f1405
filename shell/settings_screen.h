#pragma once
// The settings screen: a second form drawn over the cabinet inside the game window, with the
// five option switches, the account, the statistics table, an OK button, a reset button and
// the buttons that open the game recall and the preferences.
// It is made once at start-up and then shown and hidden. It only shows: what a click does is
// the engine's to decide, and which form has the focus is the input router's.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "engine/controls.h"
#include "engine/machine_state.h"
#include "grid/align_grid.h"
#include "platform/event_loop.h"
#include "presentation/components/text_line.h"
#include "presentation/control_screen.h"
#include "presentation/game_screen.h"
#include "shell/overlay_stack.h"

namespace fruvana {

inline constexpr Rgb kAccountColour{255, 128, 0};

class SettingsScreen final : public OverlayScreen {
  public:
    // Adds the screen's pictures, account line and table on top of the game window's layers,
    // hidden, and styles the table. Null with the reason in error.
    static std::unique_ptr<SettingsScreen> create(GameScreen& screen, EventLoop& loop,
                                                  const MachineState& state, std::string& error);
    ~SettingsScreen() override;
    SettingsScreen(const SettingsScreen&) = delete;
    SettingsScreen& operator=(const SettingsScreen&) = delete;

    // Shows the screen over the cabinet with the current values, or hides it.
    void show();
    void hide() override;
    bool visible() const override;
    // The screen's rectangle in window pixels: exactly the cabinet's.
    Rect area() const override;
    std::string spokenOnOpening() const override;
    // Its OK, reset, recall and preferences buttons, and the five option switches.
    std::optional<ControlHit> controlAt(int x, int y) const override;
    void sinkButton(Button button) override;
    void liftButton(Button button) override;

    // Shows the switch of that row (0 to 4) as its option now stands.
    void showSwitch(int row);
    void showAccountAndStatistics();

    const AlignGrid& statisticsTable() const { return *table_; }
    const TextLine& accountLine() const { return *accountLine_; }
    // Whether the switch of that row (0 to 4) shows the lit picture.
    bool switchLit(int row) const;

  private:
    SettingsScreen(GameScreen& screen, EventLoop& loop, const MachineState& state);
    bool build(std::string& error);
    void setPartsVisible(bool visible);
    // A button's picture, the top of its rest place in window pixels, how far a press sinks
    // it, and the centre (and radius) of its round face.
    struct ButtonPlace {
        PictureLayer* picture = nullptr;
        int top = 0;
        int travel = 0;
        int face = 0;
    };
    ButtonPlace buttonPlace(Button button) const;

    GameScreen& screen_;
    EventLoop& loop_;
    const MachineState& state_;
    CabinetOrigin origin_;

    AlignGrid* table_ = nullptr;  // owned by its layer in the game window
    Layer* tableLayer_ = nullptr;
    PictureLayer* panel_ = nullptr;
    std::array<PictureLayer*, 5> switches_{};
    PictureLayer* ok_ = nullptr;
    PictureLayer* reset_ = nullptr;
    PictureLayer* recall_ = nullptr;
    PictureLayer* preferences_ = nullptr;
    TextLine* accountLine_ = nullptr;
    Picture switchOn_;
    Picture switchOff_;
};

}  // namespace fruvana
