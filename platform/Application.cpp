#include "Application.h"

#include "MessageDlg.h"
#include "PlatformError.h"


namespace brelomat {

namespace {

constexpr wchar_t TaskbarClass[] = L"BrelomatApplication";
// Posted, so that the form is activated after the system has finished activating our window.
constexpr UINT ActivateMainFormMessage = WM_APP + 1;

Application* current = nullptr;

BOOL CALLBACK TakeFirstIcon(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) noexcept
{
    *reinterpret_cast<LPCWSTR*>(found) = name;
    return FALSE;
}

HICON LoadProgramIcon(int width, int height) noexcept
{
    const HMODULE program = GetModuleHandleW(nullptr);
    // The first icon group is the one Explorer shows for the file.
    LPCWSTR first = nullptr;
    EnumResourceNamesW(program, RT_GROUP_ICON, TakeFirstIcon, reinterpret_cast<LONG_PTR>(&first));
    HANDLE icon = nullptr;
    if (first)
        icon = LoadImageW(program, first, IMAGE_ICON, width, height, LR_SHARED);
    return icon ? static_cast<HICON>(icon) : LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace

// Zero-sized and so never seen, but visible, unowned and not a tool window: the taskbar
// shows a button for it and none for the forms it owns. What the taskbar does to it
// (activate, minimize, restore, close) it passes on to the main form.
class Application::TaskbarWindow final : public Window {
public:
    explicit TaskbarWindow(Application& application) : application_(application)
    {
        RegisterOwnClass(TaskbarClass, 0, nullptr);
        CreateOwn({.ClassName = TaskbarClass,
                   .Text = L"",
                   .Style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX});
        SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) / 2,
                     GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const FontSpec& Font() const override
    {
        static const FontSpec font;
        return font;
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        Form* const main = application_.MainForm();
        switch (message) {
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
            case SC_MINIMIZE:
                application_.Minimize();
                return 0;
            case SC_RESTORE:
                application_.Restore();
                return 0;
            case SC_CLOSE:
                if (main)
                    main->Close();
                return 0;
            default:
                break;
            }
            break;
        case WM_CLOSE:
            // Not DefWindowProc: that would destroy the window, and the forms it owns with it.
            if (main)
                main->Close();
            return 0;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED)
                application_.MainFormFollowsMinimized(wParam == SIZE_MINIMIZED);
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
                PostMessageW(Handle(), ActivateMainFormMessage, 0, 0);
            return 0;
        case ActivateMainFormMessage:
            application_.ActivateMainForm();
            return 0;
        default:
            break;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    Application& application_;
};

Application::Application() : previous_(current)
{
    bigIcon_ = LoadProgramIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    smallIcon_ = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    taskbar_ = std::make_unique<TaskbarWindow>(*this);
    SendMessageW(taskbar_->Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(taskbar_->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    current = this;
}

Application::~Application()
{
    mainForm_ = nullptr;
    while (!forms_.empty()) {
        OwnedForm last = std::move(forms_.back());
        forms_.pop_back();
        last.form.reset();
        last.forget();
    }
    taskbar_.reset();
    // Terminate's quit request may still wait in the queue; a later message loop on this
    // thread (another application, as tests make them) must not end at once because of it.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    current = previous_;
}

void Application::SetTitle(std::wstring_view title)
{
    taskbar_->SetText(title);
}

std::wstring Application::Title() const
{
    return taskbar_->Text();
}

HWND Application::Handle() const noexcept
{
    return taskbar_ ? taskbar_->Handle() : nullptr;
}

HICON Application::Icon(IconSize size) const noexcept
{
    return size == IconSize::Big ? bigIcon_ : smallIcon_;
}

void Application::Adopt(std::unique_ptr<Form> form, std::function<void()> forget)
{
    Form* const adopted = form.get();
    forms_.push_back({std::move(form), std::move(forget)});
    if (!mainForm_)
        mainForm_ = adopted;
}

void Application::RunCreationHandler(Form& form) noexcept
{
    try {
        if (form.OnCreate)
            form.OnCreate();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void Application::ShowMainForm()
{
    if (!mainForm_)
        return;
    ShowWindow(Handle(), SW_SHOWNA);
    mainForm_->Show();
}

void Application::Run()
{
    if (!mainForm_)
        return;
    ShowMainForm();
    while (!terminated_) {
        if (!ProcessMessage())
            WaitMessage();
    }
}

void Application::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

bool Application::ProcessMessage()
{
    MSG message{};
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    // Keyboard navigation as in a dialog, for the form the message is meant for.
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && dynamic_cast<Form*>(Window::FromHandle(root)) && IsDialogMessageW(root, &message))
        return true;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

void Application::Terminate() noexcept
{
    if (terminated_)
        return;
    terminated_ = true;
    // Also ends a modal loop (an open message box) that runs at this moment.
    PostQuitMessage(0);
}

void Application::Minimize() noexcept
{
    ShowWindow(Handle(), SW_MINIMIZE);
    MainFormFollowsMinimized(true);
}

void Application::Restore() noexcept
{
    ShowWindow(Handle(), SW_RESTORE);
    MainFormFollowsMinimized(false);
}

void Application::MainFormFollowsMinimized(bool minimized) noexcept
{
    if (!mainForm_)
        return;
    if (minimized && mainForm_->Visible()) {
        mainFormHiddenByMinimize_ = true;
        mainForm_->Hide();
    } else if (!minimized && mainFormHiddenByMinimize_) {
        mainFormHiddenByMinimize_ = false;
        mainForm_->Show();
    }
}

void Application::ActivateMainForm() noexcept
{
    if (!mainForm_ || IsIconic(Handle()) || !mainForm_->Visible())
        return;
    // An open message box is the one to activate: the form is disabled beneath it.
    HWND target = GetLastActivePopup(mainForm_->Handle());
    if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = mainForm_->Handle();
    if (IsWindowEnabled(target) && GetActiveWindow() != target)
        SetActiveWindow(target);
}

void Application::ShowException(std::wstring_view text) noexcept
{
    const HWND owner = mainForm_ && mainForm_->Visible() ? mainForm_->Handle() : Handle();
    std::wstring title;
    try {
        title = Title();
    } catch (...) {
    }
    ShowErrorBox(owner, title, text);
}

void Application::HandleException(std::exception_ptr error) noexcept
{
    // An error while the box for another one is open is not shown on top of it.
    thread_local bool showing = false;
    if (showing)
        return;
    showing = true;
    std::wstring text = L"Unexpected error";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        try {
            text = DescribeException(exception);
        } catch (...) {
        }
    } catch (...) {
    }
    if (current)
        current->ShowException(text);
    else
        ShowErrorBox(nullptr, L"", text);
    showing = false;
}

Application* Application::Current() noexcept
{
    return current;
}

}  // namespace brelomat
