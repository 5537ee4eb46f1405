// Fuzzes the grid's stored-list reader with lists decoded from the input.
//
// Input: byte 0 picks the list (its value mod 5, in PropertyLevel order) and the grid it is read
// into
// ((value / 5) mod 3: a new grid, the statistics table as the settings screen shows it, or a
// grid shaped by the next six bytes, with text in every cell). Then come the list's items, each
// from a lead byte: its low 3 bits say what follows (0 to 2 the small integer lead >> 3, 3 a
// small negative one, 4 a 32-bit and 5 a 64-bit integer from the next bytes, 6 a string of
// lead >> 3 bytes, 7 a font name from a short list). The last 8 bytes of a long enough input
// also give the repaint rectangle.
//
// A list must be read whole or refused whole. Refused: the reason names the list and the item
// where reading stopped, which a reading of the list's grammar done here must find too, and the
// stores are as they were. Read: every group lands in its store as that reading decodes it,
// the last group of a place winning, every other entry is kept, and reading the list again
// changes nothing. Then every cell's lookup must come from the first level that sets each
// field, and a paint must touch no pixel outside the repaint rectangle and the grid.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "grid/align_grid.h"
#include "grid/property_lists.h"
#include "shell/statistics_table.h"
#include "tests/fuzz/fuzz_support.h"

namespace fruvana {
namespace {

using fuzzing::require;

constexpr std::size_t kMostItems = 2048;
constexpr Rgb kSentinel{1, 2, 3};
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 480;

// Names the lookup may or may not find: the table's own, its twin, and some it has never seen.
constexpr std::array<std::string_view, 8> kFontNames{
    "MS Sans Serif", "Arial",       "Liberation Sans", "",
    "ms sans serif", "Courier New", "No Such Family",  "DejaVu Sans"};

PropertyList decodeList(fuzzing::ByteReader& in) {
    PropertyList list;
    while (!in.empty() && list.size() < kMostItems) {
        const std::uint8_t lead = in.byte();
        const int small = lead >> 3;
        switch (lead & 7) {
            case 3:
                list.emplace_back(std::int64_t{-1 - small});
                break;
            case 4:
                list.emplace_back(std::int64_t{static_cast<std::int32_t>(in.bits(4))});
                break;
            case 5:
                list.emplace_back(static_cast<std::int64_t>(in.bits(8)));
                break;
            case 6:
                list.emplace_back(std::string(in.take(static_cast<std::size_t>(small))));
                break;
            case 7:
                list.emplace_back(std::string(kFontNames[static_cast<std::size_t>(small) % 8]));
                break;
            default:
                list.emplace_back(std::int64_t{small});
                break;
        }
    }
    return list;
}

// ---- The list's grammar, read here on its own ------------------------------------------------

// Every field of an entry in one line; both the reading below and the grid's stores are
// described this way, so the two can be compared.
struct BrushModel {
    std::uint32_t colour;
    int style;
};
struct FontModel {
    std::uint32_t colour;
    int height;
    std::string name;
    int pitch;
    int style;
};
struct EntryModel {
    int align = 3;
    int wordwrap = 3;
    int editable = 0;
    std::optional<BrushModel> brush, selectedBrush;
    std::optional<FontModel> font, selectedFont;
};

std::string describe(const EntryModel& e) {
    std::string out = "a" + std::to_string(e.align) + " w" + std::to_string(e.wordwrap) + " e" +
                      std::to_string(e.editable);
    for (const auto* b : {&e.brush, &e.selectedBrush}) {
        out += *b ? " b" + std::to_string((*b)->colour) + "/" + std::to_string((*b)->style) : " -";
    }
    for (const auto* f : {&e.font, &e.selectedFont}) {
        if (!*f) {
            out += " -";
            continue;
        }
        out += " f" + std::to_string((*f)->colour) + "," + std::to_string((*f)->height) + "," +
               std::to_string((*f)->name.size()) + ":" + (*f)->name + "," +
               std::to_string((*f)->pitch) + "," + std::to_string((*f)->style);
    }
    return out;
}

std::string describe(const CellProperties& p) {
    EntryModel e;
    e.align = static_cast<int>(p.align);
    e.wordwrap = static_cast<int>(p.wordwrap);
    e.editable = p.editable;
    if (p.brush) e.brush = BrushModel{p.brush->colour(), p.brush->style()};
    if (p.selectedBrush)
        e.selectedBrush = BrushModel{p.selectedBrush->colour(), p.selectedBrush->style()};
    for (auto [from, to] :
         {std::pair{p.font.get(), &e.font}, {p.selectedFont.get(), &e.selectedFont}}) {
        if (from) {
            *to = FontModel{from->colour(), from->height(), from->name(),
                            static_cast<int>(from->pitch()), from->style()};
        }
    }
    return describe(e);
}

using Place = std::pair<std::uint16_t, std::uint16_t>;

struct ListModel {
    std::optional<std::size_t> refusedAt;  // the item where reading stops
    std::vector<std::pair<Place, std::string>> groups;
};

class GrammarReader {
  public:
    explicit GrammarReader(const PropertyList& list) : list_(list) {}

