// The .scr command line, read the way the Windows screen-saver library reads it. Pure
// code, so it runs natively with the rest of the suite.
#include "hosts/windows/command_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

using windows_host::ParseSaverCommandLine;
using windows_host::SaverCommand;
using windows_host::SaverMode;

constexpr std::uint64_t kLargest64 = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kLargest32 = std::numeric_limits<std::uint32_t>::max();

const char* ModeName(SaverMode mode) {
    switch (mode) {
    case SaverMode::Configure: return "Configure";
    case SaverMode::FullScreen: return "FullScreen";
    case SaverMode::Preview: return "Preview";
    case SaverMode::ChangePassword: return "ChangePassword";
    }
    return "?";
}

struct Case {
    std::string arguments;
    SaverMode mode;
    std::uint64_t window;
    std::uint64_t largest = kLargest64;
};

void ExpectParses(const Case& c) {
    SCOPED_TRACE("arguments \"" + c.arguments + "\", largest " + std::to_string(c.largest));
    const SaverCommand command = ParseSaverCommandLine(c.arguments, c.largest);
    EXPECT_STREQ(ModeName(command.mode), ModeName(c.mode));
    EXPECT_EQ(command.window, c.window);
}

TEST(SaverCommandLine, FirstModeLetterInEitherCaseAnywhereWins) {
    const Case cases[] = {
        // What Windows itself passes.
        {"/s", SaverMode::FullScreen, 0},
        {"/S", SaverMode::FullScreen, 0},
        {"/c", SaverMode::Configure, 0},
        {"/c:1234", SaverMode::Configure, 0},
        {"/p 1234", SaverMode::Preview, 1234},
        {"/a", SaverMode::ChangePassword, 0},
        {"/a 77", SaverMode::ChangePassword, 77},
        // Other prefixes, no prefix, and letters that are not modes before the mode letter.
        {"-C", SaverMode::Configure, 0},
        {"s", SaverMode::FullScreen, 0},
        {"  --x/y/s", SaverMode::FullScreen, 0},
        {"xyz/P 5", SaverMode::Preview, 5},
        // Only the first mode letter counts, even inside a word.
        {"/screen", SaverMode::FullScreen, 0},
        {"/display", SaverMode::FullScreen, 0},
        {"/sp 5", SaverMode::FullScreen, 0},
        {"/ps 5", SaverMode::Preview, 0},
        {"/Ap 5", SaverMode::ChangePassword, 0},
        // No mode letter at all: configure.
        {"", SaverMode::Configure, 0},
        {"   \t ", SaverMode::Configure, 0},
        {"/x /y -z 123", SaverMode::Configure, 0},
    };
    for (const Case& c : cases) ExpectParses(c);
}

TEST(SaverCommandLine, WindowNumberAfterPreviewLetter) {
    const Case cases[] = {
        {"/p1234", SaverMode::Preview, 1234},
        {"/p \t \t42", SaverMode::Preview, 42},
        {"/p 007", SaverMode::Preview, 7},
        {"/p 12ab", SaverMode::Preview, 12},
        {"/p 12 34", SaverMode::Preview, 12},
        // Nothing that reads as a window: 0, which names none.
        {"/p", SaverMode::Preview, 0},
        {"/p 0", SaverMode::Preview, 0},
        {"/p junk", SaverMode::Preview, 0},
        {"/p -5", SaverMode::Preview, 0},
        {"/p +5", SaverMode::Preview, 0},
        {"/p:1234", SaverMode::Preview, 0},
        {"/p\n5", SaverMode::Preview, 0},
    };
    for (const Case& c : cases) ExpectParses(c);
}

TEST(SaverCommandLine, NumbersPastTheLargestHandleAreRejectedNotWrapped) {
    const std::string zeros(200, '0');
    const Case cases[] = {
        {"/p 18446744073709551615", SaverMode::Preview, kLargest64},
        {"/p 18446744073709551616", SaverMode::Preview, 0},
        {"/p 99999999999999999999", SaverMode::Preview, 0},
        {"/p " + std::string(5000, '9'), SaverMode::Preview, 0},
        // A 32-bit program holds 32-bit handles: 2^32 must not turn into 0 or 1.
        {"/p 4294967295", SaverMode::Preview, kLargest32, kLargest32},
        {"/p 4294967296", SaverMode::Preview, 0, kLargest32},
        {"/p 4294967297", SaverMode::Preview, 0, kLargest32},
        {"/a 42949672950", SaverMode::ChangePassword, 0, kLargest32},
        // A limit below a single digit.
        {"/p 5", SaverMode::Preview, 5, 5},
        {"/p 7", SaverMode::Preview, 0, 5},
        // Leading zeros are no overflow.
        {"/p " + zeros + "1", SaverMode::Preview, 1, kLargest32},
    };
    for (const Case& c : cases) ExpectParses(c);
}

TEST(SaverCommandLine, OnlyTheEightAsciiLettersSelectAMode) {
    // Every byte alone, including those whose low seven bits spell a mode letter and the
    // ones a signed char makes negative.
    for (int byte = 0; byte < 256; ++byte) {
        const std::string arguments(1, static_cast<char>(byte));
        SaverMode expected = SaverMode::Configure;
        switch (byte) {
        case 's': case 'S': expected = SaverMode::FullScreen; break;
        case 'p': case 'P': expected = SaverMode::Preview; break;
        case 'a': case 'A': expected = SaverMode::ChangePassword; break;
        default: break;
        }
        SCOPED_TRACE("byte " + std::to_string(byte));
        const SaverCommand command = ParseSaverCommandLine(arguments, kLargest64);
        EXPECT_STREQ(ModeName(command.mode), ModeName(expected));
        EXPECT_EQ(command.window, 0u);
    }
}

TEST(SaverCommandLine, ArbitraryBytesBeforeTheLetterAreSkipped) {
    const Case cases[] = {
        {std::string("\xff\xfe\x80/s"), SaverMode::FullScreen, 0},
        {std::string("\xd3\xf3 p 9"), SaverMode::Preview, 9},  // 0xD3 is 'S' + 128
        {std::string("\0s", 2), SaverMode::FullScreen, 0},
        {std::string(1 << 20, 'x') + "/p 5", SaverMode::Preview, 5},
    };
    for (const Case& c : cases) ExpectParses(c);
}

TEST(SaverCommandLine, RandomBytesNeverYieldAWindowPastTheLimit) {
    // Whatever comes in, the window number fits the caller's handle and appears only
    // after P or A. Fixed seed: a failure repeats.
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 64);
    const char alphabet[] = "pPaAsScC0123456789 \t/-x";
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    for (int round = 0; round < 20000; ++round) {
        std::string arguments;
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            // Mostly bytes that matter to the parser, with any byte mixed in.
            arguments += (i % 3 == 0) ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        }
        const SaverCommand command = ParseSaverCommandLine(arguments, kLargest32);
        ASSERT_LE(command.window, kLargest32) << arguments;
        if (command.mode == SaverMode::Configure || command.mode == SaverMode::FullScreen) {
            ASSERT_EQ(command.window, 0u) << arguments;
        }
    }
}

}  // namespace
