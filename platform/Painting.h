#pragma once

#include <windows.h>

namespace brelomat {

// BeginPaint/EndPaint as a scope: a WM_PAINT that is not ended comes back for ever.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A device context of GetDC or GetWindowDC, released with the window it came from.
class WindowDC {
public:
    enum class Area { Client, Whole };

    explicit WindowDC(HWND window, Area area = Area::Client) noexcept
        : window_(window), dc_(area == Area::Client ? GetDC(window) : GetWindowDC(window))
    {
    }
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Dc() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC for a scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace brelomat