    ListModel read(bool cells) {
        ListModel out;
        while (pos_ < list_.size()) {
            Place place{};
            EntryModel entry;
            bool ok = index(place.first) && (!cells || index(place.second)) && record(entry);
            if (!ok) {
                out.refusedAt = pos_;
                out.groups.clear();
                return out;
            }
            out.groups.emplace_back(place, describe(entry));
        }
        return out;
    }

  private:
    std::optional<std::int64_t> integer() {
        if (pos_ >= list_.size()) return std::nullopt;
        const auto* v = std::get_if<std::int64_t>(&list_[pos_]);
        if (v == nullptr) return std::nullopt;
        ++pos_;
        return *v;
    }
    std::optional<std::string> string() {
        if (pos_ >= list_.size()) return std::nullopt;
        const auto* v = std::get_if<std::string>(&list_[pos_]);
        if (v == nullptr) return std::nullopt;
        ++pos_;
        return *v;
    }
    // Indices keep their low 16 bits; colours their low 32; other numbers are held at int's
    // limits.
    bool index(std::uint16_t& to) {
        const auto v = integer();
        if (v) to = static_cast<std::uint16_t>(static_cast<std::uint64_t>(*v) & 0xFFFF);
        return v.has_value();
    }
    static std::uint32_t colour(std::int64_t v) {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) & 0xFFFFFFFF);
    }
    static int held(std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    }
    bool brush(std::optional<BrushModel>& to) {
        const auto c = integer();
        const auto s = c ? integer() : std::nullopt;
        if (s) to = BrushModel{colour(*c), held(*s)};
        return s.has_value();
    }
    bool font(std::optional<FontModel>& to) {
        const auto c = integer();
        const auto h = c ? integer() : std::nullopt;
        const auto n = h ? string() : std::nullopt;
        const auto p = n ? integer() : std::nullopt;
        const auto s = p ? integer() : std::nullopt;
        if (!s) return false;
        // Pitch 1 is variable, 2 fixed, anything else the default; a style keeps its low byte.
        to = FontModel{colour(*c), held(*h), *n, *p == 1 || *p == 2 ? static_cast<int>(*p) : 0,
                       static_cast<int>(static_cast<std::uint64_t>(*s) & 0xFF)};
        return true;
    }
    // Tagged values up to the tag 0; an unknown tag carries nothing.
    bool record(EntryModel& e) {
        for (;;) {
            const auto tag = integer();
            if (!tag) return false;
            if (*tag == 0) return true;
            if (*tag >= 1 && *tag <= 3) {
                const auto v = integer();
                if (!v) return false;
                const bool inEnum = *v >= 0 && *v <= 3;
                if (*tag == 1) e.align = inEnum ? static_cast<int>(*v) : 3;
                if (*tag == 2) e.wordwrap = inEnum ? static_cast<int>(*v) : 3;
                if (*tag == 3) e.editable = *v == 1 || *v == 2 ? static_cast<int>(*v) : 0;
            }
            if ((*tag == 4 && !brush(e.brush)) || (*tag == 5 && !brush(e.selectedBrush)) ||
                (*tag == 6 && !font(e.font)) || (*tag == 7 && !font(e.selectedFont)))
                return false;
        }
    }

    const PropertyList& list_;
    std::size_t pos_ = 0;
};

// ---- The grid --------------------------------------------------------------------------------

using StoreView = std::map<Place, std::string>;

// The store of a level whose entries are keyed by one index: a column or a row.
const auto& lineStore(const PropertyStores& s, PropertyLevel which) {
    return which == PropertyLevel::Column        ? s.colProps
           : which == PropertyLevel::Row         ? s.rowProps
           : which == PropertyLevel::FixedColumn ? s.fixedColProps
                                                 : s.fixedRowProps;
}

