#include "ProgressBar.h"

#include "PlatformError.h"

#include <commctrl.h>

namespace brelomat {

namespace {

void RegisterProgressClass()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    if (!registered)
        throw PlatformError(L"InitCommonControlsEx failed for the progress bar");
}

}  // namespace

ProgressBar::ProgressBar(Window& parent, Bounds bounds) : Control(parent, bounds, std::nullopt)
{
    RegisterProgressClass();
    CreateSystem({.ClassName = PROGRESS_CLASSW,
                  .Text = L"",
                  .Style = WS_CHILD | WS_VISIBLE,
                  .Parent = parent.Handle(),
                  .Id = NextId()});
    Attach();
    SetMax(100);
    SetPosition(0);
}

std::int32_t ProgressBar::Max() const noexcept
{
    return static_cast<std::int32_t>(SendMessageW(Handle(), PBM_GETRANGE, FALSE, 0));
}

void ProgressBar::SetMax(std::int32_t max) noexcept
{
    SendMessageW(Handle(), PBM_SETRANGE32, 0, static_cast<LPARAM>(max));
}

std::int32_t ProgressBar::Position() const noexcept
{
    return static_cast<std::int32_t>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void ProgressBar::SetPosition(std::int32_t position) noexcept
{
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

}  // namespace brelomat
