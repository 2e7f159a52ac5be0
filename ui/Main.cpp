#include "Main.h"

#include "DownloadPhase.h"
#include "MessageDlg.h"
#include "Registry.h"
#include "ScreenCursor.h"
#include "Texts.h"
#include "UpdateRun.h"
#include "Win32FileSystem.h"

#ifndef BRELOMAT_WEB_SITE_HOST
#error "BRELOMAT_WEB_SITE_HOST must name the publisher's web site"
#endif

#define BRELOMAT_WIDEN2(x) L##x
#define BRELOMAT_WIDEN(x) BRELOMAT_WIDEN2(x)

namespace brelomat {

TMainForm* MainForm = nullptr;

namespace {

constexpr std::wstring_view WebSiteHost = BRELOMAT_WIDEN(BRELOMAT_WEB_SITE_HOST);

FontSpec SansSerif(int points, bool bold, Color color)
{
    return FontSpec{L"MS Sans Serif", points, bold, color};
}

std::wstring DownloadFromText()
{
    return std::wstring(texts::DownloadFromPrefix) + std::wstring(WebSiteHost);
}

}  // namespace

// For the length of one run: "Start" is disabled so that a person sees a second press is
// not taken, and OKClick ignores one all the same (a disabled button still reports BM_CLICK).
class TMainForm::RunInProgress {
public:
    explicit RunInProgress(TMainForm& form) noexcept : form_(form)
    {
        form_.running_ = true;
        // A disabled window cannot keep the focus; Afbryd is where every run leaves it.
        if (form_.OK.Focused())
            form_.Afbryd.SetFocus();
        form_.OK.SetEnabled(false);
    }
    ~RunInProgress()
    {
        form_.OK.SetEnabled(true);
        form_.running_ = false;
    }
    RunInProgress(const RunInProgress&) = delete;
    RunInProgress& operator=(const RunInProgress&) = delete;

private:
    TMainForm& form_;
};

TMainForm::TMainForm(Application& application) : TMainForm(application, std::wstring(DownloadHost()))
{
}

TMainForm::TMainForm(Application& application, std::wstring downloadHost)
    : Form(application, {.Caption = texts::WindowCaption,
                         .ClientWidth = 378,
                         .ClientHeight = 208,
                         .Font = SansSerif(8, false, colors::WindowText)}),
      Panel1(*this, {0, 0, 378, 208}, {.Inner = Bevel::Lowered, .Outer = Bevel::None}),
      Panel2(Panel1, {13, 13, 348, 60}, {.Inner = Bevel::Lowered, .Outer = Bevel::None},
             SansSerif(9, true, colors::Navy)),
      Label1(Panel2, 7, 7, DownloadFromText()),
      Label2(Panel2, 7, 23, texts::MoveHintLine1, SansSerif(9, true, colors::Purple), Label::Shown::No),
      Label3(Panel2, 7, 39, texts::MoveHintLine2, SansSerif(9, true, colors::Purple), Label::Shown::No),
      OK(Panel1, {257, 91, 60, 20}, texts::StartButton),
      Afbryd(Panel1, {255, 139, 61, 20}, texts::AfbrydButton),
      PStatus(Panel1, {1, 186, 376, 21}, {.Inner = Bevel::None, .Outer = Bevel::None, .Kind = BevelKind::Soft},
              SansSerif(8, true, colors::Navy)),
      PBar(PStatus, {208, 2, 157, 12}),
      downloadHost_(std::move(downloadHost))
{
    OnCreate = [this] { FormCreate(); };
    OnClose = [this](CloseAction& action) { FormClose(action); };
    OK.OnClick = [this] { OKClick(); };
    Afbryd.OnClick = [this] { AfbrydClick(); };
    HTTP.OnWorkBegin = [this](WorkMode mode, std::int64_t expected) { FTPWorkBegin(mode, expected); };
    HTTP.OnWork = [this](WorkMode mode, std::int64_t count) { FTPWork(mode, count); };
}

void TMainForm::FormCreate()
{
    // The reader lives only here; a value of the wrong type throws out of FormCreate, and
    // CreateForm shows the error.
    FillStartupSettings(Settings, downloadHost_, [] {
        RegistryReader registry;
        std::wstring progFile;
        if (registry.OpenKey(ProgramKey, false))
            progFile = registry.ReadString(ProgramValue);
        registry.CloseKey();
        return progFile;
    });
}

void TMainForm::FormClose(CloseAction& action)
{
    action = CloseAction::Free;
}

void TMainForm::OKClick()
{
    // A press delivered while a run dispatches its pending messages.
    if (running_)
        return;
    RunInProgress run(*this);
    Win32FileSystem files;
    RunUpdate(Settings.BaseURL, Settings.ProgDir, HTTP, files, *this);
}

void TMainForm::AfbrydClick()
{
    Close();
}

void TMainForm::FTPWorkBegin(WorkMode, std::int64_t expected)
{
    OnDownloadWorkBegin(*this, expected);
}

void TMainForm::FTPWork(WorkMode, std::int64_t count)
{
    OnDownloadWork(*this, count);
}

void TMainForm::SetStatus(std::wstring_view text)
{
    PStatus.SetCaption(text);
    ProcessPending();
}

void TMainForm::ShowMoveHint(bool shown)
{
    Label2.SetVisible(shown);
    Label3.SetVisible(shown);
}

void TMainForm::SetProgressMax(std::int64_t max)
{
    barScale_ = BarScale(max);
    PBar.SetMax(barScale_.Max());
}

void TMainForm::SetProgressPos(std::int64_t position)
{
    PBar.SetPosition(barScale_.Position(position));
}

void TMainForm::SetBusy(bool on)
{
    SetScreenCursor(on ? ScreenCursor::HourGlass : ScreenCursor::Default);
}

void TMainForm::ProcessPending()
{
    Owner().ProcessMessages();
}

void TMainForm::Inform(std::wstring_view text)
{
    // Once the window has been asked to close, the run goes on to its end but no box waits
    // for a person who has already left.
    if (Owner().Terminated())
        return;
    MessageDlgPos(Handle(), text, Left() + 100, Top() + 120);
}

void TMainForm::FocusAfbryd()
{
    Afbryd.SetFocus();
}

}  // namespace brelomat
