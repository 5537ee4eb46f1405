// Replays every file of a corpus folder through a fuzz target's entry point, in name order, as
// the fuzzer would run them, then as many random variations of them as asked, from a fixed
// seed; a broken promise stops it with its reason. Usage: replay FOLDER [RANDOM_INPUTS]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "tests/support/files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    if (argc < 2) return 2;
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 1;
    }
    for (const auto& input : inputs) {
        const fruvana::testing::Bytes bytes = fruvana::testing::readFile(input);
        std::printf("replay: %s\n", input.filename().c_str());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    // Each random input is a corpus file with one to four edits: a byte overwritten, the tail
    // cut, or random bytes added, so that most keep the shape the target reads.
    const int randomInputs = argc > 2 ? std::atoi(argv[2]) : 0;
    std::mt19937 random(20240607);
    for (int i = 0; i < randomInputs; ++i) {
        fruvana::testing::Bytes bytes =
            fruvana::testing::readFile(inputs[random() % inputs.size()]);
        for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits) {
            const auto kind = random() % 3;
            if (kind == 0 && !bytes.empty())
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
            if (kind == 1 && !bytes.empty()) bytes.resize(random() % bytes.size());
            if (kind == 2) bytes.push_back(static_cast<std::uint8_t>(random()));
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("replay: %zu inputs and %d random ones kept their promises\n", inputs.size(),
                randomInputs);
    return 0;
}