StoreView viewOf(const AlignGrid& g, PropertyLevel which) {
    StoreView out;
    if (which == PropertyLevel::Cell) {
        for (const auto& [k, p] : g.stores().cellProps) out[{k.first, k.second}] = describe(p);
        return out;
    }
    for (const auto& [k, p] : lineStore(g.stores(), which)) out[{k, 0}] = describe(p);
    return out;
}

std::array<StoreView, 5> viewsOf(const AlignGrid& g) {
    std::array<StoreView, 5> views;
    for (int w = 0; w < 5; ++w) views[static_cast<std::size_t>(w)] = viewOf(g, PropertyLevel(w));
    return views;
}

void shapeGrid(AlignGrid& g, int base, fuzzing::ByteReader& in) {
    if (base == 1) {
        setUpStatisticsTable(g, 352, 141);
        Statistics counts;
        for (int k = 1; k <= kClassCount; ++k) {
            counts.firstDeal.onRow(k) = k * 1234;
            counts.secondDeal.onRow(k) = -k;
        }
        showStatistics(g, counts, kPaytableMultipliers);
        return;
    }
    if (base != 2) return;
    g.setColCount(in.byte() % 16);
    g.setRowCount(in.byte() % 16);
    const std::uint8_t fixed = in.byte();
    g.setFixedCols(fixed & 3);
    g.setFixedRows((fixed >> 2) & 3);
    g.setFlat((fixed & 16) != 0);
    g.setDefaultColWidth(in.byte());
    g.setDefaultRowHeight(in.byte() % 64);
    const std::uint8_t place = in.byte();
    g.setPlace((place & 15) * 16 - 60, (place >> 4) * 16 - 60);
    for (int r = 0; r < g.rowCount(); ++r) {
        for (int c = 0; c < g.colCount(); ++c)
            g.setCellText(c, r, (c + r) % 3 == 0 ? "Wide text that wraps" : std::to_string(c * r));
    }
}

const CellProperties* findIn(const AlignGrid& g, PropertyLevel which, int a, int b = 0) {
    auto lookIn = [](const auto& store, const auto& key) -> const CellProperties* {
        const auto it = store.find(key);
        return it == store.end() ? nullptr : &it->second;
    };
    const auto a16 = static_cast<std::uint16_t>(a);
    if (which == PropertyLevel::Cell)
        return lookIn(g.stores().cellProps, std::pair{a16, static_cast<std::uint16_t>(b)});
    return lookIn(lineStore(g.stores(), which), a16);
}

// The cell's entry, then its column's, then its row's (the fixed stores for a fixed cell): the
// first that sets a field decides it, else the grid's own setting.
void checkLookup(const AlignGrid& g, int col, int row) {
    const CellLook look = g.lookup(col, row);
    auto where = [&] { return "cell " + std::to_string(col) + "," + std::to_string(row); };
    if (look.align == CellAlign::NotSet || look.wordwrap == WordWrapMode::WrapNotSet ||
        look.font == nullptr || look.brush == nullptr)
        fuzzing::broken(where() + ": the lookup left a field not set");
    const bool fixed = col < g.fixedCols() || row < g.fixedRows();
    std::array<const CellProperties*, 3> levels{};
    if (col >= 0 && row >= 0 && col < AlignGrid::kMaxCount && row < AlignGrid::kMaxCount) {
        levels = {findIn(g, PropertyLevel::Cell, col, row),
                  findIn(g, fixed ? PropertyLevel::FixedColumn : PropertyLevel::Column, col),
                  findIn(g, fixed ? PropertyLevel::FixedRow : PropertyLevel::Row, row)};
    }
    CellAlign align = g.alignment() == CellAlign::NotSet ? CellAlign::Left : g.alignment();
    WordWrapMode wrap =
        g.wordwrap() == WordWrapMode::WrapNotSet ? WordWrapMode::Clip : g.wordwrap();
    const CellFont* font = fixed ? &g.fixedFont() : &g.font();
    const CellBrush* brush = nullptr;
    for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
        const CellProperties* p = *it;
        if (p == nullptr) continue;
        if (p->align != CellAlign::NotSet) align = p->align;
        if (p->wordwrap != WordWrapMode::WrapNotSet) wrap = p->wordwrap;
        if (p->font) font = p->font.get();
        if (p->brush) brush = p->brush.get();
    }
    if (look.align != align || look.wordwrap != wrap || look.font != font)
        fuzzing::broken(where() + ": the lookup did not take the first level that sets a field");
    if (brush != nullptr && look.brush != brush)
        fuzzing::broken(where() + ": the lookup skipped an entry's brush");
    if (brush == nullptr && look.brush->colour() != (fixed ? g.FixedColor() : g.Color()))
        fuzzing::broken(where() + ": the lookup's own brush is not the grid's colour");
}

