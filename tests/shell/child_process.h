#pragma once
// Runs part of a test in a child process, as an ordinary player where the suite runs as the
// superuser, so that permission bits stop it as they stop a player.

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace fruvana::testing {

// Runs body in a child process and returns the numbers it hands back. With unprivileged, a
// child of the superuser first becomes "nobody"; a child that cannot (exit 77) skips the test,
// and one that crashes, fails or hangs fails it: both return nothing.
inline std::optional<std::vector<std::int32_t>> inChild(
    bool unprivileged, const std::function<std::vector<std::int32_t>()>& body,
    unsigned timeoutSeconds = 0) {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        // A child that hangs ends after the time-out and fails the case.
        if (timeoutSeconds > 0) ::alarm(timeoutSeconds);
        if (unprivileged && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(77);
        }
        // A temporary folder inside one that "nobody" cannot enter: the test cannot be made.
        if (unprivileged && ::access(std::filesystem::temp_directory_path().c_str(), X_OK) != 0)
            ::_exit(77);
        const std::vector<std::int32_t> result = body();
        const auto size = static_cast<ssize_t>(result.size() * sizeof(std::int32_t));
        ::_exit(::write(fds[1], result.data(), static_cast<std::size_t>(size)) == size ? 0 : 1);
    }
    ::close(fds[1]);
    std::vector<std::int32_t> result;
    std::int32_t value = 0;
    while (::read(fds[0], &value, sizeof value) == sizeof value) result.push_back(value);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return result;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        [] { GTEST_SKIP() << "cannot run a child without privileges"; }();
    } else {
        ADD_FAILURE() << "the child " << (WIFSIGNALED(status) ? "died of signal " : "exited with ")
                      << (WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    }
    return std::nullopt;
}

}  // namespace fruvana::testing
