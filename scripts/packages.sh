# Debian packages, sourced by run.sh and test.sh.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
                fonts-liberation2 libcli11-dev)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev libcairo2-dev espeak-ng
               xvfb xauth xdotool x11-apps imagemagick)
