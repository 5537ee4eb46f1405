#pragma once
// The game's generators as raw bytes, for batteries of randomness tests that read a stream of
// 32-bit words (dieharder -g 200 reads standard input).
//
//   lcg      the first generator's state after each step, seeded with the seed itself.
//   ranmar   the second generator's 24-bit numbers, seeded as the game seeds it (ij and kl from
//            the first generator), as one bit stream, most significant bit first, cut into
//            32-bit words: four numbers a, b, c, d make a<<8|b>>16, b<<16|c>>8, c<<24|d.
//   symbols  the symbols drawSymbol(10) gives, seeded as the game seeds both generators, eight
//            to a word, 4 bits each, the first in the top four bits. A 4-bit field holds only
//            the values 1 to 10, so this stream can never pass a test of bits: it shows what the
//            reels get, for tests that read it knowing its form.
//
// Every word goes out least significant byte first, the order dieharder reads on x86.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace fruvana::sim {

enum class RngStream { Lcg, Ranmar, Symbols };

std::optional<RngStream> rngStreamNamed(std::string_view name);

// Where the bytes go: it takes them, or says the reader has gone, or fails with a reason.
enum class SinkResult { Taken, ReaderGone, Failed };

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Called once before the first bytes.
    virtual void begin() {}
    virtual SinkResult write(const char* data, std::size_t size) = 0;
    virtual std::string failure() const { return "the output could not be written"; }
};

// Into a stream: fails once the stream does.
class OstreamSink final : public ByteSink {
  public:
    explicit OstreamSink(std::ostream& out) : out_(out) {}
    SinkResult write(const char* data, std::size_t size) override;

  private:
    std::ostream& out_;
};

// Into a file descriptor, standard output for the program: a closed pipe is a reader that has
// gone (SIGPIPE is ignored from begin() on, so the write returns EPIPE instead of killing us).
class DescriptorSink final : public ByteSink {
  public:
    explicit DescriptorSink(int fd) : fd_(fd) {}
    void begin() override;
    SinkResult write(const char* data, std::size_t size) override;
    std::string failure() const override { return failure_; }

  private:
    int fd_;
    std::string failure_;
};

// Writes the stream's words into sink until it stops taking them, or `bytes` are written when
// that is given. True unless the sink failed.
bool writeStream(RngStream kind, std::uint32_t seed, std::optional<std::int64_t> bytes,
                 ByteSink& sink);

}  // namespace fruvana::sim
