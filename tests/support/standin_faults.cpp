#include "tests/support/standin_faults.h"

#include <gtest/gtest.h>

#include "platform/standin/control.h"

namespace {
ExpectStandinFaults* current = nullptr;
}

ExpectStandinFaults::ExpectStandinFaults() : outer_(current) { current = this; }
ExpectStandinFaults::~ExpectStandinFaults() { current = outer_; }

void ReportStandinFault(const std::string& message) {
    if (current) {
        current->faults_.push_back(message);
        return;
    }
    ADD_FAILURE() << "stand-in fault: " << message;
}

void InstallStandinFaultHandler() { standin::SetFaultHandler(&ReportStandinFault); }
