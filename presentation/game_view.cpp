#include "presentation/game_view.h"

#include <algorithm>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/picture_names.h"
#include "presentation/round_face.h"
#include "presentation/translation.h"

namespace fruvana {

namespace {

namespace L = layout;
namespace P = pictures;

constexpr int kLeverTravel = 16;

// A push button of the cabinet: its picture, its round face (in the picture's own pixels) and
// how far a press moves it.
struct CabinetButton {
    Button button;
    std::string_view picture;
    int faceCentre;
    int faceRadius;
    int pressDx;
    int pressDy;
};
constexpr std::array<CabinetButton, kCabinetButtonCount> kCabinetButtons{{
    {Button::Help, P::kHelpButton, L::kBigFaceCentre, L::kBigFaceRadius, 0, 4},
    {Button::Exit, P::kExitButton, L::kBigFaceCentre, L::kBigFaceRadius, 0, 4},
    {Button::BetDown, P::kBetDownButton, L::kSmallFaceCentre, L::kSmallFaceRadius, -2, 0},
    {Button::BetUp, P::kBetUpButton, L::kSmallFaceCentre, L::kSmallFaceRadius, 2, 0},
    {Button::Coin, P::kCoinButton, L::kBigFaceCentre, L::kBigFaceRadius, 0, 4},
    {Button::Collect, P::kCollectButton, L::kSmallFaceCentre, L::kSmallFaceRadius, 0, 2},
    {Button::Settings, P::kSettingsButton, L::kSmallFaceCentre, L::kSmallFaceRadius, 0, 2},
    {Button::Autoplay, P::kAutoplayButton, L::kSmallFaceCentre, L::kSmallFaceRadius, 0, 2},
}};
static_assert(rowsInButtonOrder(kCabinetButtons), "a button's picture is found by its number");

constexpr std::array<std::string_view, 3> kLoopingSounds{
    sounds::kSpinFromLeft, sounds::kSpinFromMiddle, sounds::kSpinRightOnly};
constexpr std::array<std::string_view, 14> kNeededSounds{
    sounds::kWelcome,       sounds::kSpinFromLeft,     sounds::kSpinFromMiddle,
    sounds::kSpinRightOnly, sounds::kReelsStop,        sounds::kLeverPull,
    sounds::kCoinDrop,      sounds::kBigButton,        sounds::kSmallButton,
    sounds::kHoldButton,    sounds::kVerdictExcellent, sounds::kVerdictGood,
    sounds::kVerdictNotBad, sounds::kFarewell};

FontRequest messageFont() {
    return FontRequest{std::string(kLineFamily), 13, true, false};
}

}  // namespace

GameView::GameView(GameScreen& screen, EventLoop& loop, const MachineState& state,
                   FrameTimer& spinFrames, ReelShading shading, MeterPainter meters)
    : screen_(screen),
      loop_(loop),
      state_(state),
      spinFrames_(spinFrames),
      shading_(std::move(shading)),
      meters_(std::move(meters)) {}

GameView::~GameView() {
    // No tick may reach a view that is going away.
    spinFrames_.setEnabled(false);
}

std::unique_ptr<GameView> GameView::create(GameScreen& screen, EventLoop& loop,
                                           const MachineState& state, FrameTimer& spinFrames,
                                           std::string& error) {
    const auto strip = loadPicture(AssetKind::GamePicture, P::kReelStrip, error);
    const auto blur1 = loadPicture(AssetKind::GamePicture, P::kReelBlur1, error);
    const auto blur2 = loadPicture(AssetKind::GamePicture, P::kReelBlur2, error);
    const auto digits = loadPicture(AssetKind::GamePicture, P::kDigits, error);
    if (!strip || !blur1 || !blur2 || !digits) return nullptr;
    std::unique_ptr<GameView> view(new GameView(screen, loop, state, spinFrames,
                                                ReelShading(*strip, *blur1, *blur2),
                                                MeterPainter(*digits)));
    if (!view->findParts(error)) return nullptr;
    return view;
}

bool GameView::findParts(std::string& error) {
    auto find = [&](std::string_view name) {
        PictureLayer* layer = screen_.layer(name);
        if (layer == nullptr) error = "the picture " + std::string(name) + " is missing";
        return layer;
    };
    if ((lever_ = find(layers::kLever)) == nullptr) return false;
    leverRest_ = screen_.restPlace(layers::kLever);
    for (std::size_t n = 0; n < 3; ++n) {
        if ((reels_[n] = find(layers::kReels[n])) == nullptr) return false;
        if ((lamps_[n] = find(layers::kLamps[n])) == nullptr) return false;
    }
    for (std::size_t m = 0; m < layers::kMeters.size(); ++m)
        if ((meterLayers_[m] = find(layers::kMeters[m])) == nullptr) return false;
    for (std::size_t b = 0; b < kCabinetButtons.size(); ++b) {
        if ((buttons_[b] = find(kCabinetButtons[b].picture)) == nullptr) return false;
        buttonRest_[b] = screen_.restPlace(kCabinetButtons[b].picture);
    }
    // The two lit looks, by colour alone and by colour and shape.
    const std::array<std::array<std::string_view, 2>, 2> kLitLamps{
        {{P::kLampRed, P::kLampGreen}, {P::kLampRedShaped, P::kLampGreenShaped}}};
    for (std::size_t shaped = 0; shaped < 2; ++shaped) {
        for (std::size_t look = 0; look < 2; ++look) {
            auto picture = loadPicture(AssetKind::GamePicture, kLitLamps[shaped][look], error);
            if (!picture) return false;
            litLamps_[shaped][look] = std::move(*picture);
        }
    }

    // The two text lines: the message line beneath the intro picture, the intro line on top.
    const CabinetOrigin o = screen_.origin();
    const Rect messageArea{o.x + L::kMessageLineAt.x, o.y + L::kMessageLineAt.y, L::kMessageLine.w,
                           L::kMessageLine.h};
    const Rect introArea{o.x + L::kIntroLineAt.x, o.y + L::kIntroLineAt.y, L::kIntroLine.w,
                         L::kIntroLine.h};
    // Both lines in one look: the font is found and opened once.
    std::shared_ptr<Font> font = Font::open(messageFont(), error);
    if (!font) return false;
    auto messageLine =
        TextLine::create(std::string(layers::kMessageLine), messageArea, font, kMessageColour);
    auto introLine = TextLine::create(std::string(layers::kIntroLine), introArea, std::move(font),
                                      kMessageColour);
    messageLine_ = messageLine.get();
    introLine_ = introLine.get();
    screen_.scene().insertBefore(GameScreen::kMessageLineBefore, std::move(messageLine));
    screen_.scene().add(std::move(introLine));

    for (const EmbeddedAsset& asset : embeddedAssets()) {
        if (asset.kind != AssetKind::Sound) continue;
        auto player =
            std::make_unique<WavePlayer>(loop_.platform().audio(), std::string(asset.name));
        player->setSound(asset.bytes());
        player->setLoop(std::find(kLoopingSounds.begin(), kLoopingSounds.end(), asset.name) !=
                        kLoopingSounds.end());
        sounds_.emplace(std::string(asset.name), std::move(player));
    }
    for (std::string_view needed : kNeededSounds) {
        if (sounds_.find(needed) == sounds_.end()) {
            error = "the sound " + std::string(needed) + " is missing";
            return false;
        }
    }

    spinFrames_.setEnabled(false);
    spinFrames_.setInterval(kSpinFrameIntervalMs);
    spinFrames_.setThreadPriority(PriorityLevel::Highest);
    return true;
}

void GameView::drawMeter(std::int32_t value, Meter meter, int digits) {
    const auto m = static_cast<std::size_t>(meter);
    if (m >= meterLayers_.size()) return;
    PictureLayer& layer = *meterLayers_[m];
    if (meters_.draw(value, layer.pixels(), digits)) layer.invalidate();
}

void GameView::setMessage(const GameText& text) {
    messageLine_->setCaption(tr(text));
    if (onMessage) onMessage(messageLine_->caption());
}

void GameView::setIntroMessage(std::string_view text) {
    introLine_->setCaption(tr(text));
}

void GameView::delay(int ms) {
    loop_.delay(static_cast<std::uint32_t>(std::max(ms, 0)));
}

void GameView::setVolumes(int effects, int voices) {
    for (auto& [name, player] : sounds_)
        player->setVolume(sounds::isVoice(name) ? voices : effects);
}

void GameView::playSound(std::string_view name) {
    auto found = sounds_.find(name);
    if (found != sounds_.end()) found->second->play();
}

void GameView::showLamp(int reel, LampLook look) {
    if (reel < 1 || reel > 3) return;
    const auto n = static_cast<std::size_t>(reel - 1);
    lampLooks_[n] = look;
    PictureLayer& lamp = *lamps_[n];
    if (look == LampLook::Blank) return lamp.clear();
    lamp.setPicture(litLamps_[lampShapes_ ? 1 : 0][look == LampLook::Red ? 0 : 1]);
}

void GameView::setLampShapes(bool shapes) {
    lampShapes_ = shapes;
    for (int reel = 1; reel <= 3; ++reel)
        showLamp(reel, lampLooks_[static_cast<std::size_t>(reel - 1)]);
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

std::optional<ControlHit> GameView::controlAt(int x, int y) const {
    const Layer* layer = screen_.scene().layerAt(x, y);
    if (layer == nullptr) return std::nullopt;
    const int px = x - layer->bounds().x;
    const int py = y - layer->bounds().y;
    for (const CabinetButton& b : kCabinetButtons) {
        if (layer->name() == b.picture)
            return ControlHit{{ControlKind::Button, b.button},
                              insideCircle(px, py, b.faceCentre, b.faceRadius)};
    }
    // The lever's knob is the round face of a big button.
    if (layer->name() == layers::kLever)
        return ControlHit{{ControlKind::Lever},
                          insideCircle(px, py, L::kBigFaceCentre, L::kBigFaceRadius)};
    // A reel's picture and its lamp both hold that reel.
    for (std::size_t n = 0; n < 3; ++n) {
        if (layer->name() == layers::kReels[n] || layer->name() == layers::kLamps[n])
            return ControlHit{{ControlKind::Hold, Button::Help, static_cast<int>(n) + 1}};
    }
    return std::nullopt;
}

void GameView::sinkButton(Button button) {
    const auto b = static_cast<std::size_t>(button);
    if (b >= buttons_.size()) return;
    PictureLayer& picture = *buttons_[b];
    const Rect& rest = buttonRest_[b];
    if (picture.x() != rest.x || picture.y() != rest.y) return;
    picture.moveTo(rest.x + kCabinetButtons[b].pressDx, rest.y + kCabinetButtons[b].pressDy);
}

void GameView::liftButton(Button button) {
    const auto b = static_cast<std::size_t>(button);
    if (b >= buttons_.size()) return;
    PictureLayer& picture = *buttons_[b];
    const Rect& rest = buttonRest_[b];
    if (picture.x() != rest.x + kCabinetButtons[b].pressDx ||
        picture.y() != rest.y + kCabinetButtons[b].pressDy)
        return;
    picture.moveTo(rest.x, rest.y);
}

void GameView::prepareSpinStrips() {
    std::array<Picture, 3>& strips = screen_.spinStrips();
    for (std::size_t n = 0; n < 3; ++n)
        shading_.paintSpinStrip(state_.previousSymbols[n], state_.reelSymbols[n], strips[n]);
}

void GameView::startSpin() {
    counters_.start();
    tick_ = 0;
    framesDrawn_.clear();
    spinFrames_.setEnabled(true);
}

void GameView::drawStillReel(std::size_t n) {
    shading_.drawStill(state_.reelSymbols[n], reels_[n]->pixels());
    reels_[n]->invalidate();
}

void GameView::showStillReels() {
    for (std::size_t n = 0; n < 3; ++n) drawStillReel(n);
}

bool GameView::paintSpinFrame() {
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
    if (!result.spinOver) return false;
    spinFrames_.setEnabled(false);
    return true;
}

void GameView::drawBetAndPrizes() {
    drawMeter(state_.bet, Meter::Bet, kBetMeterDigits);
    // The four best-paid kinds of result, each with its prize meter.
    constexpr std::array<std::pair<ComboClass, Meter>, 4> kPrizes{{
        {ComboClass::ThreeSingleBars, Meter::Prize1},
        {ComboClass::ThreeBells, Meter::Prize2},
        {ComboClass::ThreeYellowSevens, Meter::Prize3},
        {ComboClass::ThreeGrapes, Meter::Prize4},
    }};
    for (const auto& [comboClass, meter] : kPrizes)
        drawMeter(prizeAtCurrentBet(state_, comboClass), meter, kPrizeMeterDigits);
}

void GameView::revealCabinet() {
    introLine_->setVisible(false);
    screen_.showPlayArea();
    showStillReels();
    drawMeter(state_.win, Meter::Win, kMoneyMeterDigits);
    drawMeter(state_.credit, Meter::Credit, kMoneyMeterDigits);
    drawBetAndPrizes();
    const CabinetOrigin o = screen_.origin();
    messageLine_->moveTo(o.x + L::kMessageLineAt.x, o.y + L::kMessageLineAt.y);
    messageLine_->setCaption(kPlayText);
}

void GameView::returnToIntro() {
    screen_.showStartLook();
    introLine_->setVisible(true);
    introLine_->setCaption("");
    messageLine_->setCaption("");
    counters_ = ReelCounters{};
    tick_ = 0;
    framesDrawn_.clear();
}

}  // namespace fruvana
