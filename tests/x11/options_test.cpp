// The ways colorlines starts, as its command line says them.
#include "hosts/linux/options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using linux_host::Mode;
using linux_host::Options;
using linux_host::ParseOptions;
using linux_host::ParseWindowId;

// Parses a command line given as one string of blank-separated words.
Options Parse(const char* line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return ParseOptions(std::vector<std::string_view>(words.begin(), words.end()));
}

const char* Name(Mode mode) {
    switch (mode) {
    case Mode::Window: return "Window";
    case Mode::FullScreen: return "FullScreen";
    case Mode::Root: return "Root";
    case Mode::Preview: return "Preview";
    case Mode::Headless: return "Headless";
    case Mode::Help: return "Help";
    case Mode::Version: return "Version";
    case Mode::Invalid: return "Invalid";
    }
    return "?";
}

struct ModeCase {
    const char* line;
    Mode mode;
    std::uint32_t windowId;
};

TEST(ParseOptions, PicksTheModeFromEveryWayOfSayingIt) {
    const ModeCase cases[] = {
        {"", Mode::Window, 0},
        {"--window", Mode::Window, 0},
        {"--fullscreen", Mode::FullScreen, 0},
        {"/s", Mode::FullScreen, 0},
        {"-s", Mode::FullScreen, 0},
        {"/S", Mode::FullScreen, 0},
        {"--root", Mode::Root, 0},
        {"-root", Mode::Root, 0},
        {"--window-id 0x2a00007", Mode::Preview, 0x2a00007},
        {"--window-id=0x2A00007", Mode::Preview, 0x2a00007},
        {"-window-id 44040199", Mode::Preview, 44040199},
        {"/p 1234", Mode::Preview, 1234},
        {"--snapshot a.png", Mode::Headless, 0},
        {"--frames-dir out", Mode::Headless, 0},
        // The host's own options come first: the saver's letter rule would read these as
        // preview (p in --help) or settings (c in --version).
        {"--help", Mode::Help, 0},
        {"-h", Mode::Help, 0},
        {"--version", Mode::Version, 0},
        {"--root --help", Mode::Help, 0},
        // Repeating a mode is no conflict.
        {"--root -root", Mode::Root, 0},
        {"--stats --fullscreen", Mode::FullScreen, 0},
    };
    for (const ModeCase& c : cases) {
        const Options options = Parse(c.line);
        EXPECT_STREQ(Name(options.mode), Name(c.mode)) << "'" << c.line << "': " << options.error;
        EXPECT_EQ(options.windowId, c.windowId) << "'" << c.line << "'";
    }
}

TEST(ParseOptions, ReadsTheHeadlessSettings) {
    Options options = Parse("--snapshot out.png --frames 1000 --size 640x360 --seed 4294967295 --frames-dir f");
    ASSERT_EQ(options.mode, Mode::Headless) << options.error;
    EXPECT_EQ(options.snapshot, "out.png");
    EXPECT_EQ(options.framesDir, "f");
    EXPECT_EQ(options.frames, 1000);
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 360);
    EXPECT_EQ(options.seed, 4294967295u);

    options = Parse("--snapshot=x.png");
    ASSERT_EQ(options.mode, Mode::Headless) << options.error;
    EXPECT_EQ(options.snapshot, "x.png");
    EXPECT_EQ(options.frames, 300);
    EXPECT_EQ(options.width, 1920);
    EXPECT_EQ(options.height, 1080);
    EXPECT_FALSE(options.seed.has_value());
    EXPECT_FALSE(options.stats);
}

struct InvalidCase {
    const char* line;
    const char* mentions;  // the message must name what is wrong
};

TEST(ParseOptions, RejectsWhatItCannotRunWithOneLineSayingWhy) {
    const InvalidCase cases[] = {
        {"--bogus", "--bogus"},
        {"--bogus=1", "--bogus"},
        {"extra", "extra"},
        {"/c", "/c"},
        {"--window-id", "--window-id"},
        {"--window-id 0x", "0x"},
        {"--window-id 0xZZ", "0xZZ"},
        {"--window-id 12abc", "12abc"},
        {"--window-id -5", "-5"},
        {"--window-id 0", "'0'"},
        {"--window-id 0x20000000", "0x20000000"},  // past the 29 bits of an X id
        {"--window-id 99999999999999999999", "99999999999999999999"},
        {"--fullscreen --root", "cannot be combined"},
        {"--window-id 5 --snapshot a.png", "cannot be combined"},
        {"--frames 10", "--frames"},     // headless settings without a headless run
        {"--seed 1 --root", "--seed"},
        {"--snapshot a.png --frames 0", "--frames"},
        {"--snapshot a.png --frames x", "--frames"},
        {"--snapshot a.png --size 640", "--size"},
        {"--snapshot a.png --size 0x10", "--size"},
        {"--snapshot a.png --size 9000x10", "--size"},
        {"--snapshot a.png --seed 4294967296", "--seed"},
        {"--snapshot", "--snapshot"},
        {"--snapshot=", "--snapshot"},
        {"--root=yes", "--root"},
        {"--snapshot a.png --stats", "--stats"},
    };
    for (const InvalidCase& c : cases) {
        const Options options = Parse(c.line);
        EXPECT_EQ(options.mode, Mode::Invalid) << "'" << c.line << "' read as " << Name(options.mode);
        EXPECT_NE(options.error.find(c.mentions), std::string::npos)
            << "'" << c.line << "': " << options.error;
        EXPECT_EQ(options.error.find('\n'), std::string::npos) << options.error;
    }
}

TEST(ParseOptions, QuotesControlCharactersAsQuestionMarks) {
    // Found by fuzzing: an argument with a newline made the one-line error two lines.
    const std::vector<std::vector<std::string_view>> lines = {
        {"--bo\ngus"}, {"--wi\x01"}, {"--window-id", "12\n34"}, {"--snapshot", "a.png", "--frames", "\x7f"}};
    for (const auto& line : lines) {
        const Options options = ParseOptions(line);
        ASSERT_EQ(options.mode, Mode::Invalid);
        EXPECT_NE(options.error.find('?'), std::string::npos) << options.error;
        for (const char c : options.error) {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) << options.error;
        }
    }
}

TEST(ParseOptions, TakesTheProgramsArgumentsAfterItsName) {
    const char* argv[] = {"colorlines", "--window-id", "0x10", nullptr};
    const Options options = ParseOptions(3, argv);
    EXPECT_EQ(options.mode, Mode::Preview);
    EXPECT_EQ(options.windowId, 0x10u);
}

TEST(ParseWindowId, ReadsHexAndDecimalWithinTheRangeOfXIds) {
    EXPECT_EQ(ParseWindowId("0x1fffffff"), 0x1fffffffu);
    EXPECT_EQ(ParseWindowId("0X1F"), 0x1fu);
    EXPECT_EQ(ParseWindowId("536870911"), 0x1fffffffu);
    EXPECT_EQ(ParseWindowId("536870912"), std::nullopt);
    EXPECT_EQ(ParseWindowId(""), std::nullopt);
    EXPECT_EQ(ParseWindowId("0x"), std::nullopt);
    EXPECT_EQ(ParseWindowId(" 12"), std::nullopt);
    EXPECT_EQ(ParseWindowId("+12"), std::nullopt);
    EXPECT_EQ(ParseWindowId("0"), std::nullopt);
}

}  // namespace
