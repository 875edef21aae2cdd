#include "tests/headless/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace test_support {
namespace {

std::string TemporaryFile(const char* what) {
    std::string path = std::string(P_tmpdir) + "/colorlines-" + what + "-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) close(fd);
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        const std::string line = *entry;
        const std::string name = line.substr(0, line.find('='));
        bool changed = false;
        for (const auto& change : changes) changed = changed || change.first == name;
        if (!changed) result.push_back(line);
    }
    for (const auto& [name, value] : changes) {
        if (value) result.push_back(name + "=" + *value);
    }
    return result;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const EnvironmentChanges& changes, int keepFd)
    : stdoutPath_(TemporaryFile("stdout")), stderrPath_(TemporaryFile("stderr")) {
    // Everything the child needs is built before fork: after it, only calls that are
    // safe in a child of a possibly threaded process.
    std::vector<std::string> argumentStrings{program};
    argumentStrings.insert(argumentStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : argumentStrings) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environmentStrings = ChangedEnvironment(changes);
    std::vector<char*> envp;
    for (auto& entry : environmentStrings) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const int out = open(stdoutPath_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    const int err = open(stderrPath_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);

    pid_ = fork();
    if (pid_ == 0) {
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
        // A fresh process group: a signal meant for the child reaches nothing else.
        setpgid(0, 0);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(in);
    close(out);
    close(err);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    unlink(stdoutPath_.c_str());
    unlink(stderrPath_.c_str());
}

void ChildProcess::Signal(int signal) const {
    if (pid_ > 0 && !status_) kill(pid_, signal);
}

std::optional<int> ChildProcess::WaitFor(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0 && !status_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
}

bool ChildProcess::Running() { return pid_ > 0 && !WaitFor(std::chrono::milliseconds(0)); }

std::string ChildProcess::Stdout() const { return ReadFile(stdoutPath_); }
std::string ChildProcess::Stderr() const { return ReadFile(stderrPath_); }

std::string DescribeStatus(std::optional<int> status) {
    if (!status) return "still running";
    if (WIFEXITED(*status)) return "exit " + std::to_string(WEXITSTATUS(*status));
    if (WIFSIGNALED(*status)) {
        return "signal " + std::to_string(WTERMSIG(*status)) + " (" + strsignal(WTERMSIG(*status)) + ")";
    }
    return "status " + std::to_string(*status);
}

int ExitCode(std::optional<int> status) {
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

std::string ColorlinesProgram() { return COLORLINES_PROGRAM; }

}  // namespace test_support
