// Presses the updater's buttons for the unattended demo, by window messages only.
//   DemoDriver wait-window | click <caption> | wait-box | press-ok
#include "RemoteWindow.h"
#include "Texts.h"

#include <cstdio>
#include <string>

using namespace brelomat;
using namespace brelomat::testing;

namespace {

HWND MainWindow()
{
    const std::wstring caption(texts::WindowCaption);
    const auto window = remote::WaitForTopLevel(0, nullptr, caption.c_str(), std::chrono::seconds(30));
    return window ? *window : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring command = argv[1];

    if (command == L"wait-window")
        return MainWindow() ? 0 : 1;
    if (command == L"click" && argc == 3) {
        const HWND window = MainWindow();
        const HWND button = window ? remote::FindDescendant(window, L"Button", argv[2]) : nullptr;
        if (!button)
            return 1;
        remote::Click(button);
        return 0;
    }
    if (command == L"wait-box" || command == L"press-ok") {
        const auto box = remote::WaitForBox(0, std::chrono::seconds(60));
        if (!box)
            return 1;
        if (command == L"press-ok")
            remote::PressOk(*box);
        else
            std::fwprintf(stdout, L"%ls\n", remote::BoxMessage(*box).c_str());
        return 0;
    }
    return 2;
}
