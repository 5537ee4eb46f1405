#include "shell/program.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <utility>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "shell/data_folder.h"

namespace fruvana {

namespace {

constexpr std::string_view kHelpPage = "help.htm";

// A controller's buttons act as these keys of the key map.
struct PadKey {
    PadButton button;
    char32_t key;
};
constexpr std::array<PadKey, 11> kPadKeys{{
    {PadButton::A, U'\r'},
    {PadButton::DpadLeft, U'1'},
    {PadButton::DpadUp, U'2'},
    {PadButton::DpadRight, U'3'},
    {PadButton::LeftShoulder, U','},
    {PadButton::RightShoulder, U'.'},
    {PadButton::X, U'c'},
    {PadButton::B, U'o'},
    {PadButton::Y, U'a'},
    {PadButton::Back, U's'},
    {PadButton::Start, U'h'},
}};

}  // namespace

std::string fileUrl(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            url += ch;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() {
    timer2_.Enabled(false);
}

std::unique_ptr<Program> Program::start(Platform& platform, const FrameTimerFactory& frames,
                                        std::string& error) {
    std::unique_ptr<Program> program(new Program(platform));
    if (!program->FormCreate(frames, error)) return nullptr;
    return program;
}

bool Program::FormCreate(const FrameTimerFactory& frames, std::string& error) {
    if (auto icon = findAsset(AssetKind::Icon, "fruvana")) {
        if (std::optional<Picture> picture = loadBmp(*icon)) platform_.setWindowIcon(*picture);
    }
    if (!platform_.openWindow("Fruvana")) {
        // A display too shallow for any window the game can draw on (one whose colour depth
        // the platform cannot even name, as an 8-bit screen is) gets the intro's own message
        // as the one line the player sees.
        const ScreenInfo shown = platform_.screen();
        if (shown.width > 0 && shown.bitsPerPixel < 16) {
            error = std::string(kFewColoursText);
            return false;
        }
        const std::string why = platform_.windowProblem();
        error = "the game window cannot be opened" + (why.empty() ? "" : ": " + why);
        return false;
    }
    state_.inputEnabled = 0;
    // The player's files: beside the program when its folder can be written, else in the
    // user's data folder.
    const DataFolder folder = chooseDataFolder(currentPlaces(platform_.basePath()));
    state_.homeDir = folder.path;
    if (!folder.problem.empty())
        std::fprintf(stderr, "Fruvana: %s; money and statistics will not be kept\n",
                     folder.problem.c_str());
    state_.leverPressed = 0;
    state_.holdPressed = {0, 0, 0};
    state_.firstDealClass = 0;

    // The background, the digit table, the reels' pictures, the layout and the spin strips.
    const ScreenInfo screen = platform_.screen();
    screen_ = GameScreen::create(screen.width, screen.height, error);
    if (!screen_) return false;
    view_ = GameView::create(*screen_, loop_, state_, *this, frames(loop_), error);
    if (!view_) return false;

    // The platform's fast counter seeds the game; the headless one is fixed, so tests repeat.
    seedRandomSources(
        sources_, [this] { return static_cast<std::uint32_t>(platform_.performanceCounter()); });
    for (std::uint8_t& symbol : state_.reelSymbol) symbol = drawSymbol(sources_, kSymbolCount);

    optionsWritable_ = loadOptions(state_) != FileStatus::Unreadable;
    statisticsWritable_ = loadStatistics(state_) != FileStatus::Unreadable;
    creditWritable_ = loadCredit(state_) != FileStatus::Unreadable;
    saveCredit();
    state_.paytableMultipliers = kPaytableMultipliers;
    // Deliberate: the saved win joins the credit as a banked win does, so a credit near its
    // limit cannot pass what its meter and file hold; a win the account cannot take stays
    // pending.
    moveWinOntoCredit(state_);
    state_.phase = 1;
    state_.held = {0, 0, 0};

    game_ = std::make_unique<Game>(state_, sources_, pool_, *view_);
    view_->attach(*game_);
    controls_ = std::make_unique<Controls>(state_, *game_, *view_, *this);
    settings_ = SettingsScreen::create(*screen_, *view_, state_, *this, error);
    if (!settings_) return false;
    timer2_.OnTimer = [this](UiTimer&) { Timer2Timer(); };
    loop_.onInput = [this](const InputEvent& event) { route(event); };
    loop_.onPaint = [this] {
        const std::vector<Rect> painted = screen_->scene().paint(platform_.backBuffer());
        if (!painted.empty()) platform_.present(painted);
    };
    state_.inputEnabled = 1;
    return true;
}

void Program::FormShow() {
    if (shown_) return;
    shown_ = true;
    platform_.showWindow();
    exitAfterIntro_ = false;
    const ScreenInfo screen = platform_.screen();
    if (screen.width < 800 || screen.height < 600) {
        view_->setIntroMessage(kSmallScreenText);
        exitAfterIntro_ = true;
    }
    // A depth the platform cannot tell (0) skips the check.
    if (screen.bitsPerPixel > 0 && screen.bitsPerPixel < 16) {
        view_->setIntroMessage(kFewColoursText);
        exitAfterIntro_ = true;
    }
    view_->playSound("welcome");
    timer2_.Enabled(true);
}

int Program::run() {
    FormShow();
    loop_.run();
    return 0;
}

void Program::Timer2Timer() {
    timer2_.Enabled(false);
    if (exitAfterIntro_) {
        loop_.quit();
        return;
    }
    view_->revealCabinet();
}

void Program::quitGame(bool farewell) {
    state_.inputEnabled = 0;
    if (farewell && state_.options.voiceFx) {
        view_->playSound("bye");
        view_->delay(650);
    }
    saveCredit();
    saveset();
    if (statisticsWritable_) saveStatistics(state_);
    state_.inputEnabled = 1;
    // Deliberate: nothing acts once the files are written on the way out; a handler still
    // waiting further up must not start a deal or an autoplay tick that is never saved.
    view_->setTimer1Enabled(false);
    loop_.quit();
}

void Program::WMclose() {
    if (state_.inputEnabled == 0) return;
    quitGame(false);
}

void Program::openSettings() {
    state_.secondDealAtOpen = state_.options.secondDeal;
    focus_ = Form::Settings;
    settings_->show();
}

void Program::settingsClosed() {
    focus_ = Form::Game;
}

void Program::saveset() {
    if (optionsWritable_) fruvana::saveset(state_);
}

void Program::openHelp() {
    // Beside the program first (a build or a copy), then where an installed game keeps it.
    std::string page = platform_.basePath() + std::string(kHelpPage);
#ifdef FRUVANA_INSTALLED_DATA_DIR
    struct stat info {};
    if (::stat(page.c_str(), &info) != 0)
        page = std::string(FRUVANA_INSTALLED_DATA_DIR) + std::string(kHelpPage);
#endif
    // The game does not wait for the page, and a failure is not reported.
    platform_.openUrl(fileUrl(page));
}

void Program::saveCredit() {
    if (creditWritable_) fruvana::saveCredit(state_);
}

void Program::route(const InputEvent& event) {
    if (loop_.quitRequested()) return;
    if (event.kind == InputKind::CloseRequest) return WMclose();
    if (event.kind == InputKind::Gamepad) return padButton(event.pad);
    if (event.kind == InputKind::MouseDown) {
        // A press on the settings screen gives it the focus; a press beside it, the game.
        const bool onSettings =
            settings_->visible() && settings_->area().contains(event.x, event.y);
        focus_ = pressedForm_ = onSettings ? Form::Settings : Form::Game;
        if (onSettings) return settings_->mouseDown(event);
        return pointerDown(event);
    }
    if (event.kind == InputKind::MouseUp) {
        if (pressedForm_ == Form::Settings) return settings_->mouseUp(event);
        return pointerUp();
    }
    // Keys and the wheel reach only the form with the focus; the settings screen has none.
    if (focus_ != Form::Game) return;
    switch (event.kind) {
        case InputKind::Character:
            controls_->FormKeyPress(event.character);
            break;
        case InputKind::Enter:
            controls_->FormKeyPress(U'\r');
            break;
        case InputKind::Wheel:
            controls_->FormMouseWheel(event.wheel);
            break;
        default:
            break;
    }
}

void Program::padButton(PadButton button) {
    // Back closes a shown settings screen with its OK button, wherever the focus is.
    if (button == PadButton::Back && settings_->visible()) {
        settings_->Image2MouseDown(layout::kBigFaceCentre, layout::kBigFaceCentre);
        view_->delay(200);
        settings_->Image2MouseUp();
        return;
    }
    // The others are keys, and keys reach only the game when it has the focus.
    if (focus_ != Form::Game) return;
    for (const PadKey& pad : kPadKeys) {
        if (pad.button == button) return controls_->FormKeyPress(pad.key);
    }
}

void Program::pointerDown(const InputEvent& event) {
    const Layer* layer = screen_->scene().layerAt(event.x, event.y);
    pressed_ = layer != nullptr ? layer->name() : std::string();
    const Rect at = layer != nullptr ? layer->bounds() : Rect{};
    controls_->mouseDown(pressed_, event.x - at.x, event.y - at.y);
}

void Program::pointerUp() {
    controls_->mouseUp(std::exchange(pressed_, std::string()));
}

}  // namespace fruvana
