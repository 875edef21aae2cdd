#pragma once
// Frames as PNG files: 8-bit RGB, no alpha, since the saver's pixels carry none.
#include <string>

#include "platform/standin/control.h"

namespace linux_host {

// Writes `frame` (pixels 0x00RRGGBB) to `path`. On failure returns false and says why in
// `error`, one line without the file's name.
bool WritePng(const std::string& path, const standin::Surface& frame, std::string& error);

}  // namespace linux_host
