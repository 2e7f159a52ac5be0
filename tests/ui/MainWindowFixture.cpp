#include "MainWindowFixture.h"

#include "Dpi.h"
#include "Texts.h"

#include <map>

namespace brelomat::testing {

namespace {

thread_local std::map<UINT_PTR, LaterAction*> pendingActions;

constexpr wchar_t ProbeClass[] = L"BrelomatTestProbe";
constexpr UINT ProbeMessage = WM_APP + 7;

}  // namespace

LaterAction::LaterAction(std::chrono::milliseconds delay, std::function<void()> action)
    : action_(std::move(action)), timer_(SetTimer(nullptr, 0, static_cast<UINT>(delay.count()), Fire))
{
    if (!timer_)
        ADD_FAILURE() << "SetTimer failed: " << GetLastError();
    pendingActions[timer_] = this;
}

LaterAction::~LaterAction()
{
    if (timer_)
        KillTimer(nullptr, timer_);
    pendingActions.erase(timer_);
}

void CALLBACK LaterAction::Fire(HWND, UINT, UINT_PTR id, DWORD) noexcept
{
    KillTimer(nullptr, id);
    const auto found = pendingActions.find(id);
    if (found == pendingActions.end())
        return;
    LaterAction& later = *found->second;
    pendingActions.erase(found);
    later.timer_ = 0;
    later.ran_ = true;
    later.action_();
}

PostedMessageProbe::PostedMessageProbe()
{
    WNDCLASSEXW probeClass{};
    probeClass.cbSize = sizeof probeClass;
    probeClass.lpfnWndProc = Procedure;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = ProbeClass;
    RegisterClassExW(&probeClass);
    window_ = CreateWindowExW(0, ProbeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!window_)
        ADD_FAILURE() << "cannot make the probe window: " << GetLastError();
}

PostedMessageProbe::~PostedMessageProbe()
{
    if (window_)
        DestroyWindow(window_);
}

void PostedMessageProbe::Post() const noexcept
{
    PostMessageW(window_, ProbeMessage, 0, 0);
}

LRESULT CALLBACK PostedMessageProbe::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    if (message == ProbeMessage) {
        if (auto* probe = reinterpret_cast<PostedMessageProbe*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            ++probe->delivered_;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

MainWindowTest::MainWindowTest() : application(std::make_unique<Application>())
{
    application->SetTitle(texts::ApplicationTitle);
}

MainWindowTest::~MainWindowTest()
{
    EndApplication();
}

TMainForm& MainWindowTest::MakeForm(const std::wstring& downloadHost)
{
    application->CreateForm(MainForm, downloadHost);
    return *MainForm;
}

TMainForm& MainWindowTest::MakeFormForBuiltInHost()
{
    application->CreateForm(MainForm);
    return *MainForm;
}

void MainWindowTest::ShowForm()
{
    application->ShowMainForm();
    Pump();
}

void MainWindowTest::Pump()
{
    application->ProcessMessages();
}

bool MainWindowTest::RunWithin(std::chrono::milliseconds limit)
{
    bool gaveUp = false;
    LaterAction watchdog(limit, [&] {
        gaveUp = true;
        application->Terminate();
        // The application may have been asked to end already; a quit request of our own
        // ends the modal loop of a box that waits all the same.
        PostQuitMessage(0);
    });
    application->Run();
    return !gaveUp;
}

void MainWindowTest::EndApplication()
{
    if (application) {
        application->ProcessMessages();
        application.reset();
    }
}

Placement PlacementInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return Placement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

int Scaled(int value, HWND window)
{
    return ScaleToDpi(value, WindowDpi(window));
}

}  // namespace brelomat::testing
