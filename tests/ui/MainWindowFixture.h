#pragma once

#include "BoxRecorder.h"
#include "Main.h"
#include "ProgramKey.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace brelomat::testing {

using namespace std::chrono_literals;

// Runs action once, from the message loop, after delay (a timer of this thread).
class LaterAction {
public:
    LaterAction(std::chrono::milliseconds delay, std::function<void()> action);
    ~LaterAction();
    LaterAction(const LaterAction&) = delete;
    LaterAction& operator=(const LaterAction&) = delete;

    bool Ran() const noexcept { return ran_; }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) noexcept;

    std::function<void()> action_;
    UINT_PTR timer_;
    bool ran_ = false;
};

// A window that counts the messages posted to it once they are dispatched: shows whether a
// call dispatched what was waiting.
class PostedMessageProbe {
public:
    PostedMessageProbe();
    ~PostedMessageProbe();
    PostedMessageProbe(const PostedMessageProbe&) = delete;
    PostedMessageProbe& operator=(const PostedMessageProbe&) = delete;

    void Post() const noexcept;
    int Delivered() const noexcept { return delivered_; }

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM) noexcept;

    HWND window_;
    int delivered_ = 0;
};

// The main window as the program makes it (title, CreateForm, so that FormCreate runs),
// with the program key removed before and after, and every message box recorded and closed.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    // Downloads from downloadHost.
    TMainForm& MakeForm(const std::wstring& downloadHost = L"127.0.0.1:9");
    // Downloads from the host the test executable was built with, as the program does.
    TMainForm& MakeFormForBuiltInHost();
    // Shows the window as Application::Run does first, and dispatches what that brings.
    void ShowForm();
    void Pump();
    // Application::Run until it returns by itself (true) or limit has passed (false: the
    // application is then ended, closing a box that may be open).
    bool RunWithin(std::chrono::milliseconds limit);
    void EndApplication();

    TMainForm& Form() const { return *MainForm; }

    // Declared first: every box the application opens goes through its hook.
    BoxRecorder boxes;
    ProgramKeyInPrefix programKey;
    std::unique_ptr<Application> application;
};

// Where a child window stands in its parent's client area, and its size.
struct Placement {
    int Left, Top, Width, Height;
};
Placement PlacementInParent(HWND window);
// The design value at the window's pixel density.
int Scaled(int value, HWND window);

}  // namespace brelomat::testing
