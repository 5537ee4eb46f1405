#include "shell/program.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/translation.h"
#include "shell/data_folder.h"
#include "shell/help_page.h"
#include "shell/recall_text.h"

namespace fruvana {

Program::Program(Platform& platform, PreferencesKeeper* keeper)
    : platform_(platform), keeper_(keeper != nullptr ? *keeper : ownKeeper_) {}

Program::~Program() {
    platform_.speech().onUnavailable({});
    autoplayTimer_.setEnabled(false);
}

std::unique_ptr<Program> Program::start(Platform& platform, const FrameTimerFactory& frames,
                                        std::string& error, PreferencesKeeper* keeper) {
    std::unique_ptr<Program> program(new Program(platform, keeper));
    if (!program->build(frames, error)) return nullptr;
    return program;
}

void Program::setWindowIcon() {
    const auto icon = findAsset(AssetKind::Icon, "fruvana");
    if (!icon) return;
    // A window without its icon is no reason to stop the game; the terminal learns why.
    std::string why;
    if (std::optional<Picture> picture = loadBmp(*icon, &why)) {
        platform_.setWindowIcon(*picture);
    } else {
        std::fprintf(stderr, tr("Fruvana: the window icon is left out: %s\n"), why.c_str());
    }
}

bool Program::build(const FrameTimerFactory& frames, std::string& error) {
    setWindowIcon();
    if (!platform_.openWindow("Fruvana")) {
        // Deliberate: a display too shallow for any window the game can draw on (one whose
        // colour depth the platform cannot even name, as an 8-bit screen is) gets the intro's
        // own message as one line, where the intro that would show it cannot be drawn.
        const ScreenInfo shown = platform_.screen();
        if (shown.width > 0 && shown.bitsPerPixel < 16) {
            error = tr(kFewColoursText);
            return false;
        }
        const std::string why = platform_.windowProblem();
        error = tr("the game window cannot be opened") + (why.empty() ? "" : ": " + why);
        return false;
    }
    // The background, the reels' pictures, the layout and the spin strips.
    const ScreenInfo screen = platform_.screen();
    screen_ = GameScreen::create(screen.width, screen.height, error);
    if (!screen_) return false;
    spinFrames_ = frames(loop_);
    if (!spinFrames_) {
        error = "no frame timer for the reels";
        return false;
    }
    view_ = GameView::create(*screen_, loop_, state_, *spinFrames_, error);
    if (!view_) return false;
    settings_ = SettingsScreen::create(*screen_, loop_, state_, error);
    if (!settings_) return false;
    recall_ = RecallScreen::create(*screen_, loop_, error);
    if (!recall_) return false;
    preferencesScreen_ = PreferencesScreen::create(*screen_, loop_, keeper_.preferences(),
                                                   keeper_.bindings(), &platform_.speech(), error);
    if (!preferencesScreen_) return false;
    realityCheck_ = RealityCheckPanel::create(*screen_, loop_, error);
    if (!realityCheck_) return false;
    overlays_ = std::make_unique<OverlayStack>(*view_, *settings_, *recall_, *preferencesScreen_,
                                               *realityCheck_);
    connectEvents();
    startMachine();
    return true;
}

void Program::startMachine() {
    // The player's files: beside the program when its folder can be written, else in the
    // user's data folder.
    const DataFolder folder = chooseDataFolder(currentPlaces(platform_.basePath()));
    state_.dataFolder = folder.path;
    if (!folder.problem.empty())
        std::fprintf(stderr, tr("Fruvana: %s; money and statistics will not be kept\n"),
                     folder.problem.c_str());

    // The platform's fast counter seeds the game; the headless one is fixed, so tests repeat.
    seedRandomSources(
        sources_, [this] { return static_cast<std::uint32_t>(platform_.performanceCounter()); });

    files_.load(state_);

    game_ = std::make_unique<Game>(state_, sources_, pool_, *view_, *this);
    breaks_.attach(*game_, *view_, *overlays_, *realityCheck_);
    game_->observe(&spokenPlay_);
    platform_.speech().setLanguage(translationLanguage());
    input_ = std::make_unique<InputRouter>(*game_, *view_, *overlays_, loop_, keeper_.bindings());
    input_->onSwitchWindowMode = [this] { platform_.switchWindowMode(); };
    input_->onFormControlPressed = [this](const Control& control) {
        spokenPlay_.controlPressed(control);
    };
    game_->resume();
    applyPreferences(keeper_.preferences());
}

void Program::connectEvents() {
    // The end of a spin reaches the engine from the frame tick that stops the last reel.
    spinFrames_->onTimer = [this](FrameTimer&) {
        if (view_->paintSpinFrame()) game_->finishSpin();
    };
    autoplayTimer_.onTimer = [this](UiTimer&) { game_->autoplayTick(); };
    preferencesScreen_->onChange = [this](PreferencesForm::Result r) { preferenceChanged(r); };
    // Spoken play hears what the player sees: the message line and the overlays.
    view_->onMessage = [this](const std::string& text) { spokenPlay_.messageShown(text); };
    overlays_->setListener(&spokenPlay_);
    // Speech found missing while the preferences screen is shown reads Unavailable at once.
    platform_.speech().onUnavailable([this] {
        loop_.post([this] {
            if (preferencesScreen_->visible()) preferencesScreen_->refresh();
        });
    });
    loop_.onInput = [this](const InputEvent& event) {
        if (event.kind == InputKind::FocusLost || event.kind == InputKind::FocusGained) {
            breaks_.focusChanged(event.kind == InputKind::FocusGained);
            return;
        }
        input_->route(event);
    };
    // A handler that throws: its reason on one line, and no more input; run() ends the game.
    loop_.onHandlerFailure = [this](const std::string& why) {
        std::fprintf(stderr, tr("Fruvana: %s; the game ends and saves its files\n"), why.c_str());
        handlerFailed_ = true;
        loop_.quit();
    };
    loop_.onPaint = [this] {
        const std::vector<Rect> painted = screen_->scene().paint(platform_.backBuffer());
        if (!painted.empty()) platform_.present(painted);
    };
}

PreferenceTargets Program::preferenceTargets() {
    return {*view_, *game_, spokenPlay_, breaks_.realityClock()};
}

void Program::applyPreferences(const Preferences& preferences) {
    keeper_.preferences() = preferences;
    PreferenceTargets targets = preferenceTargets();
    fruvana::applyPreferences(preferences, targets);
}

void Program::showPreferences() {
    overlays_->open(Overlay::Preferences, [this] { preferencesScreen_->show(); });
}

void Program::preferenceChanged(PreferencesForm::Result result) {
    using Result = PreferencesForm::Result;
    if (result == Result::Value) {
        PreferenceTargets targets = preferenceTargets();
        applyChanged(preferencesScreen_->form().changed(), keeper_.preferences(), targets);
    }
    if (result != Result::Closed) return;
    overlays_->close(Overlay::Preferences);
    applyPreferences(keeper_.preferences());
    std::string note;
    keeper_.keep(note);
    if (!note.empty()) std::fprintf(stderr, "Fruvana: %s\n", note.c_str());
}

void Program::showWindow() {
    intro_.begin(*view_);
}

int Program::run() {
    showWindow();
    loop_.run();
    if (!handlerFailed_) return 0;
    // Deliberate: a handler that threw may have left input off with no deal to turn it on
    // again, or a rule half applied, and nothing can tell which; rather than a machine that
    // takes no input, or one in a state no rule made, the game ends as its way out ends it.
    // It ends here, once every handler has returned, so no deal waiting further up goes on
    // after the files are written.
    if (spinFrames_->enabled()) {
        // The turning reels' line was drawn at the pull: they stop on it and it is paid, so
        // the game is recalled whole and no stake is lost.
        spinFrames_->setEnabled(false);
        loop_.runHandler("the turning reels were not stopped", [this] { game_->finishSpin(); });
    }
    loop_.runHandler("the files were not all saved", [this] { game_->quit(false); });
    return 1;
}

void Program::showSettings() {
    overlays_->open(Overlay::Settings, [this] { settings_->show(); });
}

void Program::showOptionSwitch(int screenRow) {
    settings_->showSwitch(screenRow);
    spokenPlay_.controlPressed({ControlKind::OptionSwitch, Button{}, screenRow});
}

void Program::hideSettings() {
    overlays_->close(Overlay::Settings);
}

void Program::showRecall() {
    const std::string session =
        sessionLine(game_->session(), platform_.wallClock(), moneyOf(state_).total());
    overlays_->open(Overlay::Recall, [&] { recall_->show(state_.recall, session); });
}

void Program::hideRecall() {
    overlays_->close(Overlay::Recall);
}

void Program::openHelp() {
    std::vector<std::string> folders{platform_.basePath()};
#ifdef FRUVANA_INSTALLED_DATA_DIR
    folders.emplace_back(FRUVANA_INSTALLED_DATA_DIR);
#endif
    // The game does not wait for the page; one that cannot be opened is said on stderr by the
    // platform, with its reason, and the game goes on.
    (void)platform_.openUrl(helpPageUrl(folders, translationLanguage()));
}

}  // namespace fruvana
