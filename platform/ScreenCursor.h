#pragma once

#include <windows.h>

namespace brelomat {

enum class ScreenCursor { Default, HourGlass };

// The program-wide cursor. HourGlass shows over every window of the program until it is set
// back to Default, which gives each control its own cursor again. Takes effect at once.
void SetScreenCursor(ScreenCursor cursor) noexcept;
ScreenCursor CurrentScreenCursor() noexcept;

// For WM_SETCURSOR in our window procedures: true when the program-wide cursor applies and
// has been set. Child controls of system classes ask their parent first, so they follow too.
bool ApplyScreenCursor() noexcept;

}  // namespace brelomat
