#pragma once
// Where the player's three files live: beside the program where that folder can be written (a
// build tree, a copy in the player's own folder), else in the user's data folder
// ($XDG_DATA_HOME/fruvana, by default ~/.local/share/fruvana), made for the user alone. An
// installed game's folder counts as one that cannot be written, even for the superuser.

#include <string>

namespace fruvana {

struct DataFolderPlaces {
    // The program's own folder, ending in '/'.
    std::string programDir;
    // The folder an installed game's program lives in, ending in '/'; empty when unknown.
    std::string installedProgramDir;
    // The environment's XDG_DATA_HOME and HOME, empty when unset.
    std::string xdgDataHome;
    std::string home;
};

struct DataFolder {
    std::string path;     // ending in '/'
    std::string problem;  // why the files cannot be kept, or empty
};

// Decides the folder once, making the user's data folder (mode 0700) when it is the one.
// A user data folder that cannot be made gives the program's folder with the reason in
// problem, so the game still runs, without saving.
DataFolder chooseDataFolder(const DataFolderPlaces& places);

// The places of this process: the program's folder, the installed program folder the build
// was configured for, and the environment.
DataFolderPlaces currentPlaces(const std::string& programDir);

// Where the translation catalogues are: beside the program when it has them (a build), else
// where an installed game keeps them.
std::string translationsFolder(const std::string& programDir);

}  // namespace fruvana
