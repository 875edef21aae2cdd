// The saver without a display: the PNG writer, and the colorlines program's headless runs
// (--snapshot, --frames-dir) on their simulated clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "hosts/linux/png_writer.h"
#include "tests/headless/child_process.h"
#include "tests/headless/colour_census.h"
#include "tests/headless/png_file.h"

namespace {

namespace fs = std::filesystem;
using test_support::ChildProcess;
using test_support::ColourCensus;
using test_support::ExitCode;
using test_support::ReadPng;
using test_support::TakeCensus;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class InTemporaryFolder : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "colorlines-headless-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Runs colorlines to its end (within a generous limit) and returns the exit code.
    int Run(const std::vector<std::string>& arguments, std::string* errors = nullptr,
            const test_support::EnvironmentChanges& changes = {}) {
        ChildProcess program(test_support::ColorlinesProgram(), arguments, changes);
        const auto status = program.WaitFor(std::chrono::seconds(60));
        if (errors) *errors = program.Stderr();
        EXPECT_TRUE(status) << "colorlines " << arguments.front() << " did not end";
        return ExitCode(status);
    }

    fs::path folder_;
};

// ---- The PNG writer -------------------------------------------------------------------

using PngWriterTest = InTemporaryFolder;

TEST_F(PngWriterTest, WritesEveryChannelInPlaceAndSkipsThePaddingOfARow) {
    // Every pixel different in each channel, and a stride wider than the image whose
    // padding must not show up.
    const int width = 7, height = 5, stride = 9;
    std::vector<std::uint32_t> pixels(std::size_t(stride) * height, 0xDEADBE);
    std::vector<std::uint32_t> expected;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = std::uint32_t(x * 36) << 16 | std::uint32_t(y * 50) << 8 |
                                        std::uint32_t(255 - x - 10 * y);
            pixels[std::size_t(y) * stride + x] = pixel;
            expected.push_back(pixel);
        }
    }
    const fs::path path = folder_ / "frame.png";
    std::string error;
    ASSERT_TRUE(linux_host::WritePng(path, {pixels.data(), width, height, stride}, error)) << error;

    const auto picture = ReadPng(path);
    ASSERT_EQ(picture.error, "");
    EXPECT_EQ(picture.width, width);
    EXPECT_EQ(picture.height, height);
    EXPECT_EQ(picture.pixels, expected);
}

TEST_F(PngWriterTest, SaysWhyAFileCannotBeWritten) {
    std::uint32_t pixel = 0;
    std::string error;
    EXPECT_FALSE(linux_host::WritePng(folder_ / "no-such-folder" / "frame.png", {&pixel, 1, 1, 1}, error));
    EXPECT_NE(error, "");
    error.clear();
    EXPECT_FALSE(linux_host::WritePng(folder_ / "empty.png", {nullptr, 0, 0, 0}, error));
    EXPECT_NE(error, "");
}

// ---- Headless runs of the program -------------------------------------------------------

using HeadlessRunTest = InTemporaryFolder;

// The first re-targeting comes after more than 4 s and surely by 7 s of the simulated
// clock (10 ms a frame): 300 frames come before it, 800 after.
struct ColourCase {
    const char* name;
    int frames;
    bool retargeted;
};
void PrintTo(const ColourCase& c, std::ostream* out) { *out << c.name; }

class HeadlessColourTest : public HeadlessRunTest,
                           public testing::WithParamInterface<ColourCase> {};

TEST_P(HeadlessColourTest, ShowsOnlyBlackAndTheSwarmsColours) {
    const ColourCase& c = GetParam();
    const fs::path snapshot = folder_ / "last.png";
    ASSERT_EQ(Run({"--snapshot", snapshot, "--frames", std::to_string(c.frames), "--size",
                   "640x360", "--seed", "20250101"}),
              0);
    const auto picture = ReadPng(snapshot);
    ASSERT_EQ(picture.error, "");
    ASSERT_EQ(picture.width, 640);
    ASSERT_EQ(picture.height, 360);

    const ColourCensus census = TakeCensus(picture.pixels);
    EXPECT_EQ(census.other, 0) << "first wrong pixel " << std::hex << census.firstOther;
    // Most of the screen stays black, and the lines shown so far cover many pixels.
    EXPECT_GT(census.black, long(picture.pixels.size()) / 2);
    EXPECT_GT(census.lines(), 1000);
    if (c.retargeted) {
        // Swarm A, half the lines, has left the shared green. (Swarm B may have drawn red
        // 0, which is pure green again.)
        EXPECT_GT(census.swarmA, census.lines() / 4) << "swarm A never left the shared green";
    } else {
        EXPECT_EQ(census.swarmA + census.swarmB, 0) << "colours before the first re-targeting";
    }
}

INSTANTIATE_TEST_SUITE_P(BeforeAndAfterTheFirstRetargeting, HeadlessColourTest,
                         testing::Values(ColourCase{"before", 300, false},
                                         ColourCase{"after", 800, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HeadlessRunTest, TheSameSeedGivesTheSameFileAndAnotherSeedAnother) {
    auto run = [&](const char* name, const char* seed) {
        const fs::path path = folder_ / name;
        EXPECT_EQ(Run({"--snapshot", path, "--frames", "600", "--size", "320x200", "--seed", seed}), 0);
        return Contents(path);
    };
    const std::string first = run("a.png", "7");
    const std::string again = run("b.png", "7");
    const std::string other = run("c.png", "8");
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == again) << "two runs with seed 7 differ";
    EXPECT_FALSE(first == other) << "seeds 7 and 8 gave the same picture";
}

TEST_F(HeadlessRunTest, WritesEveryFrameAndTheLastIsTheSnapshot) {
    const fs::path frames = folder_ / "frames";  // made by the program
    const fs::path snapshot = folder_ / "last.png";
    ASSERT_EQ(Run({"--frames-dir", frames, "--snapshot", snapshot, "--frames", "12", "--size",
                   "160x90", "--seed", "3"}),
              0);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(frames)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected;
    for (int i = 1; i <= 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05d.png", i);
        expected.push_back(name);
    }
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(Contents(frames / "frame-00012.png") == Contents(snapshot));
    // One more line shows in every frame, so consecutive frames differ.
    EXPECT_FALSE(Contents(frames / "frame-00011.png") == Contents(frames / "frame-00012.png"));
}

TEST_F(HeadlessRunTest, NeedsNoDisplay) {
    // Neither a missing nor a bogus display matters: a headless run never connects.
    std::string errors;
    EXPECT_EQ(Run({"--snapshot", folder_ / "a.png", "--frames", "5", "--size", "64x48"}, &errors,
                  {{"DISPLAY", std::nullopt}}),
              0);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(Run({"--snapshot", folder_ / "b.png", "--frames", "5", "--size", "64x48"}, &errors,
                  {{"DISPLAY", "nowhere.invalid:77"}}),
              0);
    EXPECT_EQ(errors, "");
    EXPECT_TRUE(fs::exists(folder_ / "b.png"));
}

TEST_F(HeadlessRunTest, AFileThatCannotBeWrittenEndsItWithOneLine) {
    std::string errors;
    EXPECT_EQ(Run({"--snapshot", folder_ / "missing" / "a.png", "--frames", "2", "--size", "64x48"},
                  &errors),
              1);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("missing/a.png"), std::string::npos) << errors;
}

}  // namespace
