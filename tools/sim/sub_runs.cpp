#include "tools/sim/sub_runs.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace fruvana::sim {

std::uint64_t splitmix64(std::uint64_t state) {
    std::uint64_t z = state + 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

std::uint32_t partSeed(std::uint32_t seed, std::uint32_t index) {
    return static_cast<std::uint32_t>(splitmix64((std::uint64_t{seed} << 32) | index) >> 32);
}

PartRange shardParts(std::int64_t total, int index, int count) {
    return {total * (index - 1) / count, total * index / count};
}

void forEachPart(std::int64_t first, std::int64_t last, int jobs,
                 const std::function<void(std::int64_t)>& work) {
    std::atomic<std::int64_t> next{first};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto worker = [&] {
        while (!failed.load(std::memory_order_relaxed)) {
            const std::int64_t part = next.fetch_add(1);
            if (part >= last) return;
            try {
                work(part);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(failureLock);
                if (!failure) failure = std::current_exception();
                failed = true;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < jobs && j < last - first; ++j) threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads) t.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace fruvana::sim
