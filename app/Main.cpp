// The program: the application's title, the main window, the message loop.
#include "Application.h"
#include "Main.h"
#include "MessageDlg.h"
#include "PlatformError.h"
#include "Texts.h"

#include <windows.h>

#include <exception>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace brelomat;
    try {
        Application application;
        application.SetTitle(texts::ApplicationTitle);
        application.CreateForm(MainForm);
        application.Run();
        return 0;
    } catch (const std::exception& error) {
        // Only a window that cannot be made at all gets here; FormCreate's errors are shown
        // by CreateForm, and no handler lets one out.
        ShowErrorBox(nullptr, texts::ApplicationTitle, DescribeException(error));
    } catch (...) {
        ShowErrorBox(nullptr, texts::ApplicationTitle, L"Unexpected error");
    }
    return 1;
}
