#include "tools/assetgen/language.h"

#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <utility>

namespace fruvana::assetgen {
namespace {

constexpr const char* kDomain = "fruvana";
std::string drawnLanguage;  // empty: English

// Changed pixels this far apart still belong to one part: the letters of a label join.
constexpr int kJoin = 6;

}  // namespace

void useLanguage(const std::string& language, const std::filesystem::path& folder) {
    drawnLanguage = language;
    if (language.empty()) return;
    // The UTF-8 C locale honours LANGUAGE whatever the machine has generated.
    setenv("LANGUAGE", language.c_str(), 1);
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    bindtextdomain(kDomain, folder.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    // Naming the domain again tells gettext that the language changed: it forgets the
    // translations it looked up before.
    textdomain(kDomain);
}

std::string words(std::string_view english) {
    const std::string key(english);
    return drawnLanguage.empty() || key.empty() ? key : dgettext(kDomain, key.c_str());
}

std::vector<Patch> patchesBetween(const Canvas& english, const Canvas& translated) {
    english.flush();
    translated.flush();
    const int w = english.width();
    const int h = english.height();
    // Each changed pixel, grown by the joining distance, then grouped by flooding.
    std::vector<char> changed(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    std::vector<char> near(changed.size(), 0);
    auto at = [w](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
               static_cast<std::size_t>(x);
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (english.pixel(x, y) == translated.pixel(x, y)) continue;
            changed[at(x, y)] = 1;
            for (int ny = std::max(0, y - kJoin); ny <= std::min(h - 1, y + kJoin); ++ny)
                for (int nx = std::max(0, x - kJoin); nx <= std::min(w - 1, x + kJoin); ++nx)
                    near[at(nx, ny)] = 1;
        }
    }
    std::vector<Patch> patches;
    std::vector<std::pair<int, int>> todo;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (near[at(x, y)] != 1) continue;
            // The box of the changed pixels of this group.
            int left = w, top = h, right = -1, bottom = -1;
            near[at(x, y)] = 2;
            todo.assign(1, {x, y});
            while (!todo.empty()) {
                const auto [px, py] = todo.back();
                todo.pop_back();
                if (changed[at(px, py)] != 0) {
                    left = std::min(left, px);
                    right = std::max(right, px);
                    top = std::min(top, py);
                    bottom = std::max(bottom, py);
                }
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = px + dx, ny = py + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || near[at(nx, ny)] != 1) continue;
                    near[at(nx, ny)] = 2;
                    todo.emplace_back(nx, ny);
                }
            }
            left = std::max(0, left - 1);
            top = std::max(0, top - 1);
            right = std::min(w - 1, right + 1);
            bottom = std::min(h - 1, bottom + 1);
            patches.push_back(
                {left, top, cropOf(translated, left, top, right - left + 1, bottom - top + 1)});
        }
    }
    return patches;
}

}  // namespace fruvana::assetgen
