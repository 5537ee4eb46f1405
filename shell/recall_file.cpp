#include "shell/recall_file.h"

#include <algorithm>

#include "engine/machine_state.h"

namespace fruvana {

namespace {

// One game's record:
//    0  started at, int64 seconds      28  flags: 1 second deal, 2 unfinished, 4 collected
//    8  bet                            29  holds of reels 1 to 3: 0 none, 1 suggested, 2 chosen
//   12  credit, win, account before    32  second deal's line and class (zeros without one)
//   24  first deal's line and class    36  paid
//                                      40  credit, win, account after
constexpr std::uint8_t kSecondDealt = 1;
constexpr std::uint8_t kUnfinished = 2;
constexpr std::uint8_t kCollected = 4;

std::uint32_t checksum(std::span<const std::uint8_t> bytes) {
    std::uint32_t hash = 2166136261u;
    for (const std::uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
    return hash;
}

class Writer {
  public:
    explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
    void byte(std::uint8_t b) { out_.push_back(b); }
    void uint(std::uint64_t value, int bytes) {
        for (int b = 0; b < bytes; ++b) out_.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
    }
    void int32(std::int32_t v) { uint(static_cast<std::uint32_t>(v), 4); }
    void money(const Money& m) {
        int32(m.credit);
        int32(m.win);
        int32(m.account);
    }
    void line(const Line& line, ComboClass comboClass) {
        for (const std::uint8_t s : line) byte(s);
        byte(static_cast<std::uint8_t>(comboClass));
    }

  private:
    std::vector<std::uint8_t>& out_;
};

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
    std::uint8_t byte() { return in_[at_++]; }
    std::uint64_t uint(int bytes) {
        std::uint64_t value = 0;
        for (int b = 0; b < bytes; ++b) value |= std::uint64_t{byte()} << (8 * b);
        return value;
    }
    std::int32_t int32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(uint(4))); }
    Money money() {
        Money m;
        m.credit = int32();
        m.win = int32();
        m.account = int32();
        return m;
    }
    // The class byte is taken as it stands; the record's check refuses codes outside 1 to 12.
    void line(Line& line, ComboClass& comboClass) {
        for (std::uint8_t& s : line) s = byte();
        comboClass = static_cast<ComboClass>(byte());
    }

  private:
    std::span<const std::uint8_t> in_;
    std::size_t at_ = 0;
};

// The bytes that only the file holds: no flag but the known ones, and a known hold source.
bool knownBytes(std::uint8_t flags, const std::array<std::uint8_t, 3>& holds) {
    if ((flags & ~(kSecondDealt | kUnfinished | kCollected)) != 0) return false;
    for (const std::uint8_t h : holds)
        if (h > static_cast<std::uint8_t>(HoldSource::Chosen)) return false;
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodeRecall(const GameRecall& recall) {
    const std::size_t count = std::min(recall.size(), kRecalledGames);
    std::vector<std::uint8_t> out;
    out.reserve(2 + count * kRecallRecordSize + 4);
    Writer w(out);
    w.byte(kRecallFormat);
    w.byte(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const GameRecord& g = recall[i];
        w.uint(static_cast<std::uint64_t>(g.startedAt), 8);
        w.int32(g.bet);
        w.money(g.before);
        w.line(g.firstLine, g.firstClass);
        w.byte(static_cast<std::uint8_t>((g.secondDealt ? kSecondDealt : 0) |
                                         (g.unfinished ? kUnfinished : 0) |
                                         (g.collected ? kCollected : 0)));
        for (const HoldSource h : g.holds) w.byte(static_cast<std::uint8_t>(h));
        w.line(g.secondLine, g.secondClass);
        w.int32(g.paid);
        w.money(g.after);
    }
    w.uint(checksum(out), 4);
    return out;
}

std::optional<GameRecall> decodeRecall(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 + 4 || bytes[0] != kRecallFormat) return std::nullopt;
    const std::size_t count = bytes[1];
    if (count > kRecalledGames || bytes.size() != 2 + count * kRecallRecordSize + 4)
        return std::nullopt;
    const auto body = bytes.first(bytes.size() - 4);
    if (Reader(bytes.last(4)).uint(4) != checksum(body)) return std::nullopt;
    Reader r(body.subspan(2));
    GameRecall recall;
    for (std::size_t i = 0; i < count; ++i) {
        GameRecord g;
        g.startedAt = static_cast<std::int64_t>(r.uint(8));
        g.bet = r.int32();
        g.before = r.money();
        r.line(g.firstLine, g.firstClass);
        const std::uint8_t flags = r.byte();
        g.secondDealt = (flags & kSecondDealt) != 0;
        g.unfinished = (flags & kUnfinished) != 0;
        g.collected = (flags & kCollected) != 0;
        std::array<std::uint8_t, 3> holds{};
        for (std::size_t n = 0; n < 3; ++n) {
            holds[n] = r.byte();
            g.holds[n] = static_cast<HoldSource>(holds[n]);
        }
        r.line(g.secondLine, g.secondClass);
        g.paid = r.int32();
        g.after = r.money();
        if (!knownBytes(flags, holds) || !isPlayableRecord(g)) return std::nullopt;
        recall.push_back(g);
    }
    return recall;
}

}  // namespace fruvana
