// Fuzzes the whole headless program with play decoded from the input.
//
// Input: byte 0 sets the machine up (bit 0: a credit file of the next 16 bytes is there at
// start-up, bit 1: an options file of the 5 bytes after it, bit 2: an 800 x 600 screen instead
// of 1024 x 768, bit 3: no sound device); bytes 1 to 4 are the fast counter that seeds the
// deals. Then each step comes from a lead byte: its low 3 bits say what (a key; a click, a
// press or a release at a place on the cabinet, the settings screen or the recall, or at any
// point; a long or a short wait on the clock; a controller button; a wheel step, a close
// request, or a wait until the reels stop) and its high 5 bits which one.
//
// After every step, and every 100 ms of a wait: the clock moved no further than the step
// allows; the money (credit + win + account) moved only by the stakes and pays that the
// statistics account for, with at most one deal evaluated, and stayed in its ranges; the
// statistics only ever count on, but for the settings screen's reset, which leaves credit
// 1000, account -1000 and no counts. The session's net change of money is the sum of those
// stakes and pays, and each game the recall gains paid its last deal's prize and moved the
// money by that less its bet. While the cabinet takes input, its credit, win and bet meters
// show the state. When the program ends, its four files hold what it ended with.
// Every input plays on a program started over in a scratch folder emptied for it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless_platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/meters.h"
#include "presentation/picture_names.h"
#include "shell/data_files.h"
#include "shell/program.h"
#include "shell/recall_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/files.h"
#include "tests/support/ledger.h"
#include "tests/support/program.h"

namespace fruvana {
namespace {

namespace L = layout;
using fuzzing::broken;
using fuzzing::require;
using testing::Bytes;
using testing::readFile;
using testing::readMeter;
namespace ledger = testing::ledger;

// Bounds that keep one input to a few seconds at most: 200 steps, two minutes of play.
constexpr int kMostSteps = 200;
constexpr std::uint64_t kMostPlayMs = 120'000;
// A wait runs in slices this short, so that no slice holds two deals: a spin takes at least
// 0.7 s, and autoplay pulls every 4 s.
constexpr std::uint32_t kSliceMs = 100;
// The most one input event may move the clock: a key holds 200 ms, stopping autoplay waits
// 1.5 s, the farewell 0.65 s, and an autoplay tick that finds no credit 1.5 s inside them.
constexpr std::uint64_t kLongestEventMs = 10'000;

// ---- Places on the cabinet, the settings screen and the recall ------------------------------

struct Place {
    L::Offset at;
    int x;
    int y;
};

constexpr std::array<Place, 32> kPlaces{{
    {L::kLeverAt, 26, 26},  // the knob
    {L::kLeverAt, 2, 2},    // the lever beside its knob
    {L::kReelsAt[0], 61, 61},
    {L::kReelsAt[1], 61, 61},
    {L::kReelsAt[2], 61, 61},
    {L::kLampsAt[0], 46, 7},
    {L::kLampsAt[1], 46, 7},
    {L::kLampsAt[2], 46, 7},
    {L::kHelpAt, 26, 26},
    {L::kExitAt, 26, 26},
    {L::kBetDownAt, 16, 16},
    {L::kBetUpAt, 16, 16},
    {L::kCoinAt, 26, 26},
    {L::kCoinAt, 1, 1},  // a corner beside the round face
    {L::kCollectAt, 16, 16},
    {L::kSettingsAt, 16, 16},
    {L::kAutoplayAt, 16, 16},
    {L::kAutoplayAt, 1, 1},
    {L::kCreditMeterAt, 10, 5},
    {L::kOkAt, 26, 26},
    {L::kOkAt, 1, 1},
    {L::kResetAt, 16, 16},
    {L::kSwitchesAt[0], 10, 10},
    {L::kSwitchesAt[1], 10, 10},
    {L::kSwitchesAt[2], 10, 10},
    {L::kSwitchesAt[3], 10, 10},
    {L::kSwitchesAt[4], 10, 10},
    {L::kAccountAt, 5, 5},
    {L::kStatisticsAt, 100, 100},
    {L::kRecallButtonAt, 16, 16},
    {L::kPreferencesButtonAt, 16, 16},
    {{0, 0}, -5, -5},  // beside the cabinet, on a screen larger than it
}};

// Enter comes as its own event; the others as typed characters, the game's keys among them.
constexpr std::array<char32_t, 30> kKeys{
    U'\r', U' ', U'1', U'2', U'3', U',', U'.', U'c', U'C', U'o', U'O', U'0',  U'a', U'A', U's',
    U't',  U'T', U'h', U'r', U'R', U'x', 27,   U'4', U'p', U'P', U'+', U'\t', 0,    U'é', 0x1F600};
constexpr int kPadButtons = kPadButtonCount;

// ---- The state as the checks see it ---------------------------------------------------------

struct Snapshot {
    std::int32_t bet = 0;
    std::int32_t win = 0;
    std::int32_t credit = 0;
    std::int32_t account = 0;
    Statistics statistics;
    bool turning = false;  // a deal's reels turn: the game takes no input meanwhile
    Phase phase = Phase::FirstDeal;

