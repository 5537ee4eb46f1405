// Fruvana: the game window, full screen, with the tiled background and the cabinet.
#include <cstdio>
#include <string>

#include "platform/event_loop.h"
#include "platform/sdl_platform.h"
#include "presentation/game_screen.h"

int main() {
    using namespace fruvana;
    std::string error;
    std::unique_ptr<SdlPlatform> platform = SdlPlatform::create(SdlOptions{}, error);
    if (!platform) {
        std::fprintf(stderr, "Fruvana: %s\n", error.c_str());
        return 1;
    }
    if (!platform->openWindow("Fruvana")) {
        std::fprintf(stderr, "Fruvana: the game window cannot be opened\n");
        return 1;
    }
    const ScreenInfo screen = platform->screen();
    std::unique_ptr<GameScreen> game = GameScreen::create(screen.width, screen.height, error);
    if (!game) {
        std::fprintf(stderr, "Fruvana: %s\n", error.c_str());
        return 1;
    }
    game->showPlayArea();

    EventLoop loop(*platform);
    loop.onInput = [&](const InputEvent& event) {
        if (event.kind == InputKind::CloseRequest) loop.quit();
    };
    loop.onPaint = [&] {
        const std::vector<Rect> painted = game->scene().paint(platform->backBuffer());
        if (!painted.empty()) platform->present(painted);
    };
    platform->showWindow();
    loop.run();
    return 0;
}
