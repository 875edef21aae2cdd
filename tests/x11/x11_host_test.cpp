// The colorlines program on a private Xvfb: the windows it makes or adopts, what shows in
// them, what ends it and how it leaves. Every test starts its own server, so tests run
// side by side; limits are generous and no duration is asserted beyond "it ended".
// GoogleTest first: Xlib's macros None and Bool would rewrite its names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tests/headless/child_process.h"
#include "tests/headless/colour_census.h"
#include "tests/x11/xvfb.h"

namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;
using test_support::ColourCensus;
using test_support::DescribeStatus;
using test_support::EnvironmentChanges;
using test_support::ExitCode;
using test_support::Facts;
using test_support::Pixels;
using test_support::TakeCensus;
using test_support::WaitUntil;
using test_support::Xvfb;
using test_support::XvfbSettings;

constexpr auto kAppearLimit = 15s;
constexpr auto kEndLimit = 5s;

std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

long Lines(const std::vector<std::uint32_t>& pixels) { return TakeCensus(pixels).lines(); }

class SaverOnX : public testing::Test {
protected:
    void StartServer(XvfbSettings settings = {}) {
        server_ = std::make_unique<Xvfb>(settings);
        ASSERT_NE(server_->display(), nullptr) << server_->error();
    }
    Display* display() const { return server_->display(); }

    std::unique_ptr<ChildProcess> StartSaver(const std::vector<std::string>& arguments,
                                             EnvironmentChanges changes = {}) {
        changes.emplace_back("DISPLAY", server_->name());
        return std::make_unique<ChildProcess>(test_support::ColorlinesProgram(), arguments, changes);
    }

    // The top-level window the saver maps, once it is there.
    Window AwaitSaverWindow(ChildProcess& saver) {
        Window window = None;
        WaitUntil([&] {
            window = test_support::NewTopLevelWindow(display(), {});
            return window != None || !saver.Running();
        }, kAppearLimit);
        EXPECT_NE(window, Window(None)) << "no window; saver " << DescribeStatus(saver.WaitFor(0ms))
                                        << ": " << saver.Stderr();
        return window;
    }

    // Waits until lines show in `window` and returns its pixels then.
    std::vector<std::uint32_t> AwaitLines(Window window) {
        std::vector<std::uint32_t> pixels;
        const bool shown = WaitUntil([&] {
            pixels = Pixels(display(), window);
            return Lines(pixels) > 0;
        }, kAppearLimit);
        EXPECT_TRUE(shown) << "no lines appeared in " << Hex(window);
        return pixels;
    }

    // The saver ends with `code` within the limit, and says nothing unless it fails.
    void ExpectEnds(ChildProcess& saver, int code) {
        const auto status = saver.WaitFor(kEndLimit);
        EXPECT_EQ(ExitCode(status), code) << DescribeStatus(status) << "; stderr: " << saver.Stderr();
        if (code == 0) {
            EXPECT_EQ(saver.Stderr(), "");
        }
    }

    std::unique_ptr<Xvfb> server_;
};

void ExpectOnlySaverColours(const std::vector<std::uint32_t>& pixels) {
    const ColourCensus census = TakeCensus(pixels);
    EXPECT_EQ(census.other, 0) << "first wrong pixel " << std::hex << census.firstOther;
    EXPECT_GT(census.lines(), 0);
    EXPECT_GT(census.black, census.lines());
}

// ---- Its own window ---------------------------------------------------------------------

struct OwnWindowCase {
    const char* name;
    bool sharedMemory;    // whether the server offers MIT-SHM
    const char* copy;     // the copy the saver reports using
    bool closeByKey;      // else by the window manager's close (WM_DELETE_WINDOW)
};
void PrintTo(const OwnWindowCase& c, std::ostream* out) { *out << c.name; }

class OwnWindowTest : public SaverOnX, public testing::WithParamInterface<OwnWindowCase> {};

