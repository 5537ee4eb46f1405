#include "shell/command_line.h"

#include <CLI/CLI.hpp>

#include "presentation/translation.h"

namespace fruvana {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CLI::App app{tr("Fruvana: a three-reel fruit machine."), "fruvana"};
    auto format = app.get_formatter();
    for (const char* label : {translatable("Usage").data(), translatable("OPTIONS").data(),
                              translatable("Excludes").data()})
        format->label(label, tr(label));
    app.option_defaults()->group(tr("Options"));
    bool windowed = false;
    bool fullscreen = false;
    bool recall = false;
    app.set_help_flag("-h,--help", tr("Print this help and exit"));
    app.set_version_flag("--version", std::string("fruvana ") + FRUVANA_VERSION,
                         tr("Display program version information and exit"));
    auto* w = app.add_flag("--windowed", windowed, tr("Start in a window this once"));
    auto* f = app.add_flag("--fullscreen", fullscreen, tr("Start full screen this once"));
    w->excludes(f);
    auto* r = app.add_flag("--recall", recall,
                           tr("Print the last ten games, one line each, and exit without "
                              "opening a window"));
    // As in GNU tools, an option without an argument takes none: "--recall=yes" is refused.
    for (CLI::Option* flag : {w, f, r}) flag->disable_flag_override();

    CommandLine line;
    try {
        // CLI11 takes the arguments in reverse order, without the program's name.
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        line.action = CommandLine::Action::Help;
        line.text = app.help();
        return line;
    } catch (const CLI::CallForVersion&) {
        line.action = CommandLine::Action::Version;
        line.text = std::string("fruvana ") + FRUVANA_VERSION + "\n";
        return line;
    } catch (const CLI::ParseError& e) {
        line.action = CommandLine::Action::Refuse;
        line.text = "fruvana: " + std::string(e.what()) + "\n" + app.help();
        line.exitCode = 2;
        return line;
    }
    if (recall) line.action = CommandLine::Action::Recall;
    if (windowed) line.windowed = true;
    if (fullscreen) line.windowed = false;
    return line;
}

}  // namespace fruvana
