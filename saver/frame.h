#pragma once
#include "platform/platform.h"
#include "scene/color_lines.h"

// One timer tick: the scene takes one step and the whole picture is drawn off screen and
// copied into the window in one piece.
void DrawFrame(HWND window, ColorLines& lines);
