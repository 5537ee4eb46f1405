#include "shell/recall_screen.h"

#include <utility>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/picture_names.h"
#include "presentation/round_face.h"
#include "presentation/translation.h"
#include "shell/grid_layer.h"
#include "shell/recall_text.h"
#include "shell/table_look.h"

namespace fruvana {

namespace {

namespace L = layout;

constexpr int kOkTravel = 4;
constexpr L::Extent kOkBox{73, 69};

// The table's columns: time, bet, first deal, holds, second deal, result, paid, before, after.
constexpr std::array<int, 9> kColumnWidths{96, 40, 88, 56, 88, 156, 60, 80, 80};
constexpr int kFirstDealColumn = 2;
constexpr int kSecondDealColumn = 4;
constexpr int kRows = 1 + static_cast<int>(kRecalledGames);
namespace T = table_look;
constexpr Rgb kSessionColour{255, 208, 90};
// The colour the symbols' layer shows through; no symbol picture has it.
constexpr Rgb kSeeThrough{255, 0, 255};

std::string partName(std::string_view name) {
    return std::string(layers::kRecallPrefix) + std::string(name);
}

// Symbol s of the reel strip (cell s, 122 pixels square) shrunk to size x size, each pixel the
// average of the block of the cell it stands for.
Picture smallSymbol(const Picture& strip, int s, int size) {
    Picture out(size, size);
    const int cell = L::kReel.w;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int x0 = x * cell / size;
            const int x1 = (x + 1) * cell / size;
            const int y0 = s * cell + y * cell / size;
            const int y1 = s * cell + (y + 1) * cell / size;
            int r = 0;
            int g = 0;
            int b = 0;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const Rgb p = strip.pixel(sx, sy);
                    r += p.r;
                    g += p.g;
                    b += p.b;
                }
            }
            const int n = (x1 - x0) * (y1 - y0);
            out.setPixel(x, y,
                         Rgb{static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n),
                             static_cast<std::uint8_t>(b / n)});
        }
    }
    return out;
}

}  // namespace

RecallScreen::RecallScreen(GameScreen& screen, EventLoop& loop)
    : screen_(screen), loop_(loop), origin_(screen.origin()) {}

RecallScreen::~RecallScreen() = default;

std::unique_ptr<RecallScreen> RecallScreen::create(GameScreen& screen, EventLoop& loop,
                                                   std::string& error) {
    std::unique_ptr<RecallScreen> recall(new RecallScreen(screen, loop));
    if (!recall->build(error)) return nullptr;
    return recall;
}

bool RecallScreen::build(std::string& error) {
    auto panel = loadPicture(AssetKind::RecallPicture, recall_pictures::kPanel, error);
    auto ok = loadPicture(AssetKind::SettingsPicture, settings_pictures::kOkButton, error);
    auto strip = loadPicture(AssetKind::GamePicture, pictures::kReelStrip, error);
    if (!panel || !ok || !strip) return false;
    for (int s = 1; s <= 10; ++s)
        smallSymbols_[static_cast<std::size_t>(s - 1)] =
            smallSymbol(*strip, s, L::kRecallSymbolSize);

    Scene& scene = screen_.scene();
    auto addPicture = [&](std::string_view name, L::Offset at, L::Extent size, Picture picture,
                          bool seeThrough) {
        auto layer = std::make_unique<PictureLayer>(
            partName(name), Rect{origin_.x + at.x, origin_.y + at.y, size.w, size.h}, seeThrough);
        layer->setVisible(false);
        layer->setPicture(std::move(picture));
        PictureLayer* added = layer.get();
        scene.add(std::move(layer));
        return added;
    };
    panel_ = addPicture(layers::kRecallPanel, {0, 0}, L::kCabinet, std::move(*panel), false);
    ok_ = addPicture(settings_pictures::kOkButton, L::kOkAt, kOkBox, std::move(*ok), false);

    const Rect sessionArea{origin_.x + L::kRecallSessionAt.x, origin_.y + L::kRecallSessionAt.y,
                           L::kRecallSession.w, L::kRecallSession.h};
    auto session = TextLine::create(partName(layers::kSessionLine), sessionArea,
                                    FontRequest{std::string(kLineFamily), 15, true, false},
                                    kSessionColour, error);
    if (!session) return false;
    session->setVisible(false);
    session_ = session.get();
    scene.add(std::move(session));

    auto table = std::make_unique<GridLayer>(partName(layers::kRecallTable));
    table->setVisible(false);
    tableLayer_ = table.get();
    table_ = &table->grid();
    scene.add(std::move(table));
    setUpTable();
    if (!table_->openFonts()) {
        error = table_->fontError();
        return false;
    }

    Picture symbols(L::kRecallTable.w, L::kRecallTable.h);
    symbols.fill(kSeeThrough);
    symbols_ = addPicture(layers::kRecallSymbols, L::kRecallTableAt, L::kRecallTable,
                          std::move(symbols), true);
    return true;
}

