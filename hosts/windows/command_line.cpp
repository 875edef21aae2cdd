#include "hosts/windows/command_line.h"

namespace windows_host {
namespace {

// Windows passes ANSI bytes in the current code page; only ASCII matters here, so the
// comparisons avoid <cctype>, whose answers depend on the locale and whose argument
// must not be a negative char.
char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal number at the start of `text`, or 0 when there is none or when it exceeds
// `largest`. Digits past the limit are still consumed so that the overflow is rejected
// rather than wrapped.
std::uint64_t ReadWindowNumber(std::string_view text, std::uint64_t largest) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    std::uint64_t value = 0;
    bool tooLarge = false;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        const auto digit = static_cast<std::uint64_t>(text[at] - '0');
        if (tooLarge || digit > largest || value > (largest - digit) / 10) {
            tooLarge = true;
            continue;
        }
        value = value * 10 + digit;
    }
    return tooLarge ? 0 : value;
}

}  // namespace

SaverCommand ParseSaverCommandLine(std::string_view arguments, std::uint64_t largestWindow) {
    SaverCommand command;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string_view rest = arguments.substr(at + 1);
        switch (AsciiLower(arguments[at])) {
        case 'c':
            command.mode = SaverMode::Configure;
            return command;
        case 's':
            command.mode = SaverMode::FullScreen;
            return command;
        case 'p':
            command.mode = SaverMode::Preview;
            command.window = ReadWindowNumber(rest, largestWindow);
            return command;
        case 'a':
            command.mode = SaverMode::ChangePassword;
            command.window = ReadWindowNumber(rest, largestWindow);
            return command;
        default:
            break;
        }
    }
    return command;
}

}  // namespace windows_host
