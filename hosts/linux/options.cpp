#include "hosts/linux/options.h"

#include <limits>

namespace linux_host {
namespace {

// Largest frame side: a 8192 x 8192 frame is 256 MiB, and the saver draws two of them.
constexpr int kLargestSide = 8192;
constexpr int kMostFrames = 10'000'000;
// X resource ids have 29 bits; the top three are always clear.
constexpr std::uint32_t kLargestXid = 0x1FFFFFFF;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// All of `text`, in `base`, no sign, no blanks; empty when past `largest`.
std::optional<std::uint64_t> ParseNumber(std::string_view text, int base, std::uint64_t largest) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = base == 16 ? HexDigit(c) : (IsDigit(c) ? c - '0' : -1);
        if (digit < 0) return std::nullopt;
        if (value > (largest - std::uint64_t(digit)) / std::uint64_t(base)) return std::nullopt;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
    }
    return value;
}

std::optional<int> ParseCount(std::string_view text, int largest) {
    const auto value = ParseNumber(text, 10, std::uint64_t(largest));
    if (!value || *value == 0) return std::nullopt;
    return int(*value);
}

bool ParseSize(std::string_view text, int& width, int& height) {
    const std::size_t by = text.find_first_of("xX");
    if (by == std::string_view::npos) return false;
    const auto w = ParseCount(text.substr(0, by), kLargestSide);
    const auto h = ParseCount(text.substr(by + 1), kLargestSide);
    if (!w || !h) return false;
    width = *w;
    height = *h;
    return true;
}

const char* ModeName(Mode mode) {
    switch (mode) {
    case Mode::Window: return "--window";
    case Mode::FullScreen: return "--fullscreen";
    case Mode::Root: return "--root";
    case Mode::Preview: return "--window-id";
    case Mode::Headless: return "--snapshot/--frames-dir";
    default: return "?";
    }
}

// What the user typed, fit to be quoted in the one line of an error: a newline or other
// control character in an argument would otherwise break the line or the terminal.
std::string Printable(std::string_view text) {
    std::string shown(text);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return shown;
}

Options Invalid(std::string message) {
    Options options;
    options.mode = Mode::Invalid;
    options.error = std::move(message);
    return options;
}

// Walks the arguments; options that take a value take it either as the next argument or,
// for the long ones, after '='.
class Reader {
public:
    explicit Reader(const std::vector<std::string_view>& arguments) : arguments_(arguments) {}

    bool Next() {
        if (at_ >= arguments_.size()) return false;
        name_ = arguments_[at_++];
        inlineValue_.reset();
        if (name_.size() > 2 && name_.substr(0, 2) == "--") {
            const std::size_t equals = name_.find('=');
            if (equals != std::string_view::npos) {
                inlineValue_ = name_.substr(equals + 1);
                name_ = name_.substr(0, equals);
            }
        }
        return true;
    }
    std::string_view name() const { return name_; }
    bool HasInlineValue() const { return inlineValue_.has_value(); }
    std::optional<std::string_view> Value() {
        if (inlineValue_) return inlineValue_;
        if (at_ >= arguments_.size()) return std::nullopt;
        return arguments_[at_++];
    }

private:
    const std::vector<std::string_view>& arguments_;
    std::size_t at_ = 0;
    std::string_view name_;
    std::optional<std::string_view> inlineValue_;
};

}  // namespace

std::optional<std::uint32_t> ParseWindowId(std::string_view text) {
    std::optional<std::uint64_t> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        value = ParseNumber(text.substr(2), 16, kLargestXid);
    } else {
        value = ParseNumber(text, 10, kLargestXid);
    }
    if (!value || *value == 0) return std::nullopt;
    return std::uint32_t(*value);
}

