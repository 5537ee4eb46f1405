#pragma once
// Runs made of independent parts: their seeds, their shares of a shard, and the worker threads
// that deal them. A part's result depends only on the run's seed and the part's index, so the
// number of threads and the split into shards never change a result.

#include <cstdint>
#include <functional>

namespace fruvana::sim {

// splitmix64's step: the state advanced by the golden-ratio increment, then mixed.
std::uint64_t splitmix64(std::uint64_t state);

// The seed of part `index` of a run seeded with `seed`: the upper 32 bits of splitmix64 of
// seed x 2^32 + index, so that neighbouring parts and neighbouring run seeds get unrelated
// seeds of the width the game's clock gives.
std::uint32_t partSeed(std::uint32_t seed, std::uint32_t index);

// Parts [first, last) of a run in `total` parts split into `count` shards: shard `index`
// (1 to count) takes parts total x (index - 1) / count up to total x index / count.
struct PartRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
};
PartRange shardParts(std::int64_t total, int index, int count);

// Calls work(i) once for every i in [first, last), on `jobs` threads (the calling thread is
// one of them). Any exception a call throws is thrown again here, after every thread stopped.
void forEachPart(std::int64_t first, std::int64_t last, int jobs,
                 const std::function<void(std::int64_t)>& work);

}  // namespace fruvana::sim
