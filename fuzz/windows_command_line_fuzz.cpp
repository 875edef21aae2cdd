// Any bytes as the command line Windows hands a .scr, with any limit on window numbers.
// Checked on every input: no crash and no hang (the sanitizers and libFuzzer's timeout
// watch), and the mode and window are what the rules give, by a plain reading of them:
// the first of A, C, P, S in either case picks the mode; after P or A, blanks and tabs,
// then a decimal number, which counts only while it does not exceed the limit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hosts/windows/command_line.h"

using windows_host::SaverMode;

namespace {

struct Expected {
    SaverMode mode = SaverMode::Configure;
    std::uint64_t window = 0;
};

Expected ReadTheRules(const std::string& text, std::uint64_t largest) {
    Expected expected;
    const std::size_t letter = text.find_first_of("AaCcPpSs");
    if (letter == std::string::npos) return expected;
    switch (text[letter]) {
    case 'S': case 's': expected.mode = SaverMode::FullScreen; return expected;
    case 'C': case 'c': return expected;
    case 'P': case 'p': expected.mode = SaverMode::Preview; break;
    default: expected.mode = SaverMode::ChangePassword; break;
    }
    const std::size_t first = text.find_first_not_of(" \t", letter + 1);
    if (first == std::string::npos) return expected;
    const std::size_t end = text.find_first_not_of("0123456789", first);
    const std::string digits = text.substr(first, end == std::string::npos ? std::string::npos : end - first);
    // Compare as decimal strings, so that numbers of any length are judged exactly.
    const std::string limit = std::to_string(largest);
    const std::size_t zeros = digits.find_first_not_of('0');
    const std::string value = zeros == std::string::npos ? "0" : digits.substr(zeros);
    if (value.size() > limit.size() || (value.size() == limit.size() && value > limit)) return expected;
    expected.window = std::strtoull(value.c_str(), nullptr, 10);
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the limit: a 32-bit or 64-bit handle, or something small.
    const std::uint64_t limits[] = {UINT64_MAX, UINT32_MAX, 65535, 0, 9, 10};
    const std::uint64_t largest = limits[data[0] % 6];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    const windows_host::SaverCommand command = windows_host::ParseSaverCommandLine(text, largest);
    const Expected expected = ReadTheRules(text, largest);
    if (command.mode != expected.mode || command.window != expected.window) {
        std::fprintf(stderr, "mode %d window %llu, rules give mode %d window %llu\n",
                     int(command.mode), (unsigned long long)command.window, int(expected.mode),
                     (unsigned long long)expected.window);
        std::abort();
    }
    return 0;
}
