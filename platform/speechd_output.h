#pragma once
// Speech through speech-dispatcher's client library. A worker thread owns the connection: it
// connects (which may start the server), sends each message and cancels the one before it,
// so the user-interface thread only hands over text and never waits for the server.

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/speech.h"

namespace fruvana {

class SpeechdOutput final : public SpeechOutput {
  public:
    SpeechdOutput() = default;
    // Ends the worker once its current call to the server returns.
    ~SpeechdOutput() override;
    SpeechdOutput(const SpeechdOutput&) = delete;
    SpeechdOutput& operator=(const SpeechdOutput&) = delete;

    bool available() override;
    std::string problem() const override;
    void say(std::string_view text) override;
    void onUnavailable(std::function<void()> handler) override;
    void setLanguage(const std::string& language) override;

  private:
    // Starts the worker once; the caller holds mutex_.
    void startWorker();
    void work();
    // Speech is given up for this run, with the server's reason; the preferences screen keeps
    // a short one.
    void giveUp(const std::string& why);
    // The reason on standard error, once, and only when the player wants speech: a player who
    // never chose it is not told it is missing. The caller holds mutex_.
    void reportOnce();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    // Deliberate: only the newest message waits. Play can be faster than speech (autoplay,
    // holds flicked quickly), and a queue of stale messages would grow and lag behind the
    // game; the newest replaces the one waiting, as it replaces the one being said.
    std::optional<std::string> waiting_;
    std::string language_;  // of the texts, for the worker to give the server
    bool stopping_ = false;
    std::string problem_;
    std::string why_;
    bool wanted_ = false;  // something was given to say
    bool reported_ = false;
    std::function<void()> unavailable_;
    std::thread worker_;
};

}  // namespace fruvana
