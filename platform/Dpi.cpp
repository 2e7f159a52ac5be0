#include "Dpi.h"

namespace brelomat {

namespace {

// Both functions arrived with Windows 10 1607; looked up at run time so that the program
// still starts (unscaled) on older systems.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

template <typename Function>
Function User32Function(const char* name) noexcept
{
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                  : nullptr;
}

unsigned SystemDpi() noexcept
{
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : DesignDpi;
}

}  // namespace

int ScaleToDpi(int value, unsigned dpi) noexcept
{
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(DesignDpi));
}

unsigned WindowDpi(HWND window) noexcept
{
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0)
            return dpi;
    }
    return SystemDpi();
}

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         unsigned dpi) noexcept
{
    static const auto adjustForDpi =
        User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, clientWidth, clientHeight};
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace brelomat
