#include "shell/settings_screen.h"

#include <optional>
#include <utility>

#include "engine/round_face.h"
#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"

namespace fruvana {

namespace {

namespace L = layout;

// A pressed button sinks by these many pixels.
constexpr int kOkTravel = 4;
constexpr int kResetTravel = 2;
// The OK picture sits at the top left of a slightly larger box.
constexpr L::Extent kOkBox{73, 69};

constexpr std::uint32_t kCellColour = 5517839;
constexpr std::uint32_t kFixedColour = 4926734;
constexpr std::uint32_t kOddRowColour = 5781009;
constexpr std::uint32_t kOddLabelColour = 5189904;
constexpr std::uint32_t kRed = 255;
constexpr std::uint32_t kOrange = 33023;

// The statistics table's place inside the screen and its columns.
constexpr std::array<int, 4> kColumnWidths{125, 94, 94, 94};
constexpr int kTableRows = 13;

const char* const kPartPrefix = "settings.";

std::string partName(std::string_view name) {
    return kPartPrefix + std::string(name);
}

// The statistics table as a layer of the game window. The layer owns the grid, so the grid
// lives exactly as long as the window's layers that paint it and ask for repaints.
class GridLayer final : public Layer {
  public:
    explicit GridLayer(std::string name)
        : Layer(std::move(name)), grid_(std::make_unique<AlignGrid>()) {
        grid_->onInvalidate = [this](const Rect& area) { invalidate(area); };
    }
    AlignGrid& grid() { return *grid_; }
    Rect bounds() const override { return grid_->bounds(); }
    void paint(Picture& target, const Rect& clip) const override { grid_->paint(target, clip); }

