#include "shell/recall_command.h"

#include <filesystem>
#include <system_error>

#include "presentation/translation.h"
#include "shell/data_files.h"
#include "shell/data_folder.h"
#include "shell/recall_text.h"

namespace fruvana {

std::string runningProgramDir() {
    std::error_code ignored;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    if (self.empty()) return "./";
    return self.parent_path().string() + "/";
}

int printRecall(const std::string& programDir, std::ostream& out, std::ostream& err) {
    MachineState state;
    state.dataFolder = chooseDataFolder(currentPlaces(programDir)).path;
    if (loadRecall(state) == FileStatus::Unreadable) {
        const std::string file = state.dataFolder + std::string(kRecallFileName);
        err << tr(GameText{translatable("Fruvana: the recall file %s cannot be read"), {file}})
            << '\n';
        return 1;
    }
    if (state.recall.empty()) {
        out << tr("No games to recall yet.") << '\n';
        return 0;
    }
    out << recallHeading() << '\n';
    for (const GameRecord& game : state.recall) out << recallLine(game) << '\n';
    return 0;
}

}  // namespace fruvana
