#pragma once
// The colorlines program (or Xvfb) as a child of the test: started with its own
// arguments and environment, its output kept in files, and waited for with a limit, so
// that a program that hangs fails the test instead of hanging it.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// Environment changes: a value sets the variable, no value removes it.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

class ChildProcess {
public:
    // `keepFd`, when not -1, stays open in the child under the same number.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const EnvironmentChanges& changes = {}, int keepFd = -1);
    // Kills and reaps the child if it is still running.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool started() const { return pid_ > 0; }
    void Signal(int signal) const;
    // The wait status once the child has ended, or nothing if it is still running after
    // `limit`.
    std::optional<int> WaitFor(std::chrono::milliseconds limit);
    bool Running();

    std::string Stdout() const;
    std::string Stderr() const;

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string stdoutPath_;
    std::string stderrPath_;
};

// Describes a wait status for an assertion message: "exit 2", "signal 9".
std::string DescribeStatus(std::optional<int> status);
// The exit code of a normal exit, -1 for anything else (still running, killed).
int ExitCode(std::optional<int> status);

// The colorlines program under test (its path is compiled in).
std::string ColorlinesProgram();

}  // namespace test_support
