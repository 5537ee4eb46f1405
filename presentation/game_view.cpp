#include "presentation/game_view.h"

#include <algorithm>
#include <cstring>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"

namespace fruvana {

namespace {

constexpr std::uint32_t kTimer1Interval = 4000;
constexpr std::uint32_t kFrameInterval = 30;
constexpr int kLeverTravel = 16;

constexpr std::array<std::string_view, 7> kMeterNames{"credit", "win", "bet", "m1",
                                                      "m2",     "m3",  "m4"};
constexpr std::array<std::string_view, 3> kReelNames{"Image5", "Image6", "Image7"};
constexpr std::array<std::string_view, 3> kLampNames{"lamp1", "lamp2", "lamp3"};
constexpr std::array<std::string_view, 3> kLoopingSounds{"ton", "ton2", "ton3"};

std::size_t meterIndex(Meter meter) {
    return static_cast<std::size_t>(meter);
}

FontRequest messageFont() {
    return FontRequest{"Arial", 13, true, false};
}

const Picture* sourcePicture(const GameScreen& screen, std::string_view name) {
    const PictureLayer* layer = screen.layer(name);
    return layer != nullptr && !layer->picture().empty() ? &layer->picture() : nullptr;
}

}  // namespace

GameView::GameView(GameScreen& screen, EventLoop& loop, MachineState& state, CreditStore& store,
                   std::unique_ptr<FrameTimer> frameTimer, ReelShading shading, MeterPainter meters)
    : screen_(screen),
      loop_(loop),
      state_(state),
      store_(store),
      shading_(std::move(shading)),
      meters_(std::move(meters)),
      timer1_(loop, kTimer1Interval),
      frameTimer_(std::move(frameTimer)) {}

GameView::~GameView() {
    // No tick may reach a view that is going away.
    frameTimer_->Enabled(false);
    timer1_.Enabled(false);
}

std::unique_ptr<GameView> GameView::create(GameScreen& screen, EventLoop& loop, MachineState& state,
                                           CreditStore& store,
                                           std::unique_ptr<FrameTimer> frameTimer,
                                           std::string& error) {
    const Picture* strip = sourcePicture(screen, "Image1");
    const Picture* blur1 = sourcePicture(screen, "Image3");
    const Picture* blur2 = sourcePicture(screen, "Image4");
    const Picture* zece = sourcePicture(screen, "zece");
    if (strip == nullptr || blur1 == nullptr || blur2 == nullptr || zece == nullptr) {
        error = "the reel strip, blur or digit pictures are missing";
        return nullptr;
    }
    if (!frameTimer) {
        error = "no frame timer for the reels";
        return nullptr;
    }
    std::unique_ptr<GameView> view(new GameView(screen, loop, state, store, std::move(frameTimer),
                                                ReelShading(*strip, *blur1, *blur2),
                                                MeterPainter(*zece)));
    if (!view->findParts(error)) return nullptr;
    return view;
}

bool GameView::findParts(std::string& error) {
    auto find = [&](std::string_view name) {
        PictureLayer* layer = screen_.layer(name);
        if (layer == nullptr) error = "the picture " + std::string(name) + " is missing";
        return layer;
    };
    if ((lever_ = find("Image8")) == nullptr) return false;
    leverRest_ = screen_.restPlace("Image8");
    for (std::size_t n = 0; n < 3; ++n) {
        if ((reels_[n] = find(kReelNames[n])) == nullptr) return false;
        if ((lamps_[n] = find(kLampNames[n])) == nullptr) return false;
    }
    for (std::size_t m = 0; m < kMeterNames.size(); ++m)
        if ((meterLayers_[m] = find(kMeterNames[m])) == nullptr) return false;
    const Picture* lampr = sourcePicture(screen_, "lampr");
    const Picture* lampv = sourcePicture(screen_, "lampv");
    if (lampr == nullptr || lampv == nullptr) {
        error = "the lamp pictures are missing";
        return false;
    }
    lampr_ = *lampr;
    lampv_ = *lampv;

    // The two text lines: the message line beneath the intro picture, the intro line on top.
    const CabinetOrigin o = screen_.origin();
    const Rect messageArea{o.x + layout::kMessageLineAt.x, o.y + layout::kMessageLineAt.y,
                           layout::kMessageLine.w, layout::kMessageLine.h};
    const Rect introArea{o.x + layout::kIntroLineAt.x, o.y + layout::kIntroLineAt.y,
                         layout::kIntroLine.w, layout::kIntroLine.h};
    // Both lines in one look: the font is found and opened once.
    std::shared_ptr<Font> font = Font::open(messageFont(), error);
    if (!font) return false;
    auto aal = AntiAliasLabel::create("aal", messageArea, font, kMessageColour);
    auto aal2 = AntiAliasLabel::create("aal2", introArea, std::move(font), kMessageColour);
    aal_ = aal.get();
    aal2_ = aal2.get();
    screen_.scene().insertBefore(GameScreen::kMessageLineBefore, std::move(aal));
    screen_.scene().add(std::move(aal2));

    for (const EmbeddedAsset& asset : embeddedAssets()) {
        if (asset.kind != AssetKind::Sound) continue;
        auto player =
            std::make_unique<WavePlayer>(loop_.platform().audio(), std::string(asset.name));
        player->Sound(asset.bytes());
        player->Loop(std::find(kLoopingSounds.begin(), kLoopingSounds.end(), asset.name) !=
                     kLoopingSounds.end());
        sounds_.emplace(std::string(asset.name), std::move(player));
    }
    for (std::string_view needed : {"welcome", "ton", "ton2", "ton3", "ding", "clac", "coins",
                                    "clic", "clic2", "clic3", "exce", "good", "notbad", "bye"}) {
        if (sounds_.find(needed) == sounds_.end()) {
            error = "the sound " + std::string(needed) + " is missing";
            return false;
        }
    }

    timer1_.OnTimer = [this](UiTimer&) {
        if (game_ != nullptr) game_->Timer1Timer();
    };
    frameTimer_->Enabled(false);
    frameTimer_->Interval(kFrameInterval);
    frameTimer_->ThreadPriority(PriorityLevel::Highest);
    frameTimer_->OnTimer = [this](FrameTimer&) { ThreadedTimer1Timer(); };
    return true;
}

void GameView::nr(std::int32_t value, Meter meter, int digits) {
    const std::size_t m = meterIndex(meter);
    if (m >= meterLayers_.size()) return;
    PictureLayer& layer = *meterLayers_[m];
    if (meters_.nr(value, layer.pixels(), digits)) layer.invalidate();
}

void GameView::setMessage(std::string_view text) {
    aal_->Caption(text);
}

void GameView::setIntroMessage(std::string_view text) {
    aal2_->Caption(text);
}

void GameView::delay(int ms) {
    loop_.delay(static_cast<std::uint32_t>(std::max(ms, 0)));
}

void GameView::playSound(std::string_view name) {
    auto found = sounds_.find(name);
    if (found != sounds_.end()) found->second->Play();
}

void GameView::showLamp(int reel, LampLook look) {
    if (reel < 1 || reel > 3) return;
    PictureLayer& lamp = *lamps_[static_cast<std::size_t>(reel - 1)];
    switch (look) {
        case LampLook::Blank:
            lamp.clear();
            break;
        case LampLook::Red:
            lamp.setPicture(lampr_);
            break;
        case LampLook::Green:
            lamp.setPicture(lampv_);
            break;
    }
}

bool GameView::leverAtRest() {
    return lever_->x() == leverRest_.x && lever_->y() == leverRest_.y;
}

void GameView::moveLeverDown() {
    lever_->moveTo(leverRest_.x, leverRest_.y + kLeverTravel);
}

void GameView::moveLeverToRest() {
    lever_->moveTo(leverRest_.x, leverRest_.y);
}

void GameView::preg() {
    std::array<Picture, 3>& strips = screen_.spinStrips();
    for (std::size_t n = 0; n < 3; ++n)
        shading_.preg(state_.prevSymbol[n], state_.reelSymbol[n], strips[n]);
}

void GameView::startReelAnimation() {
    counters_.start();
    tick_ = 0;
    framesDrawn_.clear();
    frameTimer_->Enabled(true);
}

void GameView::drawReel(int reel) {
    if (reel < 1 || reel > 3) return;
    const std::size_t n = static_cast<std::size_t>(reel - 1);
    shading_.drawStill(state_.reelSymbol[n], reels_[n]->pixels());
    reels_[n]->invalidate();
}

void GameView::ThreadedTimer1Timer() {
    ++tick_;
    const TickResult result = frameTick(counters_, state_.held);
    const std::array<Picture, 3>& strips = screen_.spinStrips();
    for (std::size_t n = 0; n < 3; ++n) {
        const int c = result.frame[n];
        if (c < 0) continue;
        // The frame goes into the reel's own picture, so a repaint shows the last tick's frame.
        blit(strips[n], Rect{0, c * kReelSize, kReelSize, kReelSize}, reels_[n]->pixels(), 0, 0);
        reels_[n]->invalidate();
        framesDrawn_.push_back({tick_, static_cast<int>(n) + 1, c});
    }
    if (!result.spinOver) return;
    frameTimer_->Enabled(false);
    if (state_.options.soundFx) {
        playSound("ding");
        delay(31);
    }
    drawReel(1);
    drawReel(2);
    drawReel(3);
    if (game_ != nullptr) game_->evaluateStop();
    state_.inputEnabled = 1;
}

void GameView::drawBetAndPrizes() {
    nr(state_.bet, Meter::Bet, 2);
    constexpr std::array<Meter, 4> kPrizes{Meter::M1, Meter::M2, Meter::M3, Meter::M4};
    for (int k = 1; k <= 4; ++k) {
        // Wide, so a damaged multiplier cannot overflow; a prize too large for its meter is
        // refused there like any other.
        const std::int64_t prize = std::int64_t{state_.paytableMultipliers[k]} * state_.bet;
        nr(static_cast<std::int32_t>(std::clamp<std::int64_t>(prize, -1, 10'000)),
           kPrizes[static_cast<std::size_t>(k - 1)], 4);
    }
}

void GameView::revealCabinet() {
    aal2_->setVisible(false);
    screen_.showPlayArea();
    drawReel(1);
    drawReel(2);
    drawReel(3);
    nr(state_.win, Meter::Win, 7);
    nr(state_.credit, Meter::Credit, 7);
    drawBetAndPrizes();
    const CabinetOrigin o = screen_.origin();
    aal_->moveTo(o.x + layout::kMessageLineAt.x, o.y + layout::kMessageLineAt.y);
    aal_->Caption(kPlayText);
}

}  // namespace fruvana
