# Debian packages, sourced by every script that builds or checks: the one list of what the
# project needs from Debian.

# debian/control's Build-Depends, name for name (debhelper-compat is debhelper's); the lint step
# fails when the two disagree, so a package build never meets a dependency the scripts did not
# install.
PACKAGE_BUILD_DEPENDS=(cmake debhelper gettext libcli11-dev libfontconfig-dev libsdl2-dev
                       libsdl2-ttf-dev libspeechd-dev libtomlplusplus-dev pkg-config)
# The game's own build; it reads its command line with CLI11 and its preferences file with
# toml++, speaks through speech-dispatcher's client library, and compiles its translation
# catalogues with gettext's tools.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
                fonts-liberation2 libcli11-dev libtomlplusplus-dev libspeechd-dev gettext)
# The tools built beside the game, never linked into it: Cairo draws the asset generator's
# pictures and the simulator's plots; the simulator writes and reads JSON with nlohmann-json,
# takes its distributions from Boost.Math and formats with fmt.
TOOL_PACKAGES=(libcairo2-dev nlohmann-json3-dev libboost-math-dev libfmt-dev)
# The fuzz targets are built with clang's libFuzzer.
FUZZ_PACKAGES=(clang libclang-rt-14-dev cmake ninja-build)
# The asset generator speaks with festival's HTS voice; its test hears the voices with pocketsphinx.
# The end-to-end run hears the game's spoken messages through a private speech-dispatcher server
# with its dummy output module.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev festival festvox-us-slt-hts
               pocketsphinx pocketsphinx-en-us speech-dispatcher
               xvfb xauth xdotool x11-apps x11-utils imagemagick clang-format clang-tidy cppcheck
               dpkg-dev desktop-file-utils appstream lintian weston parallel git python3
               "${FUZZ_PACKAGES[@]}")
# The package check: the package built with debhelper (build-essential is what every Debian
# package build takes for granted, and a minimal system lacks it), its build log checked with
# blhc, the program with hardening-check (in devscripts), the package with lintian, and the game
# played under Xvfb; ccache keeps its compiled objects between runs.
PACKAGE_CHECK_PACKAGES=(build-essential "${PACKAGE_BUILD_DEPENDS[@]}" dpkg-dev devscripts blhc
                        lintian desktop-file-utils appstream xvfb xauth xdotool ccache)
TEST_PACKAGES+=("${PACKAGE_CHECK_PACKAGES[@]}")
