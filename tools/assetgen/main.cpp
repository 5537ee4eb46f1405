// fruvana-assetgen: draws every picture and makes every sound of the game, and writes them
// as BMP and WAV files under the given folder (game/, settings/, sounds/). The output is the
// same, byte for byte, on every run.

#include <CLI/CLI.hpp>
#include <exception>
#include <filesystem>
#include <iostream>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/sound.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using namespace fruvana::assetgen;
    CLI::App app{"Regenerates the pictures and sounds of Fruvana"};
    fs::path out = "assets";
    app.add_option("folder", out, "Folder that receives game/, settings/ and sounds/");
    CLI11_PARSE(app, argc, argv);
    try {
        fs::create_directories(out / "game");
        fs::create_directories(out / "settings");
        fs::create_directories(out / "sounds");
        for (const NamedPicture& p : gamePictures())
            p.canvas.writeBmp(out / "game" / (p.name + ".bmp"));
        for (const NamedPicture& p : settingsPictures())
            p.canvas.writeBmp(out / "settings" / (p.name + ".bmp"));
        for (const NamedSound& s : effectSounds())
            writeWav(out / "sounds" / (s.name + ".wav"), s.signal);
        for (const NamedSound& s : voiceSounds())
            writeWav(out / "sounds" / (s.name + ".wav"), s.signal);
    } catch (const std::exception& e) {
        std::cerr << "fruvana-assetgen: " << e.what() << '\n';
        releaseFonts();
        return 1;
    }
    releaseFonts();
    return 0;
}