    std::int64_t money() const { return std::int64_t{credit} + win + account; }
    bool firstDealTurning() const { return turning && phase == Phase::FirstDeal; }
    bool secondDealTurning() const { return turning && phase == Phase::SecondDeal; }
    std::string text() const {
        return "bet " + std::to_string(bet) + ", win " + std::to_string(win) + ", credit " +
               std::to_string(credit) + ", account " + std::to_string(account);
    }
};

// The class an evaluation counted in one column (1 to 11, or 12 for no win), 0 when the column
// did not move; a column that moved any other way breaks its promise.
int countedClass(const DealCounts& before, const DealCounts& after, const std::string& what) {
    const std::int64_t evaluations = std::int64_t{after.deals} - before.deals;
    int found = 0;
    for (int k = 1; k <= 11; ++k) {
        const std::int64_t step = std::int64_t{after.onRow(k)} - before.onRow(k);
        if (step == 0) continue;
        if (step != 1 || found != 0 || evaluations != 1)
            broken(what + ": the statistics moved other than by one evaluation");
        found = k;
    }
    if (evaluations < 0 || evaluations > 1)
        broken(what + ": the statistics moved other than by one evaluation");
    return evaluations == 0 ? 0 : found != 0 ? found : 12;
}

// ---- One game ---------------------------------------------------------------------------------

// A headless program for one screen size, and its painting, which the session runs itself.
struct Machine {
    testing::HeadlessGame game;
    std::function<void()> paint;

    void restart(const HeadlessOptions& options) {
        game.platform->restart(options);
        testing::ProgramRestart::restart(*game.program);
    }
};

// The program for the input's screen (1024 x 768 or 800 x 600), started at the first input on
// that screen and started over for every input after.
Machine& machineFor(const HeadlessOptions& options) {
    static std::array<Machine, 2> machines;
    Machine& machine = machines[options.screen.width == 800 ? 1 : 0];
    if (machine.game.program) {
        machine.restart(options);
        return machine;
    }
    machine.game.options = options;
    std::string error;
    if (!machine.game.launch(false, error)) broken("the program did not start: " + error);
    // The frame is composed only where the meters are read: the layers change as ever, and one
    // paint before each reading brings all that changed onto the frame at once.
    machine.paint = std::exchange(machine.game.program->loop().onPaint, [] {});
    return machine;
}

class Session {
  public:
    explicit Session(Machine& machine) : game_(machine.game), paint_(machine.paint) {
        game_.program->showWindow();
        game_.program->loop().delay(kIntroMs + 10);
        require(!game_.program->ended() && cabinetShown(),
                "the cabinet is not shown after the intro");
        startMs_ = game_.platform->ticksMs();
    }

    bool over() const {
        return game_.program->ended() || game_.platform->ticksMs() - startMs_ > kMostPlayMs;
    }
    void label(std::string what) { step_ = std::move(what); }

    void route(const InputEvent& event) {
        const bool mayReset =
            event.kind == InputKind::MouseUp && game_.program->settings().visible();
        unit([&] { game_.program->input().route(event); }, kLongestEventMs, mayReset);
    }
    void wait(std::uint32_t ms) {
        if (ms == 0) return unit([] {}, kLongestEventMs, false);
        while (ms > 0 && !game_.program->ended()) {
            const std::uint32_t slice = std::min(ms, kSliceMs);
            unit([&] { game_.program->loop().delay(slice); }, slice + kLongestEventMs, false);
            ms -= slice;
        }
    }
    // Waits until the game takes input again, or 10 s.
    void settle() {
        for (int i = 0; i < 100 && !game_.program->ended() && state().inputEnabled == 0; ++i)
            wait(kSliceMs);
    }

