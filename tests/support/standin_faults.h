#pragma once
// The stand-in reports misuse (a pen released twice, a handle never handed out) as a
// fault. In the tests every fault fails the running test, except inside an
// ExpectStandinFaults scope, which collects them for the test to inspect.
#include <string>
#include <vector>

class ExpectStandinFaults {
public:
    ExpectStandinFaults();
    ~ExpectStandinFaults();
    ExpectStandinFaults(const ExpectStandinFaults&) = delete;
    ExpectStandinFaults& operator=(const ExpectStandinFaults&) = delete;

    const std::vector<std::string>& faults() const { return faults_; }

private:
    friend void ReportStandinFault(const std::string& message);
    std::vector<std::string> faults_;
    ExpectStandinFaults* outer_;
};

// Installs the test suite's fault handler; called once from the test main.
void InstallStandinFaultHandler();
