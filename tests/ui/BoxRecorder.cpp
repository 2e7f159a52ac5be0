#include "BoxRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brelomat::testing {

namespace {

thread_local BoxRecorder* recording = nullptr;

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> ChildrenOf(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace

BoxRecorder::BoxRecorder(Press press)
    : Pressing(press), hook_(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId())),
      previous_(recording)
{
    recording = this;
    if (!hook_)
        ADD_FAILURE() << "cannot hook message boxes: " << GetLastError();
}

BoxRecorder::~BoxRecorder()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    recording = previous_;
}

LRESULT CALLBACK BoxRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    if (code == HCBT_ACTIVATE && recording) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (ClassOf(window) == L"#32770")
            recording->Record(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void BoxRecorder::Record(HWND box)
{
    if (std::find(seen_.begin(), seen_.end(), box) != seen_.end())
        return;
    seen_.push_back(box);

    RecordedBox recorded;
    recorded.Caption = TextOf(box);
    GetWindowRect(box, &recorded.Rect);
    for (const HWND child : ChildrenOf(box)) {
        const std::wstring kind = ClassOf(child);
        if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
            recorded.Buttons.push_back(TextOf(child));
        } else if (lstrcmpiW(kind.c_str(), L"Static") == 0) {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                recorded.Icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            else if (auto text = TextOf(child); text.size() > recorded.Text.size())
                recorded.Text = std::move(text);
        }
    }
    Boxes.push_back(recorded);
    if (WhileOpen)
        WhileOpen(recorded);
    if (Pressing == Press::Ok)
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace brelomat::testing
