// Fonts found by family through fontconfig and drawn with SDL2_ttf into coverage masks. Neither
// needs a display, so the headless back end draws exactly the text the real program draws.
#include "platform/text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/sdl_handles.h"

namespace fruvana {

namespace {

// Heights beyond this are a mistake, not a font size, and would ask for huge glyph surfaces.
constexpr int kMaxPixelHeight = 1000;

struct FcPatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

bool sameFamily(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The family the lookup is asked for. The table family is a bitmap family no Linux desktop
// ships and fontconfig knows no metric twin for, so it is sent to the sans family the game's
// other text uses.
std::string lookupFamily(const std::string& family) {
    if (sameFamily(family, kTableFamily)) return "Liberation Sans";
    return family;
}

// Fontconfig loads its configuration on first use and keeps it for the life of the process
// unless told to let go. Each lookup and each open font holds one use; the last one to end
// releases the configuration, so the program ends with nothing of it left behind.
class FcUse {
  public:
    FcUse() {
        const std::lock_guard<std::mutex> lock(mutex());
        ok_ = count() > 0 || FcInit();
        if (ok_) ++count();
    }
    ~FcUse() {
        if (!ok_) return;
        const std::lock_guard<std::mutex> lock(mutex());
        if (--count() == 0) FcFini();
    }
    FcUse(const FcUse&) = delete;
    FcUse& operator=(const FcUse&) = delete;
    explicit operator bool() const { return ok_; }

  private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static int& count() {
        static int n = 0;
        return n;
    }
    bool ok_ = false;
};

struct Match {
    std::string path;
    int index = 0;
    bool bold = false;
    bool italic = false;
};

// Asks fontconfig for the family and style. Only a font of the requested family, or of a family
// that fontconfig's substitution binds as strongly as the request itself (its metric-compatible
// twins, as Liberation Sans for Arial), is accepted.
// Deliberate: the weak fallbacks fontconfig appends (any sans family at all) are refused, so a
// missing font is a clear error at start-up rather than text set in some unrelated face.
bool findFont(const FontRequest& request, Match& match, std::string& error) {
    const FcUse fontconfig;  // declared first, so every pattern below is gone before it ends
    if (!fontconfig) {
        error = "font lookup is not available (fontconfig could not load its configuration)";
        return false;
    }
    const std::string family = lookupFamily(request.family);
    FcPatternPtr pattern(FcPatternCreate());
    if (!pattern ||
        !FcPatternAddString(pattern.get(), FC_FAMILY,
                            reinterpret_cast<const FcChar8*>(family.c_str())) ||
        !FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                             request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR) ||
        !FcPatternAddInteger(pattern.get(), FC_SLANT,
                             request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN) ||
        !FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue)) {
        error = "font lookup ran out of memory";
        return false;
    }
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) {
        error = "font lookup is not available (fontconfig could not load its configuration)";
        return false;
    }
    FcDefaultSubstitute(pattern.get());

    std::vector<std::string> accepted;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0;
         FcPatternGetWithBinding(pattern.get(), FC_FAMILY, i, &value, &binding) == FcResultMatch;
         ++i) {
        if (value.type == FcTypeString && binding != FcValueBindingWeak) {
            accepted.emplace_back(reinterpret_cast<const char*>(value.u.s));
        }
    }

    FcResult result = FcResultNoMatch;
    FcPatternPtr found(FcFontMatch(nullptr, pattern.get(), &result));
    if (!found || result != FcResultMatch) {
        error = "no font installed for family \"" + request.family + "\"";
        return false;
    }
    bool familyOk = false;
    FcChar8* name = nullptr;
    std::string foundFamily;
    for (int i = 0;
         !familyOk && FcPatternGetString(found.get(), FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        const std::string_view candidate(reinterpret_cast<const char*>(name));
        if (i == 0) foundFamily = candidate;
        familyOk = std::any_of(accepted.begin(), accepted.end(),
                               [&](const std::string& f) { return sameFamily(f, candidate); });
    }
    if (!familyOk) {
        error = "no font installed for family \"" + request.family + "\" (the nearest is \"" +
                foundFamily + "\"; install fonts-liberation2)";
        return false;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        error = "the font for family \"" + request.family + "\" has no file";
        return false;
    }
    match.path = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(found.get(), FC_INDEX, 0, &match.index) != FcResultMatch) {
        match.index = 0;
    }
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found.get(), FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(found.get(), FC_SLANT, 0, &slant);
    match.bold = weight >= FC_WEIGHT_BOLD;
    match.italic = slant != FC_SLANT_ROMAN;
    return true;
}

