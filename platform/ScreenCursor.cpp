#include "ScreenCursor.h"

#include <atomic>

namespace brelomat {

namespace {

std::atomic<ScreenCursor> screenCursor{ScreenCursor::Default};

HCURSOR SystemCursor(const wchar_t* id) noexcept
{
    return LoadCursorW(nullptr, id);
}

}  // namespace

void SetScreenCursor(ScreenCursor cursor) noexcept
{
    screenCursor = cursor;
    SetCursor(SystemCursor(cursor == ScreenCursor::HourGlass ? IDC_WAIT : IDC_ARROW));
    // Without a mouse move the window under the pointer would not ask again; let it pick
    // its own cursor now that the program-wide one no longer applies.
    POINT point{};
    if (cursor == ScreenCursor::Default && GetCursorPos(&point)) {
        const HWND under = WindowFromPoint(point);
        if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
            const LRESULT hit = SendMessageW(
                under, WM_NCHITTEST, 0,
                MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
            SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                         MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
        }
    }
}

ScreenCursor CurrentScreenCursor() noexcept
{
    return screenCursor;
}

bool ApplyScreenCursor() noexcept
{
    if (screenCursor != ScreenCursor::HourGlass)
        return false;
    SetCursor(SystemCursor(IDC_WAIT));
    return true;
}

}  // namespace brelomat
