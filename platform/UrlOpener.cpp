#include "platform/UrlOpener.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The shell starts the opener in a background subshell and ends at once, so the opener is no
// child of ours and the system reaps it. The subshell writes the opener's exit status to
// descriptor 3, which the opener itself does not get: a browser it starts cannot hold the pipe.
// The address is the shell's $1, one argument that is never read as shell text.
constexpr const char* kScript = "command -v \"$0\" >/dev/null 2>&1 || exit 127\n"
                                "(\"$0\" \"$1\" 3>&-; echo $? >&3) &";
constexpr int kStatusFd = 3;

// Waits for the shell, which ends as soon as the opener runs; false when it refused to start it.
bool ShellStarted(pid_t pid) {
    int status = 0;
    pid_t done;
    do {
        done = waitpid(pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    // A host that ignores SIGCHLD leaves nothing to collect; the pipe tells the outcome then.
    return done != pid || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace

UrlOpener::UrlOpener(const char* program) : program_(program) {}

UrlOpener::~UrlOpener() {
    Forget();
}

void UrlOpener::Forget() {
    if (status_ >= 0) close(status_);
    status_ = -1;
}

bool UrlOpener::Start(const char* url) {
    if (!url || !*url) return false;
    Forget();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kStatusFd);
    char* args[] = {const_cast<char*>("sh"),    const_cast<char*>("-c"),
                    const_cast<char*>(kScript), const_cast<char*>(program_),
                    const_cast<char*>(url),     nullptr};
    pid_t pid = 0;
    const bool spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, args, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (!spawned || !ShellStarted(pid)) {
        close(fds[0]);
        return false;
    }
    status_ = fds[0];
    return true;
}

UrlOpener::Outcome UrlOpener::Poll() {
    if (status_ < 0) return Outcome::Opened;
    char text[8];
    const ssize_t got = read(status_, text, sizeof text);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return Outcome::Running;
    Forget();
    return got > 0 && text[0] == '0' ? Outcome::Opened : Outcome::Failed;
}
