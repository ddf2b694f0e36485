#include "platform/UrlOpener.h"

#include <atomic>
#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

struct UrlOpener::Shared {
    std::atomic<Outcome> outcome{Outcome::Running};
};

UrlOpener::UrlOpener(const char* program) : program_(program) {}

bool UrlOpener::Start(const char* url) {
    if (!url || !*url) return false;
    // The address goes as one argument, never through a shell.
    char* args[] = {const_cast<char*>(program_), const_cast<char*>(url), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program_, nullptr, nullptr, args, environ) != 0) return false;
    auto shared = std::make_shared<Shared>();
    last_ = shared;
    std::thread([pid, shared] {
        int status = 0;
        pid_t done;
        do {
            done = waitpid(pid, &status, 0);
        } while (done < 0 && errno == EINTR);
        bool opened = done == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        shared->outcome = opened ? Outcome::Opened : Outcome::Failed;
    }).detach();
    return true;
}

UrlOpener::Outcome UrlOpener::Poll() {
    if (!last_) return Outcome::Opened;
    Outcome outcome = last_->outcome.load();
    if (outcome != Outcome::Running) last_.reset();
    return outcome;
}
