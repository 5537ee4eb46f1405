# Debian packages, sourced by run.sh, test.sh and package_check.sh.
# The game's own build; debian/control's Build-Depends name the same.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
                fonts-liberation2)
# The tools built beside the game, never linked into it: Cairo draws the asset generator's
# pictures and the simulator's plots; the simulator reads its command line with CLI11, writes
# and reads JSON with nlohmann-json, takes its distributions from Boost.Math and formats with fmt.
TOOL_PACKAGES=(libcli11-dev libcairo2-dev nlohmann-json3-dev libboost-math-dev libfmt-dev)
# The asset generator speaks with festival's HTS voice; its test hears the voices with pocketsphinx.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev festival festvox-us-slt-hts
               pocketsphinx pocketsphinx-en-us
               xvfb xauth xdotool x11-apps x11-utils imagemagick clang-format clang-tidy cppcheck
               dpkg-dev desktop-file-utils appstream lintian weston clang libclang-rt-14-dev parallel)
# The package check: the package built with debhelper (on top of BUILD_PACKAGES, which hold
# debian/control's Build-Depends), its build log checked with blhc, the program with
# hardening-check (in devscripts), the package with lintian, and the game played under Xvfb;
# ccache keeps its compiled objects between runs.
PACKAGE_CHECK_PACKAGES=(dpkg-dev debhelper devscripts blhc lintian desktop-file-utils appstream
                        xvfb xauth xdotool ccache)
TEST_PACKAGES+=("${PACKAGE_CHECK_PACKAGES[@]}")
