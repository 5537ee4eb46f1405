#include "tools/sim/raw_stream.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include "engine/random.h"
#include "engine/symbols.h"

namespace fruvana::sim {

std::optional<RngStream> rngStreamNamed(std::string_view name) {
    if (name == "lcg") return RngStream::Lcg;
    if (name == "ranmar") return RngStream::Ranmar;
    if (name == "symbols") return RngStream::Symbols;
    return std::nullopt;
}

SinkResult OstreamSink::write(const char* data, std::size_t size) {
    out_.write(data, static_cast<std::streamsize>(size));
    return out_ ? SinkResult::Taken : SinkResult::Failed;
}

void DescriptorSink::begin() {
    std::signal(SIGPIPE, SIG_IGN);
}

SinkResult DescriptorSink::write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EPIPE) return SinkResult::ReaderGone;
            failure_ = std::string("the output could not be written: ") + std::strerror(errno);
            return SinkResult::Failed;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return SinkResult::Taken;
}

bool writeStream(RngStream kind, std::uint32_t seed, std::optional<std::int64_t> bytes,
                 ByteSink& sink) {
    RandomSources sources;
    if (kind == RngStream::Lcg) {
        sources.lcg.seed = seed;
    } else {
        seedRandomSources(sources, [seed] { return seed; });
    }
    // RANMAR's packing: bits drawn but not yet in a word, in the low `spare` bits.
    std::uint64_t pending = 0;
    int spare = 0;
    const auto word = [&]() -> std::uint32_t {
        switch (kind) {
            case RngStream::Lcg:
                sources.lcg.skip(1);
                return sources.lcg.seed;
            case RngStream::Ranmar: {
                while (spare < 32) {
                    pending =
                        (pending << 24) | static_cast<std::uint32_t>(sources.ranmar.nextScaled());
                    spare += 24;
                }
                spare -= 32;
                const auto w = static_cast<std::uint32_t>(pending >> spare);
                pending &= (std::uint64_t{1} << spare) - 1;
                return w;
            }
            case RngStream::Symbols:
            default: {
                std::uint32_t w = 0;
                for (int i = 0; i < 8; ++i) w = (w << 4) | drawSymbol(sources, kSymbolCount);
                return w;
            }
        }
    };

    std::vector<char> buffer(std::size_t{16384} * 4);
    std::int64_t left = bytes.value_or(-1);
    sink.begin();
    while (left != 0) {
        for (std::size_t i = 0; i < buffer.size(); i += 4) {
            const std::uint32_t w = word();
            for (std::size_t b = 0; b < 4; ++b)
                buffer[i + b] = static_cast<char>((w >> (8 * b)) & 0xFF);
        }
        std::size_t size = buffer.size();
        if (left > 0 && static_cast<std::uint64_t>(left) < size)
            size = static_cast<std::size_t>(left);
        const SinkResult result = sink.write(buffer.data(), size);
        if (result == SinkResult::ReaderGone) return true;
        if (result == SinkResult::Failed) return false;
        if (left > 0) left -= static_cast<std::int64_t>(size);
    }
    return true;
}

}  // namespace fruvana::sim
