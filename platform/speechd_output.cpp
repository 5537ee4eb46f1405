#include "platform/speechd_output.h"

#include <libspeechd.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

namespace fruvana {

namespace {

struct CloseConnection {
    void operator()(SPDConnection* connection) const { spd_close(connection); }
};
using Connection = std::unique_ptr<SPDConnection, CloseConnection>;

// Connects to the user's speech server, starting it when it is not running; null with the
// server's reason in why.
Connection connect(std::string& why) {
    char* error = nullptr;
    Connection connection(
        spd_open2("fruvana", "main", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error));
    if (!connection) why = error != nullptr ? error : "it gave no reason";
    std::free(error);
    return connection;
}

}  // namespace

SpeechdOutput::~SpeechdOutput() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (worker_.joinable()) worker_.join();
}

bool SpeechdOutput::available() {
    std::lock_guard lock(mutex_);
    startWorker();
    return problem_.empty();
}

std::string SpeechdOutput::problem() const {
    std::lock_guard lock(mutex_);
    return problem_;
}

void SpeechdOutput::say(std::string_view text) {
    {
        std::lock_guard lock(mutex_);
        wanted_ = true;
        if (!problem_.empty()) return reportOnce();
        startWorker();
        waiting_ = std::string(text);
    }
    wake_.notify_one();
}

void SpeechdOutput::startWorker() {
    if (!worker_.joinable() && !stopping_) worker_ = std::thread([this] { work(); });
}

void SpeechdOutput::reportOnce() {
    if (!wanted_ || reported_) return;
    reported_ = true;
    std::fprintf(stderr, "Fruvana: speech is unavailable: %s\n", why_.c_str());
}

void SpeechdOutput::giveUp(const std::string& why) {
    std::lock_guard lock(mutex_);
    // The library's reason runs over several lines; the terminal gets it on one.
    why_ = why;
    for (char& c : why_)
        if (c == '\n' || c == '\r') c = ' ';
    problem_ = kNoSpeechServer;
    waiting_.reset();
    reportOnce();
    // Under the lock, so a handler being cleared is never called after.
    if (unavailable_) unavailable_();
}

void SpeechdOutput::setLanguage(const std::string& language) {
    std::lock_guard lock(mutex_);
    language_ = language;
}

void SpeechdOutput::onUnavailable(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    unavailable_ = std::move(handler);
}

void SpeechdOutput::work() {
    // Deliberate: a server that goes away leaves a socket that raises SIGPIPE on the next
    // write, which would end the whole game; blocked on this thread (and the library's own
    // threads, which inherit it), the write fails instead and the connection is made again.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    std::string why;
    Connection connection = connect(why);
    if (!connection) return giveUp(why);
    std::string voiceLanguage;  // what the server was last told; empty: nothing yet
    for (;;) {
        std::string text;
        std::string language;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || waiting_.has_value(); });
            if (stopping_) return;
            text = std::move(*waiting_);
            waiting_.reset();
            language = language_.empty() ? "en" : language_;
        }
        if (language != voiceLanguage) {
            // A language the server has no voice for keeps its default; nothing more to do.
            spd_set_language(connection.get(), language.c_str());
            voiceLanguage = language;
        }
        spd_cancel(connection.get());
        if (spd_say(connection.get(), SPD_TEXT, text.c_str()) >= 0) continue;
        // The connection was lost (the server ended or was restarted): one new connection,
        // and the message again; a second failure gives speech up for this run.
        connection = connect(why);
        if (!connection) return giveUp(why);
        spd_set_language(connection.get(), language.c_str());
        if (spd_say(connection.get(), SPD_TEXT, text.c_str()) < 0)
            return giveUp("the speech server stopped taking messages");
    }
}

}  // namespace fruvana