TEST_P(OwnWindowTest, HasTheScreensSizeShowsTheLinesAndClosesCleanly) {
    const OwnWindowCase& c = GetParam();
    StartServer({640, 480, c.sharedMemory});
    auto saver = StartSaver({"--window", "--stats"});
    const Window window = AwaitSaverWindow(*saver);
    ASSERT_NE(window, Window(None));
    const auto facts = Facts(display(), window);
    EXPECT_EQ(facts.width, 640);
    EXPECT_EQ(facts.height, 480);
    EXPECT_FALSE(facts.overrideRedirect);
    ExpectOnlySaverColours(AwaitLines(window));

    if (c.closeByKey) {
        ASSERT_TRUE(test_support::XDoTool(*server_, {"key", "space"}));
    } else {
        XEvent close{};
        close.xclient.type = ClientMessage;
        close.xclient.window = window;
        close.xclient.message_type = XInternAtom(display(), "WM_PROTOCOLS", False);
        close.xclient.format = 32;
        close.xclient.data.l[0] = long(XInternAtom(display(), "WM_DELETE_WINDOW", False));
        close.xclient.data.l[1] = CurrentTime;
        XSendEvent(display(), window, False, NoEventMask, &close);
        XSync(display(), False);
    }
    ExpectEnds(*saver, 0);
    EXPECT_NE(saver->Stdout().find(c.copy), std::string::npos) << saver->Stdout();
    EXPECT_FALSE(Facts(display(), window).exists) << "the window outlived the saver";
}

