#pragma once
// The cabinet as the engine sees it: meters, lamps, message line, lever, sounds, the spin
// strips and the turning reels, the push buttons' press and the intro, all on the platform
// interface, so the real program and the headless tests run the same code. The view only
// shows: it decides nothing, holds no game, and knows no files.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/controls.h"
#include "engine/machine_state.h"
#include "engine/services.h"
#include "platform/event_loop.h"
#include "platform/frame_timer.h"
#include "presentation/components/text_line.h"
#include "presentation/components/wave_player.h"
#include "presentation/control_screen.h"
#include "presentation/game_screen.h"
#include "presentation/meters.h"
#include "presentation/reel_animation.h"

namespace fruvana {

// The look of both text lines: Arial bold, 13 pixels, orange, centred.
inline constexpr Rgb kMessageColour{201, 78, 22};
inline constexpr std::string_view kPlayText = "Play Fruvana !";
// Milliseconds between two frames of the turning reels.
inline constexpr std::uint32_t kSpinFrameIntervalMs = 30;

// One frame a tick drew, for tests of the spin's course.
struct FrameDraw {
    int tick = 0;
    int reel = 0;  // 1 to 3
    int frame = 0;
    friend bool operator==(const FrameDraw&, const FrameDraw&) = default;
};

class GameView final : public EngineServices, public ControlScreen {
  public:
    // Finds every picture and sound it needs and makes the two text lines. spinFrames is the
    // clock of the turning reels (threaded in the game, the loop's own in tests); it must
    // outlive the view. Null, with the reason in error, when a picture, a sound or the font
    // is missing.
    static std::unique_ptr<GameView> create(GameScreen& screen, EventLoop& loop,
                                            const MachineState& state, FrameTimer& spinFrames,
                                            std::string& error);
    ~GameView() override;
    GameView(const GameView&) = delete;
    GameView& operator=(const GameView&) = delete;

    // --- engine services ---
    void drawMeter(std::int32_t value, Meter meter, int digits) override;
    void drawBetAndPrizes() override;
    void setMessage(const GameText& text) override;
    void pumpPending() override { loop_.pumpPending(); }
    void delay(int ms) override;
    void playSound(std::string_view name) override;
    void showLamp(int reel, LampLook look) override;
    bool leverAtRest() override;
    void moveLeverDown() override;
    void moveLeverToRest() override;
    void prepareSpinStrips() override;
    void startSpin() override;
    void showStillReels() override;

    // --- for the program ---
    // One frame tick of the turning reels; true on the tick that stops the last reel (the
    // frame clock is stopped then).
    bool paintSpinFrame();
    // --- the cabinet's controls: its push buttons, the lever and the holds ---
    std::optional<ControlHit> controlAt(int x, int y) const override;
    void sinkButton(Button button) override;
    void liftButton(Button button) override;
    // The end of the intro: the cabinet, the reels, all seven meters and "Play Fruvana !".
    void revealCabinet();
    // The look of start-up again: the intro picture alone over the background, the meters and
    // the lamps empty, both text lines blank, the lever and the push buttons at rest and the
    // reels' counters stopped.
    void returnToIntro();
    // The text of the intro line.
    void setIntroMessage(std::string_view text);
    // How loud the effects and the voices play, 0 to 100 per cent each.
    void setVolumes(int effects, int voices);
    // The hold lamps lit with a shape as well as a colour (square dots for red, rings for
    // green), so that they read without telling the colours apart; lamps already lit change.
    void setLampShapes(bool shapes);

    // --- for tests ---
    const std::string& message() const { return messageLine_->caption(); }
    // Hears each text the message line shows, in the player's language.
    std::function<void(const std::string&)> onMessage;
    const std::string& introMessage() const { return introLine_->caption(); }
    const ReelCounters& reelCounters() const { return counters_; }
    // The frames drawn since the last spin started, in order.
    const std::vector<FrameDraw>& framesDrawn() const { return framesDrawn_; }
    const std::array<Picture, 3>& spinStrips() const { return screen_.spinStrips(); }
    GameScreen& screen() { return screen_; }

  private:
    GameView(GameScreen& screen, EventLoop& loop, const MachineState& state, FrameTimer& spinFrames,
             ReelShading shading, MeterPainter meters);
    bool findParts(std::string& error);
    void drawStillReel(std::size_t n);

    GameScreen& screen_;
    EventLoop& loop_;
    const MachineState& state_;
    FrameTimer& spinFrames_;

    ReelShading shading_;
    MeterPainter meters_;
    ReelCounters counters_;
    int tick_ = 0;
    std::vector<FrameDraw> framesDrawn_;

    // Found by create(), never null afterwards.
    PictureLayer* lever_ = nullptr;
    Rect leverRest_;
    std::array<PictureLayer*, 3> reels_{};
    std::array<PictureLayer*, 3> lamps_{};
    std::array<PictureLayer*, 7> meterLayers_{};
    std::array<PictureLayer*, kCabinetButtonCount> buttons_{};
    std::array<Rect, kCabinetButtonCount> buttonRest_{};
    TextLine* messageLine_ = nullptr;
    TextLine* introLine_ = nullptr;
    // Red and green, by colour alone and with their shapes.
    std::array<std::array<Picture, 2>, 2> litLamps_;
    std::array<LampLook, 3> lampLooks_{LampLook::Blank, LampLook::Blank, LampLook::Blank};
    bool lampShapes_ = false;

    std::map<std::string, std::unique_ptr<WavePlayer>, std::less<>> sounds_;
};

}  // namespace fruvana
