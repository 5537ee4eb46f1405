#include "shell/help_page.h"

#include <sys/stat.h>

#include <algorithm>

namespace fruvana {

namespace {

constexpr std::string_view kHelpPage = "help.htm";

}  // namespace

std::string fileUrl(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            url += ch;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

std::string helpPageUrl(const std::vector<std::string>& folders, const std::string& language) {
    std::vector<std::string> names{std::string(kHelpPage)};
    if (!language.empty()) names.insert(names.begin(), "help." + language + ".htm");
    std::string page = folders.back() + names.back();
    for (const std::string& name : names) {
        const auto found = std::find_if(folders.begin(), folders.end(), [&](const std::string& f) {
            struct stat info {};
            return ::stat((f + name).c_str(), &info) == 0;
        });
        if (found != folders.end()) {
            page = *found + name;
            break;
        }
    }
    return fileUrl(page);
}

}  // namespace fruvana