INSTANTIATE_TEST_SUITE_P(
    Copies, OwnWindowTest,
    testing::Values(OwnWindowCase{"SharedMemoryClosedByTheWindowManager", true, "MIT-SHM", false},
                    OwnWindowCase{"SocketClosedByAKey", false, "XPutImage", true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Full screen --------------------------------------------------------------------------

struct FullScreenCase {
    const char* name;
    const char* option;
    std::vector<std::string> input;  // xdotool's words for it
};
void PrintTo(const FullScreenCase& c, std::ostream* out) { *out << c.name; }

class FullScreenTest : public SaverOnX, public testing::WithParamInterface<FullScreenCase> {};

bool PointerIsHidden(Display* display) {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display);
    if (!cursor) return false;
    bool hidden = true;
    for (int i = 0; i < cursor->width * cursor->height; ++i) {
        hidden = hidden && (cursor->pixels[i] >> 24 & 0xFF) == 0;
    }
    XFree(cursor);
    return hidden;
}

TEST_P(FullScreenTest, CoversTheScreenHidesThePointerAndEndsOnInput) {
    const FullScreenCase& c = GetParam();
    StartServer({800, 600, true});
    int eventBase, errorBase;
    ASSERT_TRUE(XFixesQueryExtension(display(), &eventBase, &errorBase));
    ASSERT_TRUE(test_support::XDoTool(*server_, {"mousemove", "100", "100"}));
    ASSERT_FALSE(PointerIsHidden(display())) << "the server's own pointer should show";

    auto saver = StartSaver({c.option});
    const Window window = AwaitSaverWindow(*saver);
    ASSERT_NE(window, Window(None));
    const auto facts = Facts(display(), window);
    EXPECT_EQ(facts.x, 0);
    EXPECT_EQ(facts.y, 0);
    EXPECT_EQ(facts.width, 800);
    EXPECT_EQ(facts.height, 600);
    EXPECT_TRUE(facts.overrideRedirect);
    ExpectOnlySaverColours(AwaitLines(window));
    EXPECT_TRUE(WaitUntil([&] { return PointerIsHidden(display()); }, kAppearLimit));
    // Nothing but input ends it.
    ASSERT_TRUE(saver->Running()) << DescribeStatus(saver->WaitFor(0ms)) << saver->Stderr();

    ASSERT_TRUE(test_support::XDoTool(*server_, c.input));
    ExpectEnds(*saver, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FullScreenTest,
    testing::Values(FullScreenCase{"Key", "--fullscreen", {"key", "Escape"}},
                    FullScreenCase{"MouseButton", "/s", {"click", "3"}},
                    FullScreenCase{"PointerMove", "-s", {"mousemove", "400", "300"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- For XScreenSaver: --root -------------------------------------------------------------

struct RootCase {
    const char* name;
    int signal;
    enum { RootWindow, NamedInHex, NamedInDecimal } target;
};
void PrintTo(const RootCase& c, std::ostream* out) { *out << c.name; }

class RootTest : public SaverOnX, public testing::WithParamInterface<RootCase> {};

TEST_P(RootTest, DrawsWhereXScreenSaverSaysAndEndsOnASignal) {
    const RootCase& c = GetParam();
    StartServer({640, 480, true});
    const Window root = DefaultRootWindow(display());
    Window target = root;
    EnvironmentChanges changes{{"XSCREENSAVER_WINDOW", std::nullopt}};
    if (c.target != RootCase::RootWindow) {
        target = test_support::MakeWindow(display(), 320, 240);
        changes = {{"XSCREENSAVER_WINDOW",
                    c.target == RootCase::NamedInHex ? Hex(target) : std::to_string(target)}};
    }
    auto saver = StartSaver({"--root"}, changes);
    ExpectOnlySaverColours(AwaitLines(target));
    if (target != root) {
        // Nothing drawn on the desktop around the named window.
        const auto desktop = Pixels(display(), root);
        long outside = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 340; x < 640; ++x) outside += Lines({desktop[std::size_t(y) * 640 + x]});
        }
        EXPECT_EQ(outside, 0);
    }
    saver->Signal(c.signal);
    ExpectEnds(*saver, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RootTest,
    testing::Values(RootCase{"RootWindowSigterm", SIGTERM, RootCase::RootWindow},
                    RootCase{"NamedInHexSigterm", SIGTERM, RootCase::NamedInHex},
                    RootCase{"NamedInDecimalSigint", SIGINT, RootCase::NamedInDecimal}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Preview in a foreign window ----------------------------------------------------------

struct PreviewCase {
    const char* name;
    const char* option;
    bool hex;
};
void PrintTo(const PreviewCase& c, std::ostream* out) { *out << c.name; }

class PreviewTest : public SaverOnX, public testing::WithParamInterface<PreviewCase> {};

TEST_P(PreviewTest, ShowsTheFramesCornerInTheWindowAndEndsWithIt) {
    const PreviewCase& c = GetParam();
    StartServer({800, 600, true});
    const Window preview = test_support::MakeWindow(display(), 200, 150);
    auto saver = StartSaver({c.option, c.hex ? Hex(preview) : std::to_string(preview)});
    // The frame is the screen's size; the window shows its top-left 200 x 150.
    ExpectOnlySaverColours(AwaitLines(preview));
    const auto facts = Facts(display(), preview);
    EXPECT_EQ(facts.width, 200);
    EXPECT_EQ(facts.height, 150);
    ASSERT_TRUE(saver->Running());

    // Its owner resizes it: the saver follows, and lines come into the new strips.
    XResizeWindow(display(), preview, 260, 190);
    XSync(display(), False);
    std::vector<std::uint32_t> pixels;
    EXPECT_TRUE(WaitUntil([&] {
        pixels = Pixels(display(), preview);
        if (pixels.size() != 260u * 190u) return false;
        std::vector<std::uint32_t> added;
        for (int y = 0; y < 190; ++y) {
            for (int x = 0; x < 260; ++x) {
                if (x >= 200 || y >= 150) added.push_back(pixels[std::size_t(y) * 260 + x]);
            }
        }
        return Lines(added) > 0;
    }, kAppearLimit)) << "no lines in the part the window grew by";
    ExpectOnlySaverColours(pixels);
    ASSERT_TRUE(saver->Running());

    XDestroyWindow(display(), preview);
    XSync(display(), False);
    ExpectEnds(*saver, 0);
}

INSTANTIATE_TEST_SUITE_P(
    WindowIds, PreviewTest,
    testing::Values(PreviewCase{"LongOptionHex", "--window-id", true},
                    PreviewCase{"XScreenSaverStyleDecimal", "-window-id", false},
                    PreviewCase{"WindowsStyle", "/p", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Losing the server --------------------------------------------------------------------

TEST_F(SaverOnX, EndsPromptlyWhenTheServerDies) {
    StartServer({1024, 768, true});
    auto saver = StartSaver({"--fullscreen"});
    const Window window = AwaitSaverWindow(*saver);
    ASSERT_NE(window, Window(None));
    AwaitLines(window);

    const auto killed = std::chrono::steady_clock::now();
    server_->Kill(SIGKILL);
    const auto status = saver->WaitFor(kEndLimit);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - killed).count();
    // Reported, not judged: the figure goes to the test's output and XML.
    RecordProperty("seconds_to_end_after_server_death", std::to_string(seconds));
    std::cout << "saver ended " << seconds << " s after the server was killed\n";
    EXPECT_EQ(ExitCode(status), 1) << DescribeStatus(status);
    EXPECT_NE(saver->Stderr().find("lost the connection"), std::string::npos) << saver->Stderr();
}

// ---- Exit codes of the program --------------------------------------------------------------

struct ExitCase {
    const char* name;
    std::vector<std::string> arguments;
    EnvironmentChanges environment;  // DISPLAY is the test server's unless given here
    int code;
    const char* says;  // on stdout for 0, in the one line on stderr otherwise
};
void PrintTo(const ExitCase& c, std::ostream* out) { *out << c.name; }

class ExitCodeTest : public SaverOnX, public testing::WithParamInterface<ExitCase> {};

TEST_P(ExitCodeTest, EndsAtOnceWithTheRightCodeAndOneClearLine) {
    const ExitCase& c = GetParam();
    StartServer();
    EnvironmentChanges changes = c.environment;
    bool ownDisplay = false;
    for (const auto& change : changes) ownDisplay = ownDisplay || change.first == "DISPLAY";
    if (!ownDisplay) changes.emplace_back("DISPLAY", server_->name());
    ChildProcess saver(test_support::ColorlinesProgram(), c.arguments, changes);
    const auto status = saver.WaitFor(10s);
    ASSERT_TRUE(status) << "did not end";
    EXPECT_EQ(ExitCode(status), c.code) << DescribeStatus(status) << "; stderr: " << saver.Stderr();
    if (c.code == 0) {
        EXPECT_NE(saver.Stdout().find(c.says), std::string::npos) << saver.Stdout();
        EXPECT_EQ(saver.Stderr(), "");
    } else {
        const std::string errors = saver.Stderr();
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_EQ(errors.rfind("colorlines: ", 0), 0u) << errors;
        EXPECT_NE(errors.find(c.says), std::string::npos) << errors;
    }
}

// A window id that no client of a fresh server has been given.
const char* const kDeadWindow = "0x1fffff0";

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitCodeTest,
    testing::Values(
        ExitCase{"Help", {"--help"}, {}, 0, "Usage: colorlines"},
        ExitCase{"Version", {"--version"}, {}, 0, "colorlines 1."},
        ExitCase{"UnknownOption", {"--bogus"}, {}, 2, "--bogus"},
        ExitCase{"MalformedWindowId", {"--window-id", "0xnope"}, {}, 2, "0xnope"},
        ExitCase{"DeadWindowId", {"--window-id", kDeadWindow}, {}, 2, "names no window"},
        ExitCase{"MalformedXScreenSaverWindow", {"--root"}, {{"XSCREENSAVER_WINDOW", "window"}}, 2,
                 "XSCREENSAVER_WINDOW"},
        ExitCase{"DeadXScreenSaverWindow", {"-root"}, {{"XSCREENSAVER_WINDOW", kDeadWindow}}, 2,
                 "names no window"},
        ExitCase{"NoDisplay", {"--fullscreen"}, {{"DISPLAY", std::nullopt}}, 1, "cannot open display"},
        ExitCase{"DisplayWithNoServer", {}, {{"DISPLAY", ":4093"}}, 1, "cannot open display"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
