#include "MessageDlg.h"

#include "Handles.h"
#include "PlatformError.h"

#include <string>

namespace brelomat {

namespace {

// MessageBoxW has no caption of its own for information ("Error" is all it offers); the
// box carries the usual one.
constexpr wchar_t InformationCaption[] = L"Information";

// The placement asked for by the MessageDlgPos running on this thread. Thread-local, as the
// hook that reads it is a per-thread hook.
struct Placement {
    int x;
    int y;
    bool done = false;
};
thread_local Placement* pendingPlacement = nullptr;

bool IsDialogBox(HWND window) noexcept
{
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) > 0 && std::wstring_view(name) == L"#32770";
}

// The box is laid out and centred by the system before it is first activated; it is moved
// then, before it is drawn.
LRESULT CALLBACK PlaceBox(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    Placement* const placement = pendingPlacement;
    if (code == HCBT_ACTIVATE && placement && !placement->done) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        if (IsDialogBox(box)) {
            placement->done = true;
            RECT rect{};
            GetWindowRect(box, &rect);
            const int left = placement->x >= 0 ? placement->x : rect.left;
            const int top = placement->y >= 0 ? placement->y : rect.top;
            SetWindowPos(box, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Sets the thread's pending placement for a scope, so that a box opened from inside another
// box's handlers gets its own.
class PendingPlacement {
public:
    explicit PendingPlacement(Placement& placement) noexcept : previous_(pendingPlacement)
    {
        pendingPlacement = &placement;
    }
    ~PendingPlacement() { pendingPlacement = previous_; }
    PendingPlacement(const PendingPlacement&) = delete;
    PendingPlacement& operator=(const PendingPlacement&) = delete;

private:
    Placement* previous_;
};

}  // namespace

void MessageDlgPos(HWND owner, std::wstring_view text, int x, int y)
{
    Placement placement{x, y};
    PendingPlacement pending(placement);
    const UniqueHook hook(SetWindowsHookExW(WH_CBT, PlaceBox, nullptr, GetCurrentThreadId()));
    if (!hook)
        ThrowLastError(L"SetWindowsHookEx");
    if (MessageBoxW(owner, std::wstring(text).c_str(), InformationCaption, MB_OK | MB_ICONINFORMATION) == 0)
        ThrowLastError(L"MessageBox");
}

void ShowErrorBox(HWND owner, std::wstring_view caption, std::wstring_view text) noexcept
{
    try {
        MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(caption).c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        // Out of memory for the copies: nothing left to show it with.
    }
}

}  // namespace brelomat