    // After each step: the meters, the files after the way out, and no log left to grow.
    void checkAfterStep() {
        if (trace_) {
            const Snapshot now = snapshot();
            std::fprintf(stderr, "%s: %s, deals %d + %d%s%s\n", step_.c_str(), now.text().c_str(),
                         now.statistics.firstDeal.deals, now.statistics.secondDeal.deals,
                         now.turning ? ", reels turning" : "",
                         game_.program->ended() ? ", ended" : "");
        }
        game_.platform->clearPresents();
        game_.platform->headlessAudio().clearLog();
        if (game_.program->ended()) return checkFilesAfterTheWayOut();
        if (!cabinetShown() || game_.program->settings().visible() ||
            game_.program->recall().visible() || game_.program->preferencesScreen().visible() ||
            game_.program->realityCheck().visible() || state().inputEnabled == 0)
            return;
        paint_();
        const Picture& frame = game_.platform->frame();
        const CabinetOrigin o = game_.program->view().screen().origin();
        const MachineState& s = state();
        const std::string credit =
            readMeter(frame, o.x + L::kCreditMeterAt.x, o.y + L::kCreditMeterAt.y, 7);
        const std::string win = readMeter(frame, o.x + L::kWinMeterAt.x, o.y + L::kWinMeterAt.y, 7);
        const std::string bet = readMeter(frame, o.x + L::kBetMeterAt.x, o.y + L::kBetMeterAt.y, 2);
        if (credit != testing::meterText(s.credit, 7) || win != testing::meterText(s.win, 7) ||
            bet != testing::meterText(s.bet, 2)) {
            broken(step_ + ": the meters show credit " + credit + ", win " + win + ", bet " + bet +
                   " for " + snapshot().text());
        }
    }

    std::pair<int, int> onScreen(const Place& p) { return game_.onCabinet(p.at, p.x, p.y); }
    int screenWidth() const { return game_.platform->screen().width; }
    int screenHeight() const { return game_.platform->screen().height; }

  private:
    MachineState& state() { return game_.program->game().state(); }
    bool cabinetShown() const {
        const PictureLayer* cabinet = game_.program->view().screen().layer(layers::kCabinet);
        return cabinet != nullptr && cabinet->visible();
    }

    Snapshot snapshot() {
        const MachineState& s = state();
        return {s.bet,     s.win,        s.credit,
                s.account, s.statistics, s.inputEnabled == 0 && !game_.program->ended(),
                s.phase};
    }

    // Runs part of a step and checks the clock and the money across it.
    template <typename Action>
    void unit(Action action, std::uint64_t longestMs, bool mayReset) {
        const Snapshot before = snapshot();
        const std::uint64_t startedAt = game_.platform->ticksMs();
        action();
        game_.program->loop().pumpPending();
        const std::uint64_t took = game_.platform->ticksMs() - startedAt;
        if (took > longestMs) {
            broken(step_ + ": the clock ran " + std::to_string(took) +
                   " ms, more than the step allows");
        }
        checkMoney(before, snapshot(), mayReset);
    }

    void checkMoney(const Snapshot& b, const Snapshot& a, bool mayReset) {
        if (a.bet < 1 || a.bet > 10 || a.win < 0 || a.win > 5000 || a.credit < 0 ||
            a.credit > 9'999'999 || a.account < -99'999'999 || a.account > 99'999'999)
            broken(step_ + ": the money left its ranges: " + a.text());
        const bool cleared = a.statistics == Statistics{};
        if (cleared && mayReset && a.credit == 1000 && a.win == 0 && a.account == -1000) {
            // The settings screen's reset: the money starts afresh, and a game waiting for its
            // second deal now ends on money it did not start with.
            if (const auto& waiting = game_.program->game().gameInProgress())
                spannedReset_.emplace_back(waiting->startedAt, waiting->before);
            return;
        }
        if (cleared && b.statistics != Statistics{})
            broken(step_ + ": the statistics were cleared without a reset");

        const int first =
            countedClass(b.statistics.firstDeal, a.statistics.firstDeal, step_ + " (first deals)");
        const int second = countedClass(b.statistics.secondDeal, a.statistics.secondDeal,
                                        step_ + " (second deals)");
        if (first != 0 && second != 0) broken(step_ + ": two deals were evaluated in one step");
        // Deals begun: evaluated ones, and those turning now but not before.
        const int firstDeals = (first != 0) + a.firstDealTurning() - b.firstDealTurning();
        const int secondDeals = (second != 0) + a.secondDealTurning() - b.secondDealTurning();
        if (firstDeals < 0 || firstDeals > 1 || secondDeals < 0 || secondDeals > 1) {
            broken(step_ + ": deals began or ended unaccounted for (" + std::to_string(firstDeals) +
                   " first, " + std::to_string(secondDeals) + " second)");
        }
        // A first deal takes the bet (as Auto bet may have lowered it) and its result pays
        // from nothing, its old win having gone onto the credit; a second deal is free and its
        // result replaces the win of the first. A deal turning before the step keeps its bet.
        const std::int64_t bet = b.turning ? b.bet : a.bet;
        const std::int64_t stakes = std::int64_t{firstDeals} * a.bet;
        std::int64_t expected = -stakes;
        if (first != 0) expected += ledger::kPayOfClass[static_cast<std::size_t>(first)] * bet;
        if (second != 0)
            expected += ledger::kPayOfClass[static_cast<std::size_t>(second)] * bet - b.win;
        if (a.money() - b.money() != expected) {
            broken(step_ + ": the money moved by " + std::to_string(a.money() - b.money()) +
                   " where stakes and pays make " + std::to_string(expected) + " (from " +
                   b.text() + " to " + a.text() + ")");
        }
        net_ += expected;
        const std::int64_t sessionNet = a.money() - game_.program->game().session().moneyAtStart;
        if (sessionNet != net_) {
            broken(step_ + ": the session's net change is " + std::to_string(sessionNet) +
                   " where its stakes and pays make " + std::to_string(net_));
        }
        checkNewestGame();
    }

