// fruvana-assetgen: draws every picture and makes every sound of the game, and writes them
// as BMP and WAV files under the given folder (game/, settings/, recall/, sounds/). The output is
// the same, byte for byte, on every run.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/language.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/sound.h"

namespace {

// Pixman chooses processor-specific code when it loads, and those paths may round blends
// differently from one processor to the next. Its plain C paths give the same bytes on every
// machine, so the generator runs itself again with the others switched off.
constexpr std::string_view kPlainPixman = "sse2 ssse3";
// Deliberate: the C library's sin, cos, exp, log and pow pick fused multiply-add versions on
// processors that have them, and those round differently, so the sounds, the arcs and the
// speech synthesiser (a child, which inherits this) would change from machine to machine.
// Masking the features keeps every machine on the same plain versions.
constexpr std::string_view kPlainMaths = "glibc.cpu.hwcaps=-AVX,-AVX2,-FMA,-FMA4";

void restartWithPlainPaths(char** argv) {
    const char* pixman = std::getenv("PIXMAN_DISABLE");
    const char* maths = std::getenv("GLIBC_TUNABLES");
    if (pixman != nullptr && pixman == kPlainPixman && maths != nullptr && maths == kPlainMaths)
        return;
    setenv("PIXMAN_DISABLE", kPlainPixman.data(), 1);
    setenv("GLIBC_TUNABLES", kPlainMaths.data(), 1);
    execv("/proc/self/exe", argv);
    std::cerr << "fruvana-assetgen: cannot restart; pictures and sounds may differ from the "
                 "committed ones\n";
}

// A picture with the folder it goes to.
struct FiledPicture {
    std::string folder;
    std::string name;
    fruvana::assetgen::Canvas canvas;
};

std::vector<FiledPicture> everyPicture() {
    using namespace fruvana::assetgen;
    std::vector<FiledPicture> all;
    for (NamedPicture& p : gamePictures()) all.push_back({"game", p.name, std::move(p.canvas)});
    for (NamedPicture& p : settingsPictures())
        all.push_back({"settings", p.name, std::move(p.canvas)});
    all.push_back({"recall", "panel", recallPanel()});
    all.push_back({"preferences", "panel", preferencesPanel()});
    all.push_back({"preferences", "reality_check", realityCheckPanel()});
    return all;
}

// For each language under catalogues, the parts of each picture its words change, named for
// the picture and the place they go: translated/de/game-cabinet-120-456.bmp.
void writeTranslations(const std::vector<FiledPicture>& english,
                       const std::filesystem::path& catalogues, const std::filesystem::path& out) {
    namespace fs = std::filesystem;
    using namespace fruvana::assetgen;
    fs::remove_all(out);  // parts of words that changed since must not linger
    if (catalogues.empty()) return;
    std::vector<std::string> languages;
    for (const auto& entry : fs::directory_iterator(catalogues))
        if (fs::exists(entry.path() / "LC_MESSAGES" / "fruvana.mo"))
            languages.push_back(entry.path().filename().string());
    std::sort(languages.begin(), languages.end());
    for (const std::string& language : languages) {
        useLanguage(language, catalogues);
        fs::create_directories(out / language);
        const std::vector<FiledPicture> translated = everyPicture();
        for (std::size_t i = 0; i < english.size(); ++i) {
            for (const Patch& patch : patchesBetween(english[i].canvas, translated[i].canvas)) {
                const std::string name = english[i].folder + "-" + english[i].name + "-" +
                                         std::to_string(patch.x) + "-" + std::to_string(patch.y);
                patch.picture.writeBmp(out / language / (name + ".bmp"));
            }
        }
    }
    useLanguage("", catalogues);
}

}  // namespace

int main(int argc, char** argv) {
    restartWithPlainPaths(argv);
    namespace fs = std::filesystem;
    using namespace fruvana::assetgen;
    // The command line is read inside the try too, so no failure ends the program unexplained.
    try {
        CLI::App app{"Regenerates the pictures and sounds of Fruvana"};
        fs::path out = "assets";
        app.add_option(
            "folder", out,
            "Folder that receives game/, settings/, recall/, preferences/, sounds/ and icons/");
        fs::path catalogues;
        app.add_option("--catalogues", catalogues,
                       "Compiled translation catalogues (<folder>/<language>/LC_MESSAGES/"
                       "fruvana.mo): each language's changed parts of the pictures go to "
                       "translated/<language>/");
        CLI11_PARSE(app, argc, argv);
        fs::create_directories(out / "game");
        fs::create_directories(out / "settings");
        fs::create_directories(out / "recall");
        fs::create_directories(out / "preferences");
        fs::create_directories(out / "sounds");
        fs::create_directories(out / "icons");
        const std::vector<FiledPicture> english = everyPicture();
        for (const FiledPicture& p : english) p.canvas.writeBmp(out / p.folder / (p.name + ".bmp"));
        for (const NamedSound& s : effectSounds())
            writeWav(out / "sounds" / (s.name + ".wav"), s.signal);
        for (const NamedSound& s : voiceSounds())
            writeWav(out / "sounds" / (s.name + ".wav"), s.signal);
        windowIcon().writeBmp(out / "icons" / "fruvana.bmp");
        writeIcons(out / "icons");
        // Last, so the drawings above number their surfaces as they always have.
        writeTranslations(english, catalogues, out / "translated");
    } catch (const std::exception& e) {
        std::cerr << "fruvana-assetgen: " << e.what() << '\n';
        releaseFonts();
        return 1;
    }
    releaseFonts();
    return 0;
}