Options ParseOptions(const std::vector<std::string_view>& arguments) {
    Options options;
    std::optional<Mode> chosen;
    // The headless-only options seen, to name one when no snapshot or frames folder asks
    // for a headless run.
    std::string_view headlessOnly;

    auto choose = [&](Mode mode) -> bool {
        if (chosen && *chosen != mode) return false;
        chosen = mode;
        return true;
    };

    Reader reader(arguments);
    while (reader.Next()) {
        const std::string_view name = reader.name();
        const std::string shown = Printable(name);
        const bool takesValue = name == "--window-id" || name == "-window-id" || name == "/p" ||
                                name == "/P" || name == "--snapshot" || name == "--frames-dir" ||
                                name == "--frames" || name == "--size" || name == "--seed";
        if (reader.HasInlineValue() && !takesValue) {
            const bool known = name == "--help" || name == "--version" || name == "--window" ||
                               name == "--fullscreen" || name == "--root" || name == "--stats";
            return Invalid(known ? shown + " takes no value"
                                 : "unknown option '" + shown + "' (try --help)");
        }
        std::optional<std::string_view> value;
        if (takesValue) {
            value = reader.Value();
            if (!value) return Invalid(shown + " needs a value");
        }

        Mode mode = Mode::Invalid;
        if (name == "--help" || name == "-h") {
            options = Options{};
            options.mode = Mode::Help;
            return options;
        } else if (name == "--version") {
            options = Options{};
            options.mode = Mode::Version;
            return options;
        } else if (name == "--window") {
            mode = Mode::Window;
        } else if (name == "--fullscreen" || name == "/s" || name == "/S" || name == "-s" ||
                   name == "-S") {
            mode = Mode::FullScreen;
        } else if (name == "--root" || name == "-root") {
            mode = Mode::Root;
        } else if (name == "--window-id" || name == "-window-id" || name == "/p" || name == "/P") {
            const auto id = ParseWindowId(*value);
            if (!id) {
                return Invalid(shown + ": '" + Printable(*value) +
                               "' is not a window id (0x-prefixed hex or decimal)");
            }
            options.windowId = *id;
            mode = Mode::Preview;
        } else if (name == "--snapshot") {
            if (value->empty()) return Invalid("--snapshot needs a file name");
            options.snapshot = Printable(*value);
            mode = Mode::Headless;
        } else if (name == "--frames-dir") {
            if (value->empty()) return Invalid("--frames-dir needs a folder name");
            options.framesDir = Printable(*value);
            mode = Mode::Headless;
        } else if (name == "--frames") {
            const auto frames = ParseCount(*value, kMostFrames);
            if (!frames) {
                return Invalid("--frames: '" + Printable(*value) + "' is not a count from 1 to " +
                               std::to_string(kMostFrames));
            }
            options.frames = *frames;
            headlessOnly = name;
        } else if (name == "--size") {
            if (!ParseSize(*value, options.width, options.height)) {
                return Invalid("--size: '" + Printable(*value) + "' is not WIDTHxHEIGHT, each 1 to " +
                               std::to_string(kLargestSide));
            }
            headlessOnly = name;
        } else if (name == "--seed") {
            const auto seed = ParseNumber(*value, 10, std::numeric_limits<std::uint32_t>::max());
            if (!seed) return Invalid("--seed: '" + Printable(*value) + "' is not a number from 0 to 4294967295");
            options.seed = std::uint32_t(*seed);
            headlessOnly = name;
        } else if (name == "--stats") {
            options.stats = true;
        } else {
            return Invalid("unknown option '" + shown + "' (try --help)");
        }

        if (mode != Mode::Invalid && !choose(mode)) {
            return Invalid(std::string(ModeName(*chosen)) + " and " + shown + " cannot be combined");
        }
    }

    options.mode = chosen.value_or(Mode::Window);
    if (!headlessOnly.empty() && options.mode != Mode::Headless) {
        return Invalid(std::string(headlessOnly) + " needs --snapshot or --frames-dir");
    }
    if (options.stats && options.mode == Mode::Headless) {
        return Invalid("--stats is for runs on a display");
    }
    return options;
}

Options ParseOptions(int argc, const char* const* argv) {
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return ParseOptions(arguments);
}

const char* Usage() {
    return "Usage: colorlines [MODE] [--stats]\n"
           "Two swarms of coloured lines winding about two moving centres.\n"
           "\n"
           "Modes:\n"
           "  --window             its own window of the screen's size (the default);\n"
           "                       a key or closing the window ends it\n"
           "  --fullscreen, -s     full screen, pointer hidden; a key, a mouse button or\n"
           "                       moving the pointer ends it\n"
           "  --root, -root        draw into $XSCREENSAVER_WINDOW, else the root window;\n"
           "                       SIGTERM or SIGINT ends it (for XScreenSaver)\n"
           "  --window-id ID, -window-id ID, /p ID\n"
           "                       draw into the window ID (0x-prefixed hex or decimal);\n"
           "                       ends when that window goes away\n"
           "  --snapshot FILE.png  no display: run on a simulated 10 ms clock and write\n"
           "                       the last frame to FILE.png\n"
           "  --frames-dir DIR     no display: write every frame to DIR/frame-00001.png...\n"
           "\n"
           "With --snapshot or --frames-dir:\n"
           "  --frames N           frames to run (default 300, three simulated seconds)\n"
           "  --size WxH           frame size (default 1920x1080)\n"
           "  --seed S             first tick count, which seeds the animation: the same\n"
           "                       seed gives the same pictures\n"
           "\n"
           "  --stats              on a display: print frames per second and CPU use\n"
           "                       when the saver ends\n"
           "  --help, --version    print this or the version and exit\n"
           "\n"
           "Exit status: 0 when the saver ends as asked, 1 when the display cannot be\n"
           "opened or used, 2 for a wrong command line or a window id that names no window.\n";
}

}  // namespace linux_host