    // The game the recall gained last: what it paid and how it moved the money.
    void checkNewestGame() {
        const GameRecall& recall = state().recall;
        if (recall.size() > kRecalledGames)
            broken(step_ + ": the recall holds more than ten games");
        if (recall.empty() || (newest_ && recall.front() == *newest_)) return;
        newest_ = recall.front();
        const GameRecord& g = recall.front();
        const int last = codeOf(g.secondDealt ? g.secondClass : g.firstClass);
        // A first deal's win collected before the second deal is paid too.
        const auto first =
            static_cast<std::size_t>(g.collected && g.secondDealt ? codeOf(g.firstClass) : 12);
        if (g.bet < 1 || g.bet > 10 || last < 1 || last > 12 || first > 12 ||
            g.paid !=
                (ledger::kPayOfClass[static_cast<std::size_t>(last)] + ledger::kPayOfClass[first]) *
                    g.bet)
            broken(step_ + ": the recalled game did not pay its last deal's prize");
        if (g.unfinished && !game_.program->ended())
            broken(step_ + ": a game was recalled as unfinished while the program runs");
        const bool spanned = std::find(spannedReset_.begin(), spannedReset_.end(),
                                       std::pair{g.startedAt, g.before}) != spannedReset_.end();
        if (!spanned && g.after.total() - g.before.total() != std::int64_t{g.paid} - g.bet) {
            broken(step_ + ": the recalled game moved the money from " +
                   std::to_string(g.before.total()) + " to " + std::to_string(g.after.total()) +
                   " paying " + std::to_string(g.paid) + " on a bet of " + std::to_string(g.bet));
        }
    }

    // The way out writes the four files with what the game ended with.
    void checkFilesAfterTheWayOut() {
        if (checkedFiles_) return;
        checkedFiles_ = true;
        const MachineState& s = state();
        auto holds = [&](std::string_view name, const Bytes& bytes) {
            return readFile(s.dataFolder + std::string(name)) == bytes;
        };
        const Options& o = s.options;
        Bytes statistics;
        for (const DealCounts* column : {&s.statistics.firstDeal, &s.statistics.secondDeal})
            for (int k = 1; k <= DealCounts::kRows; ++k)
                testing::appendLe(statistics, static_cast<std::uint32_t>(column->onRow(k)), 4);
        require(holds(kCreditFileName, testing::le32({s.bet, s.win, s.credit, s.account})),
                step_ + ": the credit file does not hold the money the game ended with");
        require(holds(kOptionsFileName,
                      Bytes{o.autoBet, o.secondDeal, o.smartHold, o.voiceFx, o.soundFx}),
                step_ + ": the options file does not hold the options the game ended with");
        require(holds(kStatisticsFileName, statistics),
                step_ + ": the statistics file does not hold the counts the game ended with");
        require(holds(kRecallFileName, encodeRecall(s.recall)),
                step_ + ": the recall file does not hold the games the game ended with");
    }

