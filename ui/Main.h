#pragma once

#include "Application.h"
#include "BarScale.h"
#include "Button.h"
#include "Form.h"
#include "HttpClient.h"
#include "Label.h"
#include "Panel.h"
#include "ProgressBar.h"
#include "Settings.h"
#include "StatusSurface.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brelomat {

// The updater's only window: the framed text, "Start" and "Afbryd", the status line with
// its progress bar. It holds the start-up settings and the HTTP client, and is the status
// surface the update run reports through.
class TMainForm final : public Form, public StatusSurface {
public:
    // Downloads from the host this program was built for.
    explicit TMainForm(Application& application);
    // Downloads from downloadHost ("name" or "name:port").
    TMainForm(Application& application, std::wstring downloadHost);

    Panel Panel1;
    Panel Panel2;
    Label Label1;
    Label Label2;
    Label Label3;
    Button OK;
    Button Afbryd;
    Panel PStatus;
    ProgressBar PBar;
    HttpClient HTTP;  // one for the program's life: it keeps the cookies servers set

    StartupSettings Settings;

    // Handlers, wired to their events in the constructor.
    void FormCreate();
    void FormClose(CloseAction& action);
    void OKClick();
    void AfbrydClick();
    void FTPWorkBegin(WorkMode mode, std::int64_t expected);
    void FTPWork(WorkMode mode, std::int64_t count);

    // The status surface.
    void SetStatus(std::wstring_view text) override;
    void ShowMoveHint(bool shown) override;
    void SetProgressMax(std::int64_t max) override;
    void SetProgressPos(std::int64_t position) override;
    void SetBusy(bool on) override;
    void ProcessPending() override;
    void Inform(std::wstring_view text) override;
    void FocusAfbryd() override;

private:
    class RunInProgress;

    std::wstring downloadHost_;
    BarScale barScale_;
    bool running_ = false;
};

// The main form, once Application::CreateForm has made it.
extern TMainForm* MainForm;

}  // namespace brelomat
