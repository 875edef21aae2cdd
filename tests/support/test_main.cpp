#include <gtest/gtest.h>

#include "tests/support/standin_faults.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    InstallStandinFaultHandler();
    return RUN_ALL_TESTS();
}
