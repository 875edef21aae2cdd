#pragma once
// The system's one door to the operating system: the real Win32 API on Windows and our
// own stand-in for it everywhere else. System code includes this and nothing platform-
// specific, so it compiles unchanged for every host.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "platform/standin/win32.h"
#endif
