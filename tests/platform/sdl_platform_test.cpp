// The SDL back end, run on SDL's dummy video driver, and the translation of SDL's events.
#include "platform/sdl_platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include "platform/event_loop.h"
#include "platform/placement.h"
#include "platform/sdl_input.h"

namespace fruvana {
namespace {

// Sets environment variables (null: unset) for one test and puts them back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (auto [name, value] : values) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name,
                                old != nullptr ? std::optional<std::string>(old) : std::nullopt);
            set(name, value);
        }
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : saved_) set(name, value ? value->c_str() : nullptr);
    }

  private:
    static void set(const char* name, const char* value) {
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

SDL_Event textInput(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, text, sizeof(e.text.text) - 1);
    return e;
}

SDL_Event keyDown(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    return e;
}

SDL_Event altEnter() {
    SDL_Event e = keyDown(SDLK_RETURN);
    e.key.keysym.mod = KMOD_LALT;
    return e;
}

SDL_Event padDown(SDL_GameControllerButton b) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = static_cast<Uint8>(b);
    return e;
}

SDL_Event wheel(int y, Uint32 direction) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.direction = direction;
    return e;
}

SDL_Event button(Uint32 type, Uint8 which, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = which;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event windowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

struct TranslationCase {
    const char* name;
    SDL_Event event;
    std::vector<InputEvent> expected;
    friend void PrintTo(const TranslationCase& c, std::ostream* os) { *os << c.name; }
};

class Translation : public testing::TestWithParam<TranslationCase> {};

TEST_P(Translation, GivesTheProgramsOwnEvents) {
    std::vector<InputEvent> out;
    translateSdlEvent(GetParam().event, out);
    EXPECT_EQ(out, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Events, Translation,
    testing::Values(
        TranslationCase{"space_typed", textInput(" "), {InputEvent::typed(U' ')}},
        TranslationCase{"space_key_down_is_not_a_second_space", keyDown(SDLK_SPACE), {}},
        TranslationCase{"letter_key_down_is_not_a_character", keyDown(SDLK_c), {}},
        TranslationCase{"two_characters_in_one_event",
                        textInput("c0"),
                        {InputEvent::typed(U'c'), InputEvent::typed(U'0')}},
        TranslationCase{
            "accented_character", textInput("\xC3\xA9"), {InputEvent::typed(U'\u00E9')}},
        TranslationCase{"enter", keyDown(SDLK_RETURN), {InputEvent::enter()}},
        TranslationCase{"keypad_enter", keyDown(SDLK_KP_ENTER), {InputEvent::enter()}},
        TranslationCase{"wheel_away", wheel(1, SDL_MOUSEWHEEL_NORMAL), {InputEvent::wheelStep(1)}},
        TranslationCase{
            "wheel_towards", wheel(-3, SDL_MOUSEWHEEL_NORMAL), {InputEvent::wheelStep(-1)}},
        TranslationCase{
            "wheel_flipped", wheel(2, SDL_MOUSEWHEEL_FLIPPED), {InputEvent::wheelStep(-1)}},
        TranslationCase{"wheel_sideways", wheel(0, SDL_MOUSEWHEEL_NORMAL), {}},
        TranslationCase{"left_press",
                        button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 849, 475),
                        {InputEvent::mouseDown(849, 475)}},
        TranslationCase{"right_release",
                        button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 3, 4),
                        {InputEvent::mouseUp(3, 4, MouseButton::Right)}},
        TranslationCase{
            "window_close", windowEvent(SDL_WINDOWEVENT_CLOSE), {InputEvent::closeRequest()}},
        TranslationCase{"quit", SDL_Event{.type = SDL_QUIT}, {InputEvent::closeRequest()}},
        TranslationCase{"mouse_motion", SDL_Event{.type = SDL_MOUSEMOTION}, {}},
        TranslationCase{"alt_enter_is_no_deal", altEnter(), {}},
        TranslationCase{
            "pad_a", padDown(SDL_CONTROLLER_BUTTON_A), {InputEvent::padButton(PadButton::A)}},
        TranslationCase{"pad_back",
                        padDown(SDL_CONTROLLER_BUTTON_BACK),
                        {InputEvent::padButton(PadButton::Back)}},
        TranslationCase{
            "pad_stick_press_means_nothing", padDown(SDL_CONTROLLER_BUTTON_LEFTSTICK), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SdlPlatform, RefusesToRunInvisiblyWhenSdlPicksADummyDriver) {
    const ScopedEnv env{{"SDL_VIDEODRIVER", "dummy"}};
    std::string error;
    auto platform = SdlPlatform::create({}, error);
    EXPECT_FALSE(platform);
    EXPECT_NE(error.find("dummy"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

TEST(SdlPlatform, WithoutADisplayTheReasonIsTheOnlyThingSaid) {
    const ScopedEnv env{{"DISPLAY", ":97531"},  // no X server answers there
                        {"WAYLAND_DISPLAY", nullptr},
                        {"XDG_RUNTIME_DIR", nullptr},
                        {"SDL_VIDEODRIVER", nullptr}};
    std::string error;
    testing::internal::CaptureStderr();
    auto platform = SdlPlatform::create({}, error);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(platform);
    EXPECT_NE(error.find("no display"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(said, "");
}

class SdlDummy : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        platform = SdlPlatform::create({.videoDriver = "dummy", .audioDriver = "dummy"}, error);
        ASSERT_TRUE(platform) << error;
    }
    // Everything the platform has for the game once SDL's queue is empty.
    std::vector<InputEvent> drain() {
        std::vector<InputEvent> got;
        platform->waitForInput(10);
        while (auto e = platform->pollInput()) got.push_back(*e);
        return got;
    }
    std::unique_ptr<SdlPlatform> platform;
};

TEST_F(SdlDummy, OpensAScreenSizedWindowAndPresentsParts) {
    EXPECT_EQ(platform->videoDriver(), "dummy");
    const ScreenInfo screen = platform->screen();
    ASSERT_GT(screen.width, 0);
    ASSERT_GT(screen.height, 0);
    EXPECT_GE(screen.bitsPerPixel, 16);
    ASSERT_TRUE(platform->openWindow("Fruvana"));
    EXPECT_EQ(platform->backBuffer().width(), screen.width);
    EXPECT_EQ(platform->backBuffer().height(), screen.height);
    platform->backBuffer().fill({10, 20, 30});
    platform->showWindow();
    const Rect parts[] = {{0, 0, 100, 100}, {-10, -10, 50, 50}, {screen.width - 5, 0, 100, 10}};
    platform->present(parts);
    EXPECT_FALSE(platform->basePath().empty());
    EXPECT_EQ(platform->basePath().back(), '/');
}

TEST_F(SdlDummy, SpaceArrivesOnceThroughTheRealQueue) {
    ASSERT_TRUE(platform->openWindow("Fruvana"));
    SDL_Event down = keyDown(SDLK_SPACE);
    SDL_Event text = textInput(" ");
    SDL_PushEvent(&down);
    SDL_PushEvent(&text);
    EXPECT_EQ(drain(), std::vector<InputEvent>{InputEvent::typed(U' ')});
}

TEST_F(SdlDummy, AHeldKeysRepeatsAreDropped) {
    ASSERT_TRUE(platform->openWindow("Fruvana"));
    SDL_Event held = keyDown(SDLK_c);
    held.key.repeat = 1;
    SDL_Event heldEnter = keyDown(SDLK_RETURN);
    heldEnter.key.repeat = 1;
    SDL_Event text = textInput("c");
    SDL_Event fresh = keyDown(SDLK_c);
    for (SDL_Event* e : {&held, &text, &heldEnter, &fresh, &text}) SDL_PushEvent(e);
    EXPECT_EQ(drain(), std::vector<InputEvent>{InputEvent::typed(U'c')});
}

// F11 and Alt+Enter arrive as the window-mode key (and Alt+Enter as no Enter); the switch to
// the cabinet's window and back is the platform's when asked.
TEST_F(SdlDummy, F11AndAltEnterArriveAndTheSwitchShowsTheCabinetsWindowAndBack) {
    ASSERT_TRUE(platform->openWindow("Fruvana"));
    platform->showWindow();
    const Rect frame = platform->backBuffer().bounds();
    const Rect cabinet = cabinetRect(frame);
    const std::pair<SDL_Event, WindowModeKey> keys[] = {{keyDown(SDLK_F11), WindowModeKey::F11},
                                                        {altEnter(), WindowModeKey::AltEnter}};
    for (auto [toggle, key] : keys) {
        SDL_PushEvent(&toggle);
        EXPECT_EQ(drain(), std::vector<InputEvent>{InputEvent::windowModeKey(key)});
        EXPECT_FALSE(platform->windowed());
        platform->switchWindowMode();
        ASSERT_TRUE(platform->windowed());
        int w = 0, h = 0;
        SDL_Window* window = SDL_GetWindowFromID(1);
        ASSERT_NE(window, nullptr);
        SDL_GetWindowSize(window, &w, &h);
        const int s = w / 800;
        EXPECT_EQ(w, 800 * s);
        EXPECT_EQ(h, 600 * s);
        // A point of the window is a point of the cabinet in the game's frame.
        SDL_Event press = button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10 * s, 20 * s);
        SDL_PushEvent(&press);
        const std::vector<InputEvent> got = drain();
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].x, cabinet.x + 10);
        EXPECT_EQ(got[0].y, cabinet.y + 20);
        platform->switchWindowMode();
        EXPECT_FALSE(platform->windowed());
    }
    EXPECT_EQ(platform->backBuffer().bounds(), frame);  // the game's frame never changes
}

TEST_F(SdlDummy, AVirtualControllerPluggedInIsTakenUpAndItsButtonsArrive) {
    ASSERT_TRUE(platform->openWindow("Fruvana"));
    // The dummy driver's window never has the focus, without which SDL holds controller
    // events back.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    EXPECT_TRUE(drain().empty());  // the platform takes the controller up
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    SDL_GameController* taken = SDL_GameControllerFromInstanceID(id);
    ASSERT_NE(taken, nullptr) << "the platform did not open the controller";
    SDL_Joystick* stick = SDL_GameControllerGetJoystick(taken);
    std::vector<InputEvent> got;
    for (SDL_GameControllerButton b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_DPAD_UP}) {
        SDL_JoystickSetVirtualButton(stick, b, 1);
        SDL_JoystickUpdate();
        for (const InputEvent& e : drain()) got.push_back(e);
        SDL_JoystickSetVirtualButton(stick, b, 0);
        SDL_JoystickUpdate();
        for (const InputEvent& e : drain()) got.push_back(e);
    }
    EXPECT_EQ(got, (std::vector<InputEvent>{InputEvent::padButton(PadButton::A),
                                            InputEvent::padButton(PadButton::DpadUp)}));
    SDL_JoystickDetachVirtual(index);
    EXPECT_TRUE(drain().empty());  // and lets it go
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr);
}

TEST_F(SdlDummy, HandOverFromAnotherThreadCutsTheWaitShort) {
    EventLoop loop(*platform);
    std::atomic<std::uint64_t> postedAt = 0;
    std::uint64_t ranAt = 0;
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        postedAt = platform->ticksMs();
        loop.post([&] { ranAt = platform->ticksMs(); });
    });
    const std::uint64_t start = platform->ticksMs();
    loop.delay(1500);
    other.join();
    EXPECT_GE(platform->ticksMs() - start, 1500u);
    ASSERT_NE(ranAt, 0u);
    // Generous: the machine may be busy, but a hand-over must not wait for the delay to end.
    EXPECT_LT(ranAt - postedAt, 1000u);
}

TEST_F(SdlDummy, ClockAndCounterMoveForward) {
    const auto t0 = platform->ticksMs();
    const auto c0 = platform->performanceCounter();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GE(platform->ticksMs(), t0 + 4);
    EXPECT_GT(platform->performanceCounter(), c0);
    // Whether it succeeds depends on privileges; it must simply not break anything.
    platform->setCurrentThreadPriority(PriorityLevel::Highest);
    platform->setCurrentThreadPriority(PriorityLevel::Normal);
}

}  // namespace
}  // namespace fruvana