// Compares whole row runs with memcmp: a pixel-by-pixel loop under the fuzzer's hooks would
// cost more than everything else an input does.
void checkPaint(const AlignGrid& g, const Rect& clip) {
    static const Picture blank = [] {
        Picture p(kPictureWidth, kPictureHeight);
        p.fill(kSentinel);
        return p;
    }();
    Picture target = blank;
    g.paint(target, clip);
    const Rect painted = intersect(clip, g.bounds());
    constexpr int kBpp = Picture::kBytesPerPixel;
    auto same = [&](int y, int from, int to) {
        if (to <= from) return true;
        const auto offset = static_cast<std::size_t>(from) * kBpp;
        return std::memcmp(target.row(y) + offset, blank.row(y) + offset,
                           static_cast<std::size_t>(to - from) * kBpp) == 0;
    };
    for (int y = 0; y < target.height(); ++y) {
        const bool crossed = painted.contains(painted.x, y);
        const bool kept = crossed ? same(y, 0, std::min(painted.x, target.width())) &&
                                        same(y, std::max(painted.x + painted.w, 0), target.width())
                                  : same(y, 0, target.width());
        if (!kept) {
            fuzzing::broken("the paint touched row " + std::to_string(y) +
                            " outside the repaint rectangle and the grid");
        }
    }
}

}  // namespace
}  // namespace fruvana

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fruvana;
    // The repaint rectangle comes from the tail, so the list's bytes stay at the front.
    Rect clip{0, 0, kPictureWidth, kPictureHeight};
    if (size >= 24) {
        fuzzing::ByteReader tail(data + size - 8, 8);
        auto coordinate = [&tail] { return static_cast<int>(tail.bits(2) % 1200) - 200; };
        clip = {coordinate(), coordinate(), coordinate() + 200, coordinate() + 200};
        size -= 8;
    }
    fuzzing::ByteReader in(data, size);
    const std::uint8_t pick = in.byte();
    const auto which = static_cast<PropertyLevel>(pick % 5);
    AlignGrid grid;
    shapeGrid(grid, (pick / 5) % 3, in);
    const PropertyList list = decodeList(in);
    const std::string name(propListName(which));

    const auto before = viewsOf(grid);
    const ListModel model = GrammarReader(list).read(which == PropertyLevel::Cell);
    const ParsedList parsed = parsePropertyList(which, list);
    const ListReadResult result = grid.readPropertyList(which, list);

    require(result.ok == !parsed.error && result.ok == !model.refusedAt,
            name + ": the reader and the list's grammar disagree on whether it can be read");
    if (!result.ok) {
        const std::string at = "item " + std::to_string(*model.refusedAt);
        require(result.position == *model.refusedAt && parsed.error->position == result.position,
                name + ": the refusal does not name " + at);
        require(result.message == parsed.error->message && result.message.rfind(name, 0) == 0 &&
                    result.message.find(at) != std::string::npos &&
                    result.message.find('\n') == std::string::npos,
                name + ": the reason is not one line naming the list and " + at);
        require(parsed.groups.empty(), name + ": a refused list still gave groups");
        require(viewsOf(grid) == before, name + ": a refused list changed the stores");
        return 0;
    }

    auto expected = before;
    StoreView& store = expected[static_cast<std::size_t>(which)];
    for (const auto& [place, entry] : model.groups) store[place] = entry;
    require(parsed.groups.size() == model.groups.size(),
            name + ": the reader found another number of groups than the list holds");
    require(viewsOf(grid) == expected,
            name + ": the stores do not hold the list's groups over the entries kept");
    require(grid.readPropertyList(which, list).ok && viewsOf(grid) == expected,
            name + ": reading the list again changed the stores");

    for (int row = -1; row <= std::min(grid.rowCount(), 20); ++row) {
        for (int col = -1; col <= std::min(grid.colCount(), 20); ++col) checkLookup(grid, col, row);
    }
    // The places the list names, as a column and as a row.
    for (const auto& [place, entry] : model.groups) {
        checkLookup(grid, place.first, place.second);
        checkLookup(grid, place.second, place.first);
    }
    checkPaint(grid, clip);
    return 0;
}
