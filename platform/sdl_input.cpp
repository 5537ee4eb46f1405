#include "platform/sdl_input.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/sdl_handles.h"

namespace fruvana {

namespace {

MouseButton buttonOf(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return MouseButton::Left;
        case SDL_BUTTON_MIDDLE:
            return MouseButton::Middle;
        case SDL_BUTTON_RIGHT:
            return MouseButton::Right;
        default:
            return MouseButton::Other;
    }
}

// Typed text arrives as UTF-8; SDL's own converter turns it into characters.
void appendCharacters(const char* text, std::vector<InputEvent>& out, std::string* problem) {
    const std::size_t length = strnlen(text, SDL_TEXTINPUTEVENT_TEXT_SIZE);
    if (length == 0) return;
    sdl::CharPtr wide(SDL_iconv_string("UTF-32LE", "UTF-8", text, length + 1));
    if (!wide) {
        if (problem != nullptr) *problem = sdl::failure("typed text cannot be converted");
        return;
    }
    const char* bytes = wide.get();
    for (std::size_t i = 0;; i += 4) {
        const char32_t c = static_cast<char32_t>(static_cast<unsigned char>(bytes[i])) |
                           static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                           static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 2])) << 16 |
                           static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 3])) << 24;
        if (c == 0) break;
        out.push_back(InputEvent::typed(c));
    }
}

std::optional<PadButton> padButtonOf(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return PadButton::A;
        case SDL_CONTROLLER_BUTTON_B:
            return PadButton::B;
        case SDL_CONTROLLER_BUTTON_X:
            return PadButton::X;
        case SDL_CONTROLLER_BUTTON_Y:
            return PadButton::Y;
        case SDL_CONTROLLER_BUTTON_BACK:
            return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_START:
            return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadButton::DpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return PadButton::DpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadButton::DpadRight;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            return PadButton::LeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            return PadButton::RightShoulder;
        case SDL_CONTROLLER_BUTTON_GUIDE:
            return PadButton::Guide;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return PadButton::DpadDown;
        default:
            return std::nullopt;
    }
}

bool isEnter(SDL_Keycode sym) {
    return sym == SDLK_RETURN || sym == SDLK_KP_ENTER;
}

std::optional<Arrow> arrowOf(SDL_Keycode sym) {
    switch (sym) {
        case SDLK_UP:
            return Arrow::Up;
        case SDLK_DOWN:
            return Arrow::Down;
        case SDLK_LEFT:
            return Arrow::Left;
        case SDLK_RIGHT:
            return Arrow::Right;
        default:
            return std::nullopt;
    }
}

}  // namespace

bool isWindowModeKey(const SDL_KeyboardEvent& key) {
    return key.keysym.sym == SDLK_F11 ||
           (isEnter(key.keysym.sym) && (key.keysym.mod & KMOD_ALT) != 0);
}

void translateSdlEvent(const SDL_Event& event, std::vector<InputEvent>& out, std::string* problem) {
    switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
            out.push_back(InputEvent::mouseDown(event.button.x, event.button.y,
                                                buttonOf(event.button.button)));
            break;
        case SDL_MOUSEBUTTONUP:
            out.push_back(
                InputEvent::mouseUp(event.button.x, event.button.y, buttonOf(event.button.button)));
            break;
        case SDL_TEXTINPUT:
            // Every typed character, Space included, comes from here and only from here, so
            // Space is not also taken from its key-down.
            appendCharacters(event.text.text, out, problem);
            break;
        case SDL_KEYDOWN:
            // Alt+Enter switches between full screen and a window; it is no deal.
            if (isEnter(event.key.keysym.sym) && !isWindowModeKey(event.key))
                out.push_back(InputEvent::enter());
            // Escape types no text; it arrives as the character it stands for.
            if (event.key.keysym.sym == SDLK_ESCAPE && event.key.repeat == 0)
                out.push_back(InputEvent::typed(U'\x1b'));
            if (const std::optional<Arrow> arrow = arrowOf(event.key.keysym.sym))
                out.push_back(InputEvent::arrowKey(*arrow));
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (const std::optional<PadButton> b = padButtonOf(event.cbutton.button))
                out.push_back(InputEvent::padButton(*b));
            break;
        case SDL_MOUSEWHEEL: {
            int y = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
            // Positive is away from the player; a sideways scroll is no step at all.
            if (y != 0) out.push_back(InputEvent::wheelStep(y > 0 ? 1 : -1));
            break;
        }
        case SDL_QUIT:
            out.push_back(InputEvent::closeRequest());
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                out.push_back(InputEvent::closeRequest());
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                       event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                out.push_back(
                    InputEvent::focus(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED));
            }
            break;
        default:
            break;
    }
}

}  // namespace fruvana