    testing::HeadlessGame& game_;
    const std::function<void()>& paint_;
    std::uint64_t startMs_ = 0;
    std::string step_ = "start-up";
    bool checkedFiles_ = false;
    // The sum of the stakes and pays since start-up, and the recall's newest game seen.
    std::int64_t net_ = 0;
    std::optional<GameRecord> newest_;
    // Games that were waiting for their second deal when the money was reset.
    std::vector<std::pair<std::int64_t, Money>> spannedReset_;
    // FRUVANA_FUZZ_TRACE=1 prints every step and the money after it, to follow a saved input.
    const bool trace_ = std::getenv("FRUVANA_FUZZ_TRACE") != nullptr;
};

// ---- Decoding ---------------------------------------------------------------------------------

// A place from the table, or any point with any mouse button when arg is past its end.
struct Point {
    int x;
    int y;
    MouseButton button;
    std::string text;
};

Point pointFor(int arg, fuzzing::ByteReader& in, Session& game) {
    if (arg < static_cast<int>(kPlaces.size())) {
        const auto [x, y] = game.onScreen(kPlaces[static_cast<std::size_t>(arg)]);
        return {x, y, MouseButton::Left, "place " + std::to_string(arg)};
    }
    const int x =
        static_cast<int>(in.bits(2) % static_cast<unsigned>(game.screenWidth() + 40)) - 20;
    const int y =
        static_cast<int>(in.bits(2) % static_cast<unsigned>(game.screenHeight() + 40)) - 20;
    const auto button = static_cast<MouseButton>(in.byte() % 4);
    return {x, y, button, "point " + std::to_string(x) + "," + std::to_string(y)};
}

void playStep(int index, fuzzing::ByteReader& in, Session& game) {
    const std::uint8_t lead = in.byte();
    const int arg = lead >> 3;
    const std::string at = "step " + std::to_string(index);
    switch (lead & 7) {
        case 0: {
            const char32_t key = kKeys[static_cast<std::size_t>(arg) % kKeys.size()];
            game.label(at + " (key " + std::to_string(static_cast<std::uint32_t>(key)) + ")");
            game.route(key == U'\r' ? InputEvent::enter() : InputEvent::typed(key));
            break;
        }
        case 1: {
            const Point p = pointFor(arg, in, game);
            game.label(at + " (click at " + p.text + ")");
            game.route(InputEvent::mouseDown(p.x, p.y, p.button));
            game.route(InputEvent::mouseUp(p.x, p.y, p.button));
            break;
        }
        case 2: {
            const Point p = pointFor(arg, in, game);
            game.label(at + " (press at " + p.text + ")");
            game.route(InputEvent::mouseDown(p.x, p.y, p.button));
            break;
        }
        case 3: {
            const Point p = pointFor(arg, in, game);
            game.label(at + " (release at " + p.text + ")");
            game.route(InputEvent::mouseUp(p.x, p.y, p.button));
            break;
        }
        case 4: {
            const auto ms = static_cast<std::uint32_t>(std::min(3000, arg * 100 + in.byte() % 100));
            game.label(at + " (wait " + std::to_string(ms) + " ms)");
            game.wait(ms);
            break;
        }
        case 5:
            game.label(at + " (wait " + std::to_string(arg * 4) + " ms)");
            game.wait(static_cast<std::uint32_t>(arg * 4));
            break;
        case 6:
            game.label(at + " (controller button " + std::to_string(arg % kPadButtons) + ")");
            game.route(InputEvent::padButton(static_cast<PadButton>(arg % kPadButtons)));
            break;
        default:
            if (arg < 8) {
                game.label(at + " (wheel " + (arg % 2 ? "away" : "towards") + ")");
                game.route(InputEvent::wheelStep(arg % 2 ? 1 : -1));
            } else if (arg < 16) {
                game.label(at + " (arrow " + std::to_string(arg % 4) + ")");
                game.route(InputEvent::arrowKey(static_cast<Arrow>(arg % 4)));
            } else if (arg < 24) {
                game.label(at + " (close request)");
                game.route(InputEvent::closeRequest());
            } else {
                game.label(at + " (until the reels stop)");
                game.settle();
            }
            break;
    }
    game.checkAfterStep();
}

}  // namespace
}  // namespace fruvana

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fruvana;
    fuzzing::ByteReader in(data, size);
    const std::uint8_t setup = in.byte();
    HeadlessOptions options;
    options.performanceCounter = in.bits(4);
    if (setup & 4) options.screen = ScreenInfo{800, 600, 32};
    options.audioAvailable = (setup & 8) == 0;
    fuzzing::clearScratchFolder();
    options.basePath = fuzzing::scratchFolder();
    if (setup & 1) testing::writeFile(options.basePath + std::string(kCreditFileName), in.take(16));
    if (setup & 2) testing::writeFile(options.basePath + std::string(kOptionsFileName), in.take(5));

    Machine& machine = machineFor(options);
    {
        Session game(machine);
        for (int step = 0; step < kMostSteps && !in.empty() && !game.over(); ++step)
            playStep(step, in, game);
    }
    // Started over again, the program holds no more than it did before the input: more
    // allocations than releases then means a leak, which libFuzzer looks for after every input.
    machine.restart(options);
    return 0;
}