// SDL2_ttf counts its own initialisations: each open font holds one, so the library stays up
// exactly as long as some font needs it, whatever order static objects die in.
class TtfUse {
  public:
    TtfUse() : ok_(TTF_Init() == 0) {}
    ~TtfUse() {
        if (ok_) TTF_Quit();
    }
    TtfUse(const TtfUse&) = delete;
    TtfUse& operator=(const TtfUse&) = delete;
    explicit operator bool() const { return ok_; }

  private:
    bool ok_;
};

struct TtfFontDeleter {
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};

}  // namespace

struct Font::Impl {
    FcUse fontconfig;  // keeps the lookup's configuration loaded while a font is in use
    TtfUse ttf;        // declared before the handle, so it outlives it
    std::unique_ptr<TTF_Font, TtfFontDeleter> font;
};

Font::Font(FontRequest request, std::string path, std::unique_ptr<Impl> impl)
    : request_(std::move(request)), path_(std::move(path)), impl_(std::move(impl)) {}

Font::~Font() = default;

std::shared_ptr<Font> Font::open(const FontRequest& request, std::string& error) {
    if (request.pixelHeight < 1 || request.pixelHeight > kMaxPixelHeight) {
        error = "font height " + std::to_string(request.pixelHeight) + " is not 1 to " +
                std::to_string(kMaxPixelHeight) + " pixels";
        return nullptr;
    }
    // Made before the lookup, so the lookup's configuration stays loaded for the font.
    auto impl = std::make_unique<Impl>();
    Match match;
    if (!findFont(request, match, error)) return nullptr;
    if (!impl->ttf) {
        error = std::string("cannot start the font renderer: ") + SDL_GetError();
        return nullptr;
    }
    // SDL2_ttf sizes are points at 72 dots per inch, so a size in points is one in pixels.
    impl->font.reset(TTF_OpenFontIndex(match.path.c_str(), request.pixelHeight, match.index));
    if (!impl->font) {
        error = "cannot open font " + match.path + ": " + SDL_GetError();
        return nullptr;
    }
    // Deliberate: kerning off, so a word is as wide as its letters' advances and the same text
    // lands on the same pixels with every release of the font library.
    TTF_SetFontKerning(impl->font.get(), 0);
    // A family without a real bold or italic face gets them drawn by the renderer.
    int style = TTF_STYLE_NORMAL;
    if (request.bold && !match.bold) style |= TTF_STYLE_BOLD;
    if (request.italic && !match.italic) style |= TTF_STYLE_ITALIC;
    TTF_SetFontStyle(impl->font.get(), style);
    return std::shared_ptr<Font>(new Font(request, std::move(match.path), std::move(impl)));
}

int Font::lineHeight() const {
    return TTF_FontHeight(impl_->font.get());
}

int Font::measure(std::string_view text) const {
    if (text.empty()) return 0;
    const std::string line(text);
    int w = 0;
    int h = 0;
    if (TTF_SizeUTF8(impl_->font.get(), line.c_str(), &w, &h) != 0) return 0;
    return std::max(w, 0);
}

