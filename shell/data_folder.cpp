#include "shell/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/data_files.h"

namespace fruvana {

namespace {

std::string withSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

// The folder exists and this user may create files in it, counted as the savers count it.
bool writableFolder(const std::string& dir) {
    struct stat info {};
    const std::string path = dir.empty() ? std::string(".") : dir;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           !markedReadOnly(path, info) && ::access(path.c_str(), X_OK) == 0;
}

// Makes every missing folder of path (ending in '/') with mode 0700; false with errno set.
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string envOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

DataFolder chooseDataFolder(const DataFolderPlaces& places) {
    const std::string programDir = withSlash(places.programDir);
    const bool installed =
        !places.installedProgramDir.empty() && withSlash(places.installedProgramDir) == programDir;
    if (!installed && writableFolder(programDir)) return {programDir, {}};

    // Deliberate: a program folder that cannot be written (an installed game, a read-only
    // copy) sends the files to the user's data folder, where saving beside the program would
    // lose every coin, option and statistic at the end of each run.
    // Only an absolute XDG_DATA_HOME counts; a relative one is ignored, as the desktop's
    // rules ask.
    std::string base;
    if (!places.xdgDataHome.empty() && places.xdgDataHome.front() == '/') {
        base = withSlash(places.xdgDataHome);
    } else if (!places.home.empty() && places.home.front() == '/') {
        base = withSlash(places.home) + ".local/share/";
    } else {
        return {programDir, "no home folder to keep the game's files in"};
    }
    const std::string folder = base + "fruvana/";
    if (!makeFolders(folder)) {
        return {programDir, "cannot make " + folder + ": " + std::strerror(errno)};
    }
    return {folder, {}};
}

DataFolderPlaces currentPlaces(const std::string& programDir) {
    DataFolderPlaces places;
    places.programDir = programDir;
#ifdef FRUVANA_INSTALLED_PROGRAM_DIR
    places.installedProgramDir = FRUVANA_INSTALLED_PROGRAM_DIR;
#endif
    places.xdgDataHome = envOrEmpty("XDG_DATA_HOME");
    places.home = envOrEmpty("HOME");
    return places;
}

std::string translationsFolder(const std::string& programDir) {
    std::string beside = programDir + "locale";
    struct stat info {};
    if (::stat(beside.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return beside;
#ifdef FRUVANA_INSTALLED_LOCALE_DIR
    return FRUVANA_INSTALLED_LOCALE_DIR;
#else
    return beside;
#endif
}

}  // namespace fruvana
