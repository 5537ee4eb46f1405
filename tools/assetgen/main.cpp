// fruvana-assetgen: draws every picture and makes every sound of the game, and writes them
// as BMP and WAV files under the given folder (game/, settings/, recall/, sounds/). The output is
// the same, byte for byte, on every run.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "tools/assetgen/art.h"
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
        CLI11_PARSE(app, argc, argv);
        fs::create_directories(out / "game");
        fs::create_directories(out / "settings");
        fs::create_directories(out / "recall");
        fs::create_directories(out / "preferences");
        fs::create_directories(out / "sounds");
        fs::create_directories(out / "icons");
        for (const NamedPicture& p : gamePictures())
            p.canvas.writeBmp(out / "game" / (p.name + ".bmp"));
        for (const NamedPicture& p : settingsPictures())
            p.canvas.writeBmp(out / "settings" / (p.name + ".bmp"));
        recallPanel().writeBmp(out / "recall" / "panel.bmp");
        preferencesPanel().writeBmp(out / "preferences" / "panel.bmp");
        realityCheckPanel().writeBmp(out / "preferences" / "reality_check.bmp");
        for (const NamedSound& s : effectSounds())
            writeWav(out / "sounds" / (s.name + ".wav"), s.signal);
        for (const NamedSound& s : voiceSounds())
            writeWav(out / "sounds" / (s.name + ".wav"), s.signal);
        windowIcon().writeBmp(out / "icons" / "fruvana.bmp");
        writeIcons(out / "icons");
    } catch (const std::exception& e) {
        std::cerr << "fruvana-assetgen: " << e.what() << '\n';
        releaseFonts();
        return 1;
    }
    releaseFonts();
    return 0;
}
