# Debian packages, sourced by run.sh and test.sh.
# Cairo draws the simulator's plots; the game itself never links it.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
                fonts-liberation2 libcli11-dev libcairo2-dev)
# The asset generator speaks with festival's HTS voice; its test hears the voices with pocketsphinx.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev festival festvox-us-slt-hts
               pocketsphinx pocketsphinx-en-us
               xvfb xauth xdotool x11-apps x11-utils imagemagick clang-format clang-tidy cppcheck
               dpkg-dev desktop-file-utils appstream lintian weston clang libclang-rt-14-dev parallel)
