#include "tools/sim/raw_stream.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

namespace fruvana::sim {

std::optional<RngStream> rngStreamNamed(std::string_view name) {
    if (name == "lcg") return RngStream::Lcg;
    if (name == "ranmar") return RngStream::Ranmar;
    if (name == "symbols") return RngStream::Symbols;
    return std::nullopt;
}

StreamWords::StreamWords(RngStream kind, std::uint32_t seed) : kind_(kind) {
    if (kind == RngStream::Lcg) {
        sources_.lcg.seed = seed;
    } else {
        seedRandomSources(sources_, [seed] { return seed; });
    }
}

std::uint32_t StreamWords::word() {
    switch (kind_) {
        case RngStream::Lcg:
            sources_.lcg.skip(1);
            return sources_.lcg.seed;
        case RngStream::Ranmar: {
            while (spare_ < 32) {
                pending_ =
                    (pending_ << 24) | static_cast<std::uint32_t>(sources_.ranmar.nextScaled());
                spare_ += 24;
            }
            spare_ -= 32;
            const auto w = static_cast<std::uint32_t>(pending_ >> spare_);
            pending_ &= (std::uint64_t{1} << spare_) - 1;
            return w;
        }
        case RngStream::Symbols:
        default: {
            std::uint32_t w = 0;
            for (int i = 0; i < 8; ++i) w = (w << 4) | drawSymbol(sources_, kSymbolCount);
            return w;
        }
    }
}

void StreamWords::next(std::span<std::uint32_t> words) {
    for (std::uint32_t& w : words) w = word();
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
    constexpr std::size_t kWords = 16384;
    StreamWords stream(kind, seed);
    std::vector<std::uint32_t> words(kWords);
    std::vector<char> buffer(kWords * 4);
    std::int64_t left = bytes.value_or(-1);
    sink.begin();
    while (left != 0) {
        stream.next(words);
        for (std::size_t i = 0; i < kWords; ++i) {
            for (std::size_t b = 0; b < 4; ++b)
                buffer[i * 4 + b] = static_cast<char>((words[i] >> (8 * b)) & 0xFF);
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
