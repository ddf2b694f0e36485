#include "JackServer.h"
#include "ChildProcess.h"

#include <jack/jack.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace serivane::tools {

namespace {

bool answers(const std::string& server) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open(
        "serivane-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName), &status,
        server.c_str());
    if (client == nullptr) return false;
    jack_client_close(client);
    return true;
}

void quietJack() {
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
}

} // namespace

JackServer::~JackServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    std::filesystem::remove(log_);
}

void JackServer::crash() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    std::filesystem::remove(log_);
}

bool JackServer::start(int sampleRate, std::string& reason) {
    static int started = 0;
    quietJack();
    name_ = "serivane-test-" + std::to_string(getpid()) + "-" + std::to_string(++started);
    log_ = std::filesystem::temp_directory_path() / (name_ + ".log");
    std::vector<std::string> words = {"jackd", "--no-realtime", "-n", name_,
                                      "-d",    "dummy",         "-r", std::to_string(sampleRate)};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    int failed = posix_spawnp(&pid_, "jackd", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        pid_ = -1;
        reason = "jackd cannot be started (is jackd2 installed?)";
        return false;
    }
    using namespace std::chrono_literals;
    for (auto deadline = std::chrono::steady_clock::now() + 20s;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(50ms)) {
        if (answers(name_)) return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            reason = "jackd ended at once: " + contents(log_);
            std::filesystem::remove(log_);
            return false;
        }
    }
    reason = "jackd did not take clients within 20 s: " + contents(log_);
    return false;
}

} // namespace serivane::tools
