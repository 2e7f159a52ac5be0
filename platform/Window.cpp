#include "Window.h"

#include "Application.h"
#include "Dpi.h"
#include "PlatformError.h"
#include "ScreenCursor.h"

#include <algorithm>
#include <atomic>

namespace brelomat {

namespace {

// A property rather than GWLP_USERDATA: system controls may use their user data themselves.
constexpr wchar_t ObjectProperty[] = L"Brelomat.Window";

}  // namespace

Window::~Window()
{
    DestroyHandle();
}

Window* Window::FromHandle(HWND window) noexcept
{
    return window ? static_cast<Window*>(GetPropW(window, ObjectProperty)) : nullptr;
}

std::wstring Window::Text() const
{
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void Window::SetText(std::wstring_view text)
{
    if (!SetWindowTextW(Handle(), std::wstring(text).c_str()))
        ThrowLastError(L"SetWindowText");
}

bool Window::Visible() const noexcept
{
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Window::SetVisible(bool visible) noexcept
{
    if (visible != Visible())
        ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::Enabled() const noexcept
{
    return IsWindowEnabled(Handle()) != FALSE;
}

void Window::SetEnabled(bool enabled) noexcept
{
    EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

void Window::SetFocus() noexcept
{
    ::SetFocus(Handle());
}

bool Window::Focused() const noexcept
{
    return Handle() && GetFocus() == Handle();
}

unsigned Window::Dpi() const noexcept
{
    return WindowDpi(Handle());
}

void Window::RegisterOwnClass(const wchar_t* name, UINT style, HBRUSH background)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowLastError(L"RegisterClassEx");
}

void Window::CreateOwn(const Creation& creation)
{
    const HWND window = CreateWindowExW(
        creation.ExStyle, creation.ClassName, std::wstring(creation.Text).c_str(), creation.Style,
        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, creation.Parent,
        reinterpret_cast<HMENU>(creation.Id), GetModuleHandleW(nullptr), this);
    if (!window)
        ThrowLastError(L"CreateWindowEx");
}

void Window::CreateSystem(const Creation& creation)
{
    const HWND window = CreateWindowExW(
        creation.ExStyle, creation.ClassName, std::wstring(creation.Text).c_str(), creation.Style,
        0, 0, 0, 0, creation.Parent, reinterpret_cast<HMENU>(creation.Id),
        GetModuleHandleW(nullptr), nullptr);
    if (!window)
        ThrowLastError(L"CreateWindowEx");
    Adopt(window);
}

void Window::Adopt(HWND window) noexcept
{
    window_.reset(window);
    SetPropW(window, ObjectProperty, this);
}

void Window::DestroyHandle() noexcept
{
    if (const HWND window = window_.release()) {
        RemovePropW(window, ObjectProperty);
        DestroyWindow(window);
    }
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam != 0) {
        Window* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (child && child != this) {
            child->OnCommand(HIWORD(wParam));
            return 0;
        }
    }
    return DefaultHandling(message, wParam, lParam);
}

void Window::OnCommand(WORD)
{
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* creating = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (creating)
            creating->Adopt(window);
    }
    Window* self = FromHandle(window);
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);

    if (message == WM_SETCURSOR && ApplyScreenCursor())
        return TRUE;

    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // A paint that failed must still validate, or WM_PAINT would come back for ever.
        if (message == WM_PAINT)
            ValidateRect(window, nullptr);
        Application::HandleException(std::current_exception());
        result = 0;
    }

    if (message == WM_NCDESTROY) {
        // Destroyed by the system (with its parent, say): later messages find no object.
        RemovePropW(window, ObjectProperty);
        if (self->window_.get() == window)
            self->window_.release();
    }
    return result;
}

Control::Control(Window& parent, Bounds bounds, std::optional<FontSpec> ownFont)
    : parent_(parent), bounds_(bounds), ownFont_(std::move(ownFont))
{
}

Control::~Control()
{
    if (attached_) {
        auto& siblings = parent_.children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    // Before the font goes: the window may still refer to it while it is destroyed.
    DestroyHandle();
}

const FontSpec& Control::Font() const
{
    return ownFont_ ? *ownFont_ : parent_.Font();
}

void Control::Attach()
{
    parent_.children_.push_back(this);
    attached_ = true;
    Rescale(parent_.Dpi());
}

void Control::Rescale(unsigned dpi)
{
    UniqueFont font = CreateScaledFont(Font(), dpi);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    font_ = std::move(font);  // the old one goes only after the control has let go of it

    const SIZE size = SizeAt(dpi);
    SetWindowPos(Handle(), nullptr, ScaleToDpi(bounds_.Left, dpi), ScaleToDpi(bounds_.Top, dpi),
                 size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, TRUE);

    for (Control* child : Children())
        child->Rescale(dpi);
}

SIZE Control::SizeAt(unsigned dpi) const
{
    return SIZE{ScaleToDpi(bounds_.Width, dpi), ScaleToDpi(bounds_.Height, dpi)};
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.get());
    case WM_SETFONT:
        // The font is the control's own (Rescale makes it); nothing to keep from outside.
        if (LOWORD(lParam))
            InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

UINT_PTR Control::NextId() noexcept
{
    static std::atomic<UINT_PTR> next{1000};
    return next++;
}

}  // namespace brelomat
