// Any bytes as the Linux host's command line (arguments split at NUL bytes). Checked on
// every input: no crash and no hang; reading the same arguments twice, or as argv, gives the
// same answer; a wrong command line is refused with one printable line; a window id is
// accepted exactly when the plain rule accepts it; a headless run's numbers are in range;
// and nothing that is not an option or an option's value is accepted.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/linux/options.h"

using linux_host::Mode;
using linux_host::Options;

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "options property broken: %s\n", what);
    std::abort();
}

// The plain rule for window ids: 0x-prefixed hex or decimal digits only, not zero, at most
// the 29 bits of an X resource id. Compared as digit strings, so any length is judged.
std::optional<std::uint32_t> WindowIdByTheRule(std::string_view text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string_view digits = hex ? text.substr(2) : text;
    const std::string_view allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::string_view::npos) return std::nullopt;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos) return std::nullopt;  // zero
    const std::string_view significant = digits.substr(first);
    if (significant.size() > (hex ? 8u : 9u)) return std::nullopt;
    const unsigned long long value = std::strtoull(std::string(significant).c_str(), nullptr, hex ? 16 : 10);
    if (value > 0x1FFFFFFF) return std::nullopt;
    return std::uint32_t(value);
}

bool Same(const Options& a, const Options& b) {
    return a.mode == b.mode && a.windowId == b.windowId && a.width == b.width &&
           a.height == b.height && a.frames == b.frames && a.seed == b.seed &&
           a.snapshot == b.snapshot && a.framesDir == b.framesDir && a.stats == b.stats &&
           a.error == b.error;
}

const std::set<std::string_view> kFlags = {"--help", "-h", "--version", "--window", "--fullscreen",
                                           "/s", "/S", "-s", "-S", "--root", "-root", "--stats"};
const std::set<std::string_view> kTakesValue = {"--window-id", "-window-id", "/p", "/P", "--snapshot",
                                                "--frames-dir", "--frames", "--size", "--seed"};

// True when every argument is an option, `--name=value` for a long option taking a value,
// or the value following one.
bool AllAccountedFor(const std::vector<std::string_view>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (kFlags.count(argument)) continue;
        if (kTakesValue.count(argument)) {
            ++i;  // its value
            continue;
        }
        const std::size_t equals = argument.find('=');
        if (argument.substr(0, 2) == "--" && equals != std::string_view::npos &&
            kTakesValue.count(argument.substr(0, equals)))
            continue;
        return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> owned;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        owned.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (!text.empty() && owned.size() > 64) owned.resize(64);
    std::vector<std::string_view> arguments(owned.begin(), owned.end());
    std::vector<const char*> argv = {"colorlines"};
    for (const std::string& argument : owned) argv.push_back(argument.c_str());

    const Options options = linux_host::ParseOptions(arguments);
    if (!Same(options, linux_host::ParseOptions(int(argv.size()), argv.data())))
        Fail("argv and argument list read differently");
    if (!Same(options, linux_host::ParseOptions(arguments))) Fail("two readings differ");

    if ((options.mode == Mode::Invalid) != !options.error.empty()) Fail("error text and mode disagree");
    for (const char c : options.error) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) Fail("the error is not one printable line");
    }
    if (options.mode == Mode::Invalid || options.mode == Mode::Help || options.mode == Mode::Version)
        return 0;

    if (!AllAccountedFor(arguments)) Fail("accepted something that is not an option");
    if (options.mode == Mode::Preview) {
        bool named = false;
        for (const std::string_view argument : arguments) {
            const std::string_view value =
                argument.find('=') != std::string_view::npos && argument.substr(0, 2) == "--"
                    ? argument.substr(argument.find('=') + 1)
                    : argument;
            const auto id = WindowIdByTheRule(value);
            named = named || (id && *id == options.windowId);
        }
        if (!named) Fail("the preview's window id is none of the arguments");
    }
    if (options.mode == Mode::Headless) {
        if (options.width < 1 || options.width > 8192 || options.height < 1 || options.height > 8192)
            Fail("headless size out of range");
        if (options.frames < 1 || options.frames > 10'000'000) Fail("frame count out of range");
        if (options.snapshot.empty() && options.framesDir.empty()) Fail("headless run without output");
    }
    // Every candidate window id, accepted or not, must be judged as the rule judges it.
    for (const std::string_view argument : arguments) {
        if (linux_host::ParseWindowId(argument) != WindowIdByTheRule(argument)) Fail("window id misread");
    }
    return 0;
}
