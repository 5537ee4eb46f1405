#include "grid/property_lists.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

namespace fruvana {

std::string_view propListName(PropertyLevel which) {
    switch (which) {
        case PropertyLevel::Cell:
            return "Cell";
        case PropertyLevel::Column:
            return "Column";
        case PropertyLevel::Row:
            return "Row";
        case PropertyLevel::FixedColumn:
            return "FixedColumn";
        case PropertyLevel::FixedRow:
            return "FixedRow";
    }
    return "property list";
}

namespace {

// Walks one list item by item. The first failure is kept and every later read fails too, so the
// callers need only check once per record.
class Cursor {
  public:
    Cursor(PropertyLevel which, const PropertyList& list) : which_(which), list_(list) {}

    bool atEnd() const { return pos_ >= list_.size(); }
    bool failed() const { return error_.has_value(); }
    ReadError takeError() { return std::move(*error_); }

    std::optional<std::int64_t> integer(std::string_view what) {
        return take<std::int64_t>(what, "a string", "an integer");
    }
    std::optional<std::string> string(std::string_view what) {
        return take<std::string>(what, "an integer", "a string");
    }

  private:
    // The next item when it is a T; found and wanted name the two kinds when it is not.
    template <typename T>
    std::optional<T> take(std::string_view what, const char* found, const char* wanted) {
        if (!ready(what)) return std::nullopt;
        const auto* value = std::get_if<T>(&list_[pos_]);
        if (!value) {
            fail(std::string(found) + " stands where " + std::string(what) + " must be " + wanted);
            return std::nullopt;
        }
        ++pos_;
        return *value;
    }

    bool ready(std::string_view what) {
        if (failed()) return false;
        if (atEnd()) {
            fail(std::string("the list ends where ") + std::string(what) + " must follow");
            return false;
        }
        return true;
    }

    void fail(std::string reason) {
        error_ = ReadError{pos_, std::string(propListName(which_)) + ", item " +
                                     std::to_string(pos_) + ": " + std::move(reason)};
    }

    PropertyLevel which_;
    const PropertyList& list_;
    std::size_t pos_ = 0;
    std::optional<ReadError> error_;
};

// Indices are unsigned 16-bit numbers: larger or negative values keep their low 16 bits.
std::uint16_t toIndex(std::int64_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(value) & 0xFFFFu);
}

std::uint32_t toColour(std::int64_t value) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu);
}

int toInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

FontPitch toPitch(std::int64_t value) {
    // An unknown pitch asks for nothing in particular.
    return value == 1 ? FontPitch::Variable : value == 2 ? FontPitch::Fixed : FontPitch::Default;
}

std::unique_ptr<CellBrush> readBrush(Cursor& in) {
    const auto colour = in.integer("the brush colour");
    const auto style = in.integer("the brush style");
    if (in.failed()) return nullptr;
    return std::make_unique<CellBrush>(toColour(*colour), toInt(*style));
}

std::unique_ptr<CellFont> readFont(Cursor& in) {
    const auto colour = in.integer("the font colour");
    const auto height = in.integer("the font height");
    auto name = in.string("the font name");
    const auto pitch = in.integer("the font pitch");
    const auto style = in.integer("the font style");
    if (in.failed()) return nullptr;
    FontValues values;
    values.colour = toColour(*colour);
    values.height = toInt(*height);
    values.name = std::move(*name);
    values.pitch = toPitch(*pitch);
    auto font = std::make_unique<CellFont>(std::move(values));
    font->setStyle(*style);  // keeps the low 8 bits
    return font;
}

// One record: tagged items up to the tag 0. Returns false when the record cannot be read.
bool readRecord(Cursor& in, CellProperties& props) {
    for (;;) {
        const auto tag = in.integer("a property tag");
        if (!tag) return false;
        switch (*tag) {
            case 0:
                return true;
            case 1:
                if (const auto v = in.integer("the alignment")) props.align = toCellAlign(*v);
                break;
            case 2:
                if (const auto v = in.integer("the word-wrap mode")) {
                    props.wordwrap = toWordWrapMode(*v);
                }
                break;
            case 3:
                // Deliberate: a value other than 1 or 2 leaves editability unset instead of
                // storing a byte that means neither.
                if (const auto v = in.integer("the editability")) {
                    props.editable = (*v == 1 || *v == 2) ? static_cast<std::uint8_t>(*v) : 0;
                }
                break;
            case 4:
                props.brush = readBrush(in);
                break;
            case 5:
                props.selectedBrush = readBrush(in);
                break;
            case 6:
                props.font = readFont(in);
                break;
            case 7:
                props.selectedFont = readFont(in);
                break;
            default:
                // Deliberate: any other tag, negative ones too, carries no values and is passed
                // over, so a list written with newer tags still reads.
                break;
        }
        if (in.failed()) return false;
    }
}

}  // namespace

ParsedList parsePropertyList(PropertyLevel which, const PropertyList& list) {
    ParsedList out;
    Cursor in(which, list);
    while (!in.atEnd()) {
        ParsedGroup group;
        const auto first = in.integer(which == PropertyLevel::Cell ? "the column" : "the index");
        if (first) group.col = toIndex(*first);
        if (which == PropertyLevel::Cell) {
            if (const auto row = in.integer("the row")) group.row = toIndex(*row);
        }
        if (in.failed() || !readRecord(in, group.props)) {
            out.groups.clear();
            out.error = in.takeError();
            return out;
        }
        out.groups.push_back(std::move(group));
    }
    return out;
}

}  // namespace fruvana
