#include "shell/program.h"

#include "shell/data_files.h"

namespace fruvana {

Program::Program(Platform& platform) : platform_(platform) {}

Program::~Program() = default;

std::unique_ptr<Program> Program::start(Platform& platform, const FrameTimerFactory& frames,
                                        std::string& error) {
    std::unique_ptr<Program> program(new Program(platform));
    if (!program->build(frames, error)) return nullptr;
    return program;
}

bool Program::build(const FrameTimerFactory& frames, std::string& error) {
    if (!platform_.openWindow("Fruvana")) {
        error = "the game window cannot be opened";
        return false;
    }
    const ScreenInfo screen = platform_.screen();
    state_.homeDir = platform_.basePath();
    screen_ = GameScreen::create(screen.width, screen.height, error);
    if (!screen_) return false;
    view_ = GameView::create(*screen_, loop_, state_, *this, frames(loop_), error);
    if (!view_) return false;
    // The platform's fast counter seeds the game; the headless one is fixed, so tests repeat.
    seedRandomSources(
        sources_, [this] { return static_cast<std::uint32_t>(platform_.performanceCounter()); });
    for (std::uint8_t& symbol : state_.reelSymbol) symbol = drawSymbol(sources_, 10);
    game_ = std::make_unique<Game>(state_, sources_, pool_, *view_);
    view_->attach(*game_);

    loop_.onInput = [this](const InputEvent& event) { route(event); };
    loop_.onPaint = [this] {
        const std::vector<Rect> painted = screen_->scene().paint(platform_.backBuffer());
        if (!painted.empty()) platform_.present(painted);
    };
    view_->revealCabinet();
    return true;
}

int Program::run() {
    platform_.showWindow();
    loop_.run();
    return 0;
}

void Program::saveCredit() {
    fruvana::saveCredit(state_);
}

void Program::route(const InputEvent& event) {
    switch (event.kind) {
        case InputKind::MouseDown:
            pointerDown(event);
            break;
        case InputKind::MouseUp:
            pointerUp();
            break;
        case InputKind::CloseRequest:
            loop_.quit();
            break;
        default:
            break;
    }
}

void Program::pointerDown(const InputEvent& event) {
    const Layer* layer = screen_->scene().layerAt(event.x, event.y);
    pressed_ = layer != nullptr ? layer->name() : std::string();
    const Rect at = layer != nullptr ? layer->bounds() : Rect{};
    if (pressed_ == "Image8") {
        game_->Image8MouseDown(event.x - at.x, event.y - at.y);
    } else if (pressed_ == "Image5" || pressed_ == "lamp1") {
        game_->Image5MouseDown();
    } else if (pressed_ == "Image6" || pressed_ == "lamp2") {
        game_->Image6MouseDown();
    } else if (pressed_ == "Image7" || pressed_ == "lamp3") {
        game_->Image7MouseDown();
    }
}

void Program::pointerUp() {
    const std::string pressed = std::exchange(pressed_, std::string());
    if (pressed == "Image8") {
        game_->Image8MouseUp();
    } else if (pressed == "Image5" || pressed == "lamp1") {
        game_->Image5MouseUp();
    } else if (pressed == "Image6" || pressed == "lamp2") {
        game_->Image6MouseUp();
    } else if (pressed == "Image7" || pressed == "lamp3") {
        game_->Image7MouseUp();
    }
}

}  // namespace fruvana
