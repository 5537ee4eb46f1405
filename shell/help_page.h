#pragma once
// Where the help page is: in the player's language when there is one, else the English page;
// beside the program first (a build or a copy), then where an installed game keeps it.

#include <string>
#include <vector>

namespace fruvana {

// The page's file:// URL among folders (each ending in '/'), for a language ("de", or empty).
std::string helpPageUrl(const std::vector<std::string>& folders, const std::string& language);

// The file:// URL of a path, every byte outside the unreserved characters and '/' written as
// %XX, so no character of a folder name can change what is opened.
std::string fileUrl(const std::string& path);

}  // namespace fruvana