TextMask Font::render(std::string_view text, bool smooth) const {
    TextMask mask;
    if (text.empty()) return mask;
    // The renderer reads a C string: text past an embedded zero is not drawn.
    const std::string line(text);
    if (line.c_str()[0] == '\0') return mask;
    constexpr SDL_Color kWhite{255, 255, 255, 255};
    sdl::SurfacePtr drawn(smooth ? TTF_RenderUTF8_Blended(impl_->font.get(), line.c_str(), kWhite)
                                 : TTF_RenderUTF8_Solid(impl_->font.get(), line.c_str(), kWhite));
    // Deliberate: text that cannot be drawn is left out (an empty mask) and the game goes on;
    // why is said under FRUVANA_DEBUG only, since labels are drawn again at every change and a
    // broken font would fill the terminal.
    if (!drawn) {
        sdl::sayWhenDebugging(sdl::failure("the text \"" + line + "\" cannot be drawn"));
        return mask;
    }
    if (drawn->w <= 0 || drawn->h <= 0) return mask;

    // Plain text comes as palette indices (0 is the background), smooth text as white pixels
    // whose alpha is the coverage; anything else is brought to the latter by SDL.
    sdl::SurfacePtr converted;
    SDL_Surface* surface = drawn.get();
    const bool indexed = surface->format->BytesPerPixel == 1;
    std::string problem;
    if (!indexed && surface->format->format != SDL_PIXELFORMAT_ARGB8888) {
        converted.reset(sdl::require(SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0),
                                     "drawn text cannot be converted", problem));
        if (!converted) {
            sdl::sayWhenDebugging(problem);
            return mask;
        }
        surface = converted.get();
    }
    if (!sdl::require(SDL_LockSurface(surface), "drawn text cannot be read", problem)) {
        sdl::sayWhenDebugging(problem);
        return mask;
    }
    mask.width = surface->w;
    mask.height = surface->h;
    mask.coverage.resize(static_cast<std::size_t>(mask.width) *
                         static_cast<std::size_t>(mask.height));
    const auto* pixels = static_cast<const std::uint8_t*>(surface->pixels);
    for (int y = 0; y < mask.height; ++y) {
        const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * surface->pitch;
        std::uint8_t* out = mask.coverage.data() +
                            static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width);
        for (int x = 0; x < mask.width; ++x) {
            if (indexed) {
                out[x] = row[x] != 0 ? 255 : 0;
            } else {
                Uint32 pixel;
                std::memcpy(&pixel, row + static_cast<std::size_t>(x) * 4, sizeof pixel);
                out[x] = static_cast<std::uint8_t>(pixel >> 24);
            }
        }
    }
    SDL_UnlockSurface(surface);
    return mask;
}

void drawText(const TextMask& mask, Picture& dst, int x, int y, Rgb colour, const Rect& clip) {
    if (mask.width <= 0 || mask.height <= 0 ||
        mask.coverage.size() <
            static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height)) {
        return;
    }
    // Worked out in 64 bits, so no place or clip, however far off, overflows.
    using Wide = long long;
    const Wide left = std::max({Wide{0}, Wide{clip.x}, Wide{x}});
    const Wide top = std::max({Wide{0}, Wide{clip.y}, Wide{y}});
    const Wide right =
        std::min({Wide{dst.width()}, Wide{clip.x} + std::max(clip.w, 0), Wide{x} + mask.width});
    const Wide bottom =
        std::min({Wide{dst.height()}, Wide{clip.y} + std::max(clip.h, 0), Wide{y} + mask.height});
    if (right <= left || bottom <= top) return;
    const Rect area{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                    static_cast<int>(bottom - top)};
    // Bytes are blue, green, red.
    const unsigned colourBytes[3] = {colour.b, colour.g, colour.r};
    for (int row = area.y; row < area.y + area.h; ++row) {
        std::uint8_t* px =
            dst.row(row) + static_cast<std::size_t>(area.x) * Picture::kBytesPerPixel;
        for (int col = area.x; col < area.x + area.w; ++col, px += Picture::kBytesPerPixel) {
            const int mx = static_cast<int>(Wide{col} - x);
            const int my = static_cast<int>(Wide{row} - y);
            // cppcheck-suppress cppcheckError ; the analyser gives up on this loop, no finding
            const unsigned a = mask.at(mx, my);
            if (a == 0) continue;
            for (int c = 0; c < 3; ++c) {
                px[c] =
                    static_cast<std::uint8_t>((px[c] * (255 - a) + colourBytes[c] * a + 127) / 255);
            }
        }
    }
}

}  // namespace fruvana
