#include "RemoteWindow.h"

#include <commctrl.h>

#include <thread>
#include <vector>

namespace brelomat::testing::remote {

namespace {

template <typename Predicate>
std::optional<HWND> WaitFor(std::chrono::milliseconds timeout, Predicate find)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (const HWND found = find())
            return found;
        std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

struct TopLevelQuery {
    DWORD pid;
    const wchar_t* className;
    const wchar_t* caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter) noexcept
{
    auto& query = *reinterpret_cast<TopLevelQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((query.pid != 0 && owner != query.pid) || !IsWindowVisible(window))
        return TRUE;
    if (query.className && ClassName(window) != query.className)
        return TRUE;
    if (query.caption && Text(window) != query.caption)
        return TRUE;
    query.found = window;
    return FALSE;
}

struct ChildQuery {
    const wchar_t* className;
    const wchar_t* text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM parameter) noexcept
{
    auto& query = *reinterpret_cast<ChildQuery*>(parameter);
    if (query.className && lstrcmpiW(ClassName(window).c_str(), query.className) != 0)
        return TRUE;
    if (query.text && Text(window) != query.text)
        return TRUE;
    query.found = window;
    return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) noexcept
{
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

}  // namespace

std::optional<HWND> WaitForTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption,
                                    std::chrono::milliseconds timeout)
{
    return WaitFor(timeout, [&]() -> HWND {
        TopLevelQuery query{pid, className, caption};
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
        return query.found;
    });
}

std::optional<HWND> WaitForBox(DWORD pid, std::chrono::milliseconds timeout)
{
    return WaitForTopLevel(pid, L"#32770", nullptr, timeout);
}

HWND FindDescendant(HWND parent, const wchar_t* className, const wchar_t* text)
{
    ChildQuery query{className, text};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::wstring Text(HWND window)
{
    // WM_GETTEXT is marshalled across processes; a bounded wait keeps a hung peer from
    // hanging the caller.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring BoxMessage(HWND box)
{
    std::vector<HWND> children;
    EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::wstring message;
    for (const HWND child : children)
        if (lstrcmpiW(ClassName(child).c_str(), L"Static") == 0) {
            auto text = Text(child);
            if (text.size() > message.size())
                message = std::move(text);
        }
    return message;
}

RECT ScreenRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void Click(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PressOk(HWND box)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

BarState Bar(HWND progressBar)
{
    DWORD_PTR low = 0, high = 0, position = 0;
    SendMessageTimeoutW(progressBar, PBM_GETRANGE, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &low);
    SendMessageTimeoutW(progressBar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &high);
    SendMessageTimeoutW(progressBar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position);
    return {static_cast<int>(low), static_cast<int>(high), static_cast<int>(position)};
}

}  // namespace brelomat::testing::remote
