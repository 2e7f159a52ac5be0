#include "Form.h"

#include "Application.h"
#include "Button.h"
#include "Dpi.h"

namespace brelomat {

namespace {

constexpr wchar_t FormClass[] = L"BrelomatForm";
constexpr DWORD FormStyleBits = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD FormExStyleBits = WS_EX_CONTROLPARENT;

}  // namespace

Form::Form(Application& application, FormStyle style)
    : application_(application), font_(std::move(style.Font)), clientWidth_(style.ClientWidth),
      clientHeight_(style.ClientHeight)
{
    RegisterOwnClass(FormClass, 0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    // Owned by the application's window, which carries the taskbar button for it.
    CreateOwn({.ClassName = FormClass,
               .Text = style.Caption,
               .Style = FormStyleBits,
               .ExStyle = FormExStyleBits,
               .Parent = application.Handle()});
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(application.Icon(Application::IconSize::Big)));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(application.Icon(Application::IconSize::Small)));
    Rescale(Dpi(), nullptr);
}

Form::~Form() = default;

void Form::Show() noexcept
{
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetActiveWindow(Handle());
    UpdateWindow(Handle());
}

void Form::Hide() noexcept
{
    ShowWindow(Handle(), SW_HIDE);
}

void Form::Close()
{
    CloseAction action = CloseAction::Hide;
    if (OnClose)
        OnClose(action);
    if (action == CloseAction::None)
        return;
    if (application_.MainForm() == this) {
        // The window stays until the application goes: a handler that is still running
        // (a run inside "Start", say) must not find its window freed under it.
        application_.Terminate();
        return;
    }
    if (action == CloseAction::Minimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Hide();  // the application frees its forms when it ends
}

int Form::Left() const noexcept
{
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    return rect.left;
}

int Form::Top() const noexcept
{
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    return rect.top;
}

void Form::Rescale(unsigned dpi, const RECT* suggested)
{
    const SIZE size = WindowSizeForClient(ScaleToDpi(clientWidth_, dpi), ScaleToDpi(clientHeight_, dpi),
                                          FormStyleBits, FormExStyleBits, dpi);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!suggested)
        flags |= SWP_NOMOVE;
    SetWindowPos(Handle(), nullptr, suggested ? suggested->left : 0, suggested ? suggested->top : 0,
                 size.cx, size.cy, flags);
    for (Control* child : Children())
        child->Rescale(dpi);
}

void Form::RestoreFocus() noexcept
{
    HWND target = lastFocus_;
    if (!target || !IsChild(Handle(), target) || !IsWindowEnabled(target) || !IsWindowVisible(target))
        target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    ::SetFocus(target ? target : Handle());
}

void Form::PressFocusedButton()
{
    const HWND focus = GetFocus();
    if (!focus || !IsChild(Handle(), focus))
        return;
    if (auto* button = dynamic_cast<Button*>(FromHandle(focus)))
        button->Click();
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus))
                lastFocus_ = focus;
        } else if (!HIWORD(wParam)) {
            RestoreFocus();
        }
        return 0;
    case WM_COMMAND:
        // The dialog manager (IsDialogMessage in the message loop) turns Enter into IDOK and
        // Escape into IDCANCEL, both without a control: Enter presses the focused button,
        // and as the form has no cancel button, Escape does nothing.
        if (lParam == 0 || FromHandle(reinterpret_cast<HWND>(lParam)) == nullptr) {
            if (LOWORD(wParam) == IDOK)
                PressFocusedButton();
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // The main form minimizes with the application, whose window carries the taskbar button.
        if ((wParam & 0xFFF0) == SC_MINIMIZE && application_.MainForm() == this) {
            application_.Minimize();
            return 0;
        }
        break;
    case WM_DPICHANGED:
        Rescale(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace brelomat