  private:
    std::unique_ptr<AlignGrid> grid_;
};

}  // namespace

SettingsScreen::SettingsScreen(GameScreen& screen, GameView& view, MachineState& state,
                               SettingsHost& host)
    : screen_(screen), view_(view), state_(state), host_(host), origin_(screen.origin()) {}

SettingsScreen::~SettingsScreen() = default;

std::unique_ptr<SettingsScreen> SettingsScreen::create(GameScreen& screen, GameView& view,
                                                       MachineState& state, SettingsHost& host,
                                                       std::string& error) {
    std::unique_ptr<SettingsScreen> settings(new SettingsScreen(screen, view, state, host));
    if (!settings->build(error)) return nullptr;
    return settings;
}

bool SettingsScreen::build(std::string& error) {
    auto load = [&](std::string_view name) -> std::optional<Picture> {
        auto image = findAsset(AssetKind::SettingsPicture, name);
        std::optional<Picture> loaded = image ? loadBmp(*image) : std::nullopt;
        if (!loaded) error = "the settings picture " + std::string(name) + " cannot be loaded";
        return loaded;
    };
    auto panel = load("Image1");
    auto ok = load("Image2");
    auto reset = load("Image3");
    auto bon = load("bon");
    auto boff = load("boff");
    if (!panel || !ok || !reset || !bon || !boff) return false;
    bon_ = std::move(*bon);
    boff_ = std::move(*boff);

    Scene& scene = screen_.scene();
    auto addPicture = [&](std::string_view name, L::Offset at, L::Extent size, Picture picture) {
        auto layer = std::make_unique<PictureLayer>(
            partName(name), Rect{origin_.x + at.x, origin_.y + at.y, size.w, size.h});
        layer->setVisible(false);
        layer->setPicture(std::move(picture));
        PictureLayer* added = layer.get();
        scene.add(std::move(layer));
        return added;
    };
    background_ = addPicture("Image1", {0, 0}, L::kCabinet, std::move(*panel));
    for (std::size_t i = 0; i < switches_.size(); ++i)
        switches_[i] =
            addPicture("Image" + std::to_string(6 + i), L::kSwitchesAt[i], L::kSwitch, boff_);
    ok_ = addPicture("Image2", L::kOkAt, kOkBox, std::move(*ok));
    reset_ = addPicture("Image3", L::kResetAt, L::kSmallButton, std::move(*reset));

    const Rect accountArea{origin_.x + L::kAccountAt.x, origin_.y + L::kAccountAt.y, L::kAccount.w,
                           L::kAccount.h};
    auto ac = AntiAliasLabel::create(partName("ac"), accountArea,
                                     FontRequest{"MS Sans Serif", 13, true, false}, kAccountColour,
                                     error);
    if (!ac) return false;
    ac->Alignment(AntiAliasLabel::Align::Right);
    ac->setVisible(false);
    ac_ = ac.get();
    scene.add(std::move(ac));

    auto table = std::make_unique<GridLayer>(partName("sag"));
    table->setVisible(false);
    table_ = table.get();
    sag_ = &table->grid();
    scene.add(std::move(table));
    setUpTable();
    // The table's fonts are found now, so a missing one stops start-up with its reason and
    // the first opening of the screen does not search for them.
    if (!sag_->openFonts()) {
        error = sag_->fontError();
        return false;
    }
    return true;
}

void SettingsScreen::setUpTable() {
    AlignGrid& g = *sag_;
    g.setColCount(4);
    g.setRowCount(kTableRows);
    g.setFixedCols(1);
    g.setFixedRows(1);
    for (int c = 0; c < 4; ++c) g.setColWidths(c, kColumnWidths[static_cast<std::size_t>(c)]);
    g.setDefaultRowHeight(24);
    g.setPlace(origin_.x + L::kStatisticsAt.x, origin_.y + L::kStatisticsAt.y);
    g.setSize(L::kStatistics.w, L::kStatistics.h);
    g.setColor(kCellColour);
    g.setFixedColor(kFixedColour);
    g.Font().assign({kOrange, -11, "MS Sans Serif", FontPitch::Default, 0});
    // The table's one stored group: the font of its rows, bold orange.
    (void)g.readPropertyList(PropList::PropRow,
                             {1, 6, 255, -11, std::string("MS Sans Serif"), 0, 317250561, 0});

    // The 3-D look off, the fixed texts, then the styling in its order.
    g.setFlat(true);
    g.Cells(0, 0, "LINE");
    g.Cells(1, 0, "( X )");
    g.Cells(2, 0, "1st DEAL");
    g.Cells(3, 0, "2nd DEAL");
    for (int r = 1; r <= 11; ++r) g.Cells(0, r, std::string(comboClassText(r)));
    g.Cells(0, 12, "total deals");
    for (std::uint16_t c = 1; c <= 3; ++c) g.AlignCol(c, CellAlign::alRight);
    g.FixedAlignRow(0, CellAlign::alRight);
    g.AlignCell(0, 0, CellAlign::alLeft);
    for (std::uint16_t r = 1; r <= 11; r += 2) g.ColorRow(r, kOddRowColour);
    for (std::uint16_t r = 1; r <= 11; r += 2) g.ColorCell(0, r, kOddLabelColour);
    for (CellFont* f : {&g.FontFixedCol(0), &g.FontFixedRow(0)}) {
        f->setColour(kRed);
        f->setStyle(kStyleBold);
    }
    for (std::uint16_t r = 1; r <= 12; ++r) {
        g.FontRow(r).setColour(kOrange);
        g.FontRow(r).setStyle(kStyleBold);
    }
}

bool SettingsScreen::visible() const {
    return background_->visible();
}

Rect SettingsScreen::area() const {
    return {origin_.x, origin_.y, L::kCabinet.w, L::kCabinet.h};
}

std::uint8_t& SettingsScreen::option(int index) {
    switch (index) {
        case 0:
            return state_.options.autoBet;
        case 1:
            return state_.options.secondDeal;
        case 2:
            return state_.options.smartHold;
        case 3:
            return state_.options.soundFx;
        default:
            return state_.options.voiceFx;
    }
}

bool SettingsScreen::switchLit(int index) const {
    if (index < 0 || index >= 5) return false;
    return switches_[static_cast<std::size_t>(index)]->picture() == bon_;
}

void SettingsScreen::show() {
    setPartsVisible(true);
    FormShow();
}

void SettingsScreen::setPartsVisible(bool visible) {
    background_->setVisible(visible);
    for (PictureLayer* s : switches_) s->setVisible(visible);
    ok_->setVisible(visible);
    reset_->setVisible(visible);
    ac_->setVisible(visible);
    table_->setVisible(visible);
}

void SettingsScreen::FormShow() {
    // The screen lies over the cabinet, whose place was fixed at start-up.
    showAccount();
    for (int r = 1; r <= 11; ++r) sag_->Cells(1, r, std::to_string(state_.paytableMultipliers[r]));
    showCounts();
    for (int i = 0; i < 5; ++i) showSwitch(i);
    view_.pumpPending();
}

void SettingsScreen::showAccount() {
    ac_->Caption(std::to_string(state_.account));
}

void SettingsScreen::showCounts() {
    for (int r = 1; r <= 12; ++r) {
        sag_->Cells(2, r, std::to_string(state_.statistics.firstDealCounts[r]));
        sag_->Cells(3, r, std::to_string(state_.statistics.secondDealCounts[r]));
    }
}

void SettingsScreen::showSwitch(int index) {
    switches_[static_cast<std::size_t>(index)]->setPicture(option(index) != 0 ? bon_ : boff_);
}

void SettingsScreen::switchClick(int index) {
    if (index < 0 || index >= 5) return;
    std::uint8_t& o = option(index);
    o = static_cast<std::uint8_t>(o ^ 1);
    showSwitch(index);
    host_.saveset();
    if (state_.options.soundFx != 0) view_.playSound("clic2");
}

void SettingsScreen::pressButton(PictureLayer& button, int restTop, int travel, int centre,
                                 std::string_view sound, std::uint8_t& pressed, int x, int y) {
    pressed = 0;
    if (!insideCircle(x, y, centre, centre)) return;
    pressed = 1;
    if (state_.options.soundFx) view_.playSound(sound);
    const int top = origin_.y + restTop;
    if (button.y() == top) button.moveTo(button.x(), top + travel);
    view_.delay(2);
}

void SettingsScreen::releaseButton(PictureLayer& button, int restTop, int travel) {
    const int top = origin_.y + restTop;
    if (button.y() != top + travel) return;
    button.moveTo(button.x(), top);
    view_.delay(2);
}

void SettingsScreen::Image2MouseDown(int x, int y) {
    pressButton(*ok_, L::kOkAt.y, kOkTravel, L::kBigFaceCentre, "clic", okPressed_, x, y);
}

void SettingsScreen::Image2MouseUp() {
    releaseButton(*ok_, L::kOkAt.y, kOkTravel);
    if (okPressed_ == 0) return;
    if (state_.options.secondDeal == 0 && state_.secondDealAtOpen != 0) {
        // Second deal was switched off during this visit: the pending second deal ends.
        state_.phase = 1;
        state_.held = {0, 0, 0};
        // Deliberate: the win joins the credit as a banked win does, never past the credit's
        // limit; a win the account cannot take stays pending.
        moveWinOntoCredit(state_);
        view_.nr(state_.win, Meter::Win, 7);
        view_.nr(state_.credit, Meter::Credit, 7);
        for (int reel = 1; reel <= 3; ++reel) view_.showLamp(reel, LampLook::Blank);
    }
    setPartsVisible(false);
    host_.settingsClosed();
}

void SettingsScreen::Image3MouseDown(int x, int y) {
    pressButton(*reset_, L::kResetAt.y, kResetTravel, L::kSmallFaceCentre, "clic2", resetPressed_,
                x, y);
}

void SettingsScreen::Image3MouseUp() {
    releaseButton(*reset_, L::kResetAt.y, kResetTravel);
    if (resetPressed_ == 0) return;
    state_.account = -kCoinValue;
    showAccount();
    state_.credit = kCoinValue;
    state_.win = 0;
    view_.nr(state_.win, Meter::Win, 7);
    view_.nr(state_.credit, Meter::Credit, 7);
    state_.statistics = Statistics{};
    showCounts();
    view_.pumpPending();
}

const Layer* SettingsScreen::partAt(int x, int y) const {
    const Layer* layer = screen_.scene().layerAt(x, y);
    if (layer == nullptr || layer->name().rfind(kPartPrefix, 0) != 0) return nullptr;
    return layer;
}

void SettingsScreen::mouseDown(const InputEvent& event) {
    const Layer* part = partAt(event.x, event.y);
    pressedPart_ = part;
    switchPressed_ = -1;
    if (part == nullptr) return;
    if (part == ok_) return Image2MouseDown(event.x - ok_->x(), event.y - ok_->y());
    if (part == reset_) return Image3MouseDown(event.x - reset_->x(), event.y - reset_->y());
    for (std::size_t i = 0; i < switches_.size(); ++i) {
        if (part == switches_[i] && event.button == MouseButton::Left)
            switchPressed_ = static_cast<int>(i);
    }
}

void SettingsScreen::mouseUp(const InputEvent& event) {
    // A release belongs to the part that took the press; a switch clicks only when the main
    // button is let go over the switch it went down on.
    const Layer* pressed = std::exchange(pressedPart_, nullptr);
    const int pressedSwitch = std::exchange(switchPressed_, -1);
    if (pressed == nullptr) return;
    if (pressed == ok_) return Image2MouseUp();
    if (pressed == reset_) return Image3MouseUp();
    if (pressedSwitch >= 0 && event.button == MouseButton::Left &&
        partAt(event.x, event.y) == switches_[static_cast<std::size_t>(pressedSwitch)])
        switchClick(pressedSwitch);
}

}  // namespace fruvana
