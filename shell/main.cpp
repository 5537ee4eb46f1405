// Until the game window exists, the program says what it will be.
#include <cstdio>

int main() {
    std::puts("Fruvana: a three-reel fruit machine. The game window is on its way; "
              "the engine is built and tested.");
    return 0;
}