void RecallScreen::setUpTable() {
    AlignGrid& g = *table_;
    g.setColCount(static_cast<int>(kColumnWidths.size()));
    g.setRowCount(kRows);
    g.setFixedCols(0);
    g.setFixedRows(1);
    for (std::size_t c = 0; c < kColumnWidths.size(); ++c)
        g.setColWidths(static_cast<int>(c), kColumnWidths[c]);
    g.setDefaultRowHeight(L::kRecallRowHeight);
    g.setPlace(origin_.x + L::kRecallTableAt.x, origin_.y + L::kRecallTableAt.y);
    g.setSize(L::kRecallTable.w, L::kRecallTable.h);
    g.setColor(T::kCellBackground);
    g.setFixedColor(T::kHeaderBackground);
    g.font().assign(
        {T::kValueText, -11, std::string(kTableFamily), FontPitch::Default, kStyleBold});
    g.setFlat(true);
    const std::array<std::string, 9> headings{tr("TIME"),     trIn("recall column", "BET"),
                                              tr("1st DEAL"), tr("HOLDS"),
                                              tr("2nd DEAL"), tr("RESULT"),
                                              tr("PAID"),     tr("BEFORE"),
                                              tr("AFTER")};
    for (std::size_t c = 0; c < headings.size(); ++c)
        g.setCellText(static_cast<int>(c), 0, headings[c]);
    g.fixedRowFont(0).setColour(T::kHeaderText);
    g.fixedRowFont(0).setStyle(kStyleBold);
    for (std::uint16_t c : {1, 6, 7, 8}) g.setColumnAlignment(c, CellAlign::Right);
    for (std::uint16_t r = 1; r < kRows; r += 2) g.setRowColour(r, T::kOddRowBackground);
}

void RecallScreen::show(const GameRecall& games, const std::string& session) {
    session_->setCaption(session);
    Picture& symbols = symbols_->pixels();
    symbols.fill(kSeeThrough);
    auto drawLine = [&](const Line& line, int column, int row) {
        int x = 0;
        for (int c = 0; c < column; ++c) x += kColumnWidths[static_cast<std::size_t>(c)];
        // Level with the top of the row's text, which the grid draws at the top of its cells.
        const int y = row * L::kRecallRowHeight + 2;
        for (std::size_t n = 0; n < 3; ++n) {
            if (line[n] < 1 || line[n] > 10) continue;
            const Picture& small = smallSymbols_[line[n] - 1u];
            blit(small, Rect{0, 0, small.width(), small.height()}, symbols,
                 x + 4 + static_cast<int>(n) * (L::kRecallSymbolSize + 4), y);
        }
    };
    for (int r = 1; r < kRows; ++r) {
        const auto i = static_cast<std::size_t>(r - 1);
        const bool shown = i < games.size();
        const RecallColumns c = shown ? recallColumns(games[i]) : RecallColumns{};
        const std::array<const std::string*, 9> cells{
            &c.time, nullptr, nullptr, &c.holds, nullptr, &c.result, &c.paid, &c.before, &c.after};
        for (std::size_t col = 0; col < cells.size(); ++col) {
            if (cells[col] != nullptr) table_->setCellText(static_cast<int>(col), r, *cells[col]);
        }
        table_->setCellText(1, r, c.bet);
        if (!shown) continue;
        drawLine(games[i].firstLine, kFirstDealColumn, r);
        if (games[i].secondDealt) drawLine(games[i].secondLine, kSecondDealColumn, r);
    }
    symbols_->invalidate();
    setPartsVisible(true);
    loop_.pumpPending();
}

void RecallScreen::hide() {
    setPartsVisible(false);
}

void RecallScreen::setPartsVisible(bool visible) {
    panel_->setVisible(visible);
    ok_->setVisible(visible);
    session_->setVisible(visible);
    tableLayer_->setVisible(visible);
    symbols_->setVisible(visible);
}

bool RecallScreen::visible() const {
    return panel_->visible();
}

Rect RecallScreen::area() const {
    return {origin_.x, origin_.y, L::kCabinet.w, L::kCabinet.h};
}

std::optional<ControlHit> RecallScreen::controlAt(int x, int y) const {
    if (!visible() || screen_.scene().layerAt(x, y) != ok_) return std::nullopt;
    return ControlHit{
        {ControlKind::Button, Button::RecallOk},
        insideCircle(x - ok_->x(), y - ok_->y(), L::kBigFaceCentre, L::kBigFaceRadius)};
}

void RecallScreen::sinkButton(Button button) {
    const int top = origin_.y + L::kOkAt.y;
    if (button == Button::RecallOk && ok_->y() == top) ok_->moveTo(ok_->x(), top + kOkTravel);
}

void RecallScreen::liftButton(Button button) {
    const int top = origin_.y + L::kOkAt.y;
    if (button == Button::RecallOk && ok_->y() == top + kOkTravel) ok_->moveTo(ok_->x(), top);
}

std::string RecallScreen::spokenOnOpening() const {
    return tr(GameText{translatable("Game recall. %s"), {session_->caption()}});
}

}  // namespace fruvana
