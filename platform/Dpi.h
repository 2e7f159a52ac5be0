#pragma once

#include <windows.h>

namespace brelomat {

// The window layer is laid out in units of 1/96 inch, the density the design was drawn at.
inline constexpr unsigned DesignDpi = 96;

// value, given at DesignDpi, in pixels at dpi.
int ScaleToDpi(int value, unsigned dpi) noexcept;

// The pixel density the window is shown at: its monitor's when the program is aware of
// monitor densities, the system's otherwise (the system then scales the whole window).
unsigned WindowDpi(HWND window) noexcept;

// The outer size of a top-level window whose client area is clientWidth x clientHeight at dpi.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         unsigned dpi) noexcept;

}  // namespace brelomat
