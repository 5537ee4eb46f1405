#pragma once
// The game window as the engine sees it: meters, lamps, message line, lever, sounds, the spin
// strips and the frame tick, the autoplay timer and the intro, all on the platform interface,
// so the real program and the headless tests run the same code. The view knows no files: the
// credit file is saved through CreditStore, which the shell fills in.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game.h"
#include "engine/machine_state.h"
#include "engine/services.h"
#include "platform/event_loop.h"
#include "platform/frame_timer.h"
#include "presentation/components/anti_alias_label.h"
#include "presentation/components/wave_player.h"
#include "presentation/game_screen.h"
#include "presentation/meters.h"
#include "presentation/reel_animation.h"

namespace fruvana {

class CreditStore {
  public:
    virtual ~CreditStore() = default;
    virtual void saveCredit() = 0;
};

// The look of both text lines: Arial bold, 13 pixels, orange, centred.
inline constexpr Rgb kMessageColour{201, 78, 22};
inline constexpr std::string_view kPlayText = "Play Fruvana !";

// One frame a tick drew, for tests of the spin's course.
struct FrameDraw {
    int tick = 0;
    int reel = 0;  // 1 to 3
    int frame = 0;
    friend bool operator==(const FrameDraw&, const FrameDraw&) = default;
};

class GameView final : public EngineServices {
  public:
    // Finds every picture and sound it needs, makes the two text lines and the timers. The
    // frame timer is the threaded one in the game and the loop's own in tests. Null, with the
    // reason in error, when a picture, a sound or the font is missing.
    static std::unique_ptr<GameView> create(GameScreen& screen, EventLoop& loop,
                                            MachineState& state, CreditStore& store,
                                            std::unique_ptr<FrameTimer> frameTimer,
                                            std::string& error);
    ~GameView() override;
    GameView(const GameView&) = delete;
    GameView& operator=(const GameView&) = delete;

    // The game whose evaluateStop ends each spin and whose Timer1Timer autoplay calls. Must be
    // set before the first deal.
    void attach(Game& game) { game_ = &game; }

    // --- engine services ---
    void nr(std::int32_t value, Meter meter, int digits) override;
    void setMessage(std::string_view text) override;
    void pumpPending() override { loop_.pumpPending(); }
    void delay(int ms) override;
    void playSound(std::string_view name) override;
    void showLamp(int reel, LampLook look) override;
    bool leverAtRest() override;
    void moveLeverDown() override;
    void moveLeverToRest() override;
    void preg() override;
    void startReelAnimation() override;
    void saveCredit() override { store_.saveCredit(); }
    void setTimer1Enabled(bool enabled) override { timer1_.Enabled(enabled); }
    bool timer1Enabled() override { return timer1_.Enabled(); }

    // The frame tick of the turning reels, run by the frame timer every 30 ms.
    void ThreadedTimer1Timer();
    // Draws the still picture of reel 1, 2 or 3 for its symbol.
    void drawReel(int reel);
    // The bet meter and the four prizes of the pay panel for the current bet.
    void drawBetAndPrizes();
    // The end of the intro: the cabinet, the reels, all seven meters and "Play Fruvana !".
    void revealCabinet();
    // The text of the intro line `aal2`.
    void setIntroMessage(std::string_view text);

    // --- for the shell and tests ---
    UiTimer& Timer1() { return timer1_; }
    FrameTimer& ThreadedTimer1() { return *frameTimer_; }
    const std::string& message() const { return aal_->Caption(); }
    const std::string& introMessage() const { return aal2_->Caption(); }
    const ReelCounters& reelCounters() const { return counters_; }
    // The frames drawn since the last spin started, in order.
    const std::vector<FrameDraw>& framesDrawn() const { return framesDrawn_; }
    const std::array<Picture, 3>& spinStrips() const { return screen_.spinStrips(); }
    GameScreen& screen() { return screen_; }

  private:
    GameView(GameScreen& screen, EventLoop& loop, MachineState& state, CreditStore& store,
             std::unique_ptr<FrameTimer> frameTimer, ReelShading shading, MeterPainter meters);
    bool findParts(std::string& error);

    GameScreen& screen_;
    EventLoop& loop_;
    MachineState& state_;
    CreditStore& store_;
    Game* game_ = nullptr;

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
    AntiAliasLabel* aal_ = nullptr;
    AntiAliasLabel* aal2_ = nullptr;
    Picture lampr_;
    Picture lampv_;

    std::map<std::string, std::unique_ptr<WavePlayer>, std::less<>> sounds_;
    UiTimer timer1_;
    std::unique_ptr<FrameTimer> frameTimer_;
};

}  // namespace fruvana
