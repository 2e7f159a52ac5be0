// Whole runs of "Start" on the real window: the real HTTP client against a loopback server,
// real files in a temporary folder, the program folder read from the registry.
#include "LoopbackServer.h"
#include "MainWindowFixture.h"
#include "TemporaryFolder.h"
#include "Texts.h"

#include <commctrl.h>

#include <optional>

namespace brelomat::testing {
namespace {

Bytes Body(std::size_t length)
{
    Bytes body(length);
    for (std::size_t i = 0; i < length; ++i)
        body[i] = static_cast<std::byte>((i * 31 + 7) % 256);
    return body;
}

std::string AsText(const Bytes& bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

class WholeRunTest : public MainWindowTest {
protected:
    WholeRunTest()
        : programFolder(root.Path() + L"Programmer æøå\\"), workFolder(root.Path() + L"Arbejde\\"),
          workingDirectory((MakeFolder(programFolder), MakeFolder(workFolder), workFolder))
    {
        WriteWholeFile(Installed(), Body(10));
    }

    // The window reads the program folder from the registry, as at every start.
    TMainForm& MakeFormFor(const LoopbackServer& server, bool withProgramFolder = true)
    {
        if (withProgramFolder)
            programKey.SetNavn(programFolder + L"Hoved.exe");
        TMainForm& form = MakeForm(Widen(server.HostAndPort()));
        ShowForm();
        return form;
    }

    std::wstring Installed() const { return programFolder + L"Brelomat.exe"; }
    std::wstring Downloaded() const { return workFolder + L"Brelomat.exe"; }
    int BarMax() const { return static_cast<int>(SendMessageW(Form().PBar.Handle(), PBM_GETRANGE, FALSE, 0)); }
    int BarPos() const { return static_cast<int>(SendMessageW(Form().PBar.Handle(), PBM_GETPOS, 0, 0)); }
    bool HintShown() const { return Form().Label2.Visible() && Form().Label3.Visible(); }
    bool HintHidden() const { return !Form().Label2.Visible() && !Form().Label3.Visible(); }

    TemporaryFolder root;
    std::wstring programFolder;
    std::wstring workFolder;
    ScopedWorkingDirectory workingDirectory;
};

TEST_F(WholeRunTest, StartInstallsTheNewCopyAndSaysSoBesideTheWindow)
{
    const Bytes body = Body(300000);
    LoopbackServer server(LoopbackReply::Ok(AsText(body)));
    TMainForm& form = MakeFormFor(server);
    bool busyDuringTheRun = false;
    boxes.WhileOpen = [&](const RecordedBox&) { busyDuringTheRun = GetCursor() == LoadCursorW(nullptr, IDC_WAIT); };

    form.OK.Click();

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, texts::InformDone);
    EXPECT_EQ(boxes.Boxes[0].Rect.left, form.Left() + 100);
    EXPECT_EQ(boxes.Boxes[0].Rect.top, form.Top() + 120);
    EXPECT_FALSE(busyDuringTheRun) << "the hourglass ends with the download";
    EXPECT_EQ(form.PStatus.Text(), texts::StatusDone);
    EXPECT_EQ(BarMax(), 300000);
    EXPECT_EQ(BarPos(), 300000);
    EXPECT_TRUE(HintHidden());
    EXPECT_EQ(ReadWholeFile(Installed()), body);
    EXPECT_FALSE(ReadWholeFile(Downloaded()));
    EXPECT_EQ(GetFocus(), form.Afbryd.Handle());
    EXPECT_TRUE(form.OK.Enabled());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].RequestLine(), "GET /Downloads/Brelomat.exe HTTP/1.1");
}

TEST_F(WholeRunTest, WithoutAProgramFolderTheDownloadIsLeftForTheUserToMove)
{
    const Bytes body = Body(2500);
    LoopbackServer server(LoopbackReply::Ok(AsText(body)));
    TMainForm& form = MakeFormFor(server, false);
    bool hintShownWithTheBox = false;
    boxes.WhileOpen = [&](const RecordedBox&) { hintShownWithTheBox = HintShown(); };

    form.OK.Click();

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, texts::InformMoveByHand);
    EXPECT_TRUE(hintShownWithTheBox);
    EXPECT_TRUE(HintShown());
    EXPECT_EQ(form.PStatus.Text(), texts::StatusMoveByHand);
    EXPECT_EQ(ReadWholeFile(Downloaded()), body);
    EXPECT_EQ(ReadWholeFile(Installed()), Body(10));
    EXPECT_EQ(GetFocus(), form.Afbryd.Handle());
}

TEST_F(WholeRunTest, AFailedDownloadSaysSoInTheStatusLineWithoutABox)
{
    LoopbackServer server(LoopbackReply::Status("HTTP/1.1 404 Not Found"));
    TMainForm& form = MakeFormFor(server);

    form.OK.Click();

    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(form.PStatus.Text(), texts::StatusDownloadFailed);
    EXPECT_TRUE(HintHidden());
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(GetFocus(), form.Afbryd.Handle());
    EXPECT_TRUE(form.OK.Enabled());
    EXPECT_FALSE(ReadWholeFile(Downloaded()));
    EXPECT_EQ(ReadWholeFile(Installed()), Body(10));
}

TEST_F(WholeRunTest, ASecondRunHidesTheHintTheFirstLeftAndGoesThroughAgain)
{
    const Bytes body = Body(5000);
    LoopbackServer server(LoopbackReply::Ok(AsText(body)));
    TMainForm& form = MakeFormFor(server, false);
    form.OK.Click();
    ASSERT_TRUE(HintShown());

    // The program folder is only read at start; this run finds one.
    form.Settings.ProgDir = programFolder;
    std::optional<bool> hintHiddenAtTheSecondBox;
    boxes.WhileOpen = [&](const RecordedBox&) { hintHiddenAtTheSecondBox = HintHidden(); };
    form.OK.Click();

    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[1].Text, texts::InformDone);
    EXPECT_EQ(hintHiddenAtTheSecondBox, true);
    EXPECT_EQ(form.PStatus.Text(), texts::StatusDone);
    EXPECT_EQ(ReadWholeFile(Installed()), body);
    EXPECT_EQ(server.Requests().size(), 2u);
}

// Slow enough that the request to close arrives while the body is still coming in.
LoopbackReply SlowOk(const Bytes& body)
{
    LoopbackReply reply = LoopbackReply::Ok(AsText(body));
    reply.PieceSize = 2000;
    reply.PieceDelay = 40ms;
    return reply;
}

TEST_F(WholeRunTest, ClosingDuringTheDownloadEndsTheProgramOnlyOnceTheRunIsComplete)
{
    const Bytes body = Body(40000);
    LoopbackServer server(SlowOk(body));
    TMainForm& form = MakeFormFor(server);
    // A box that waited would hold up Run until the watchdog ends it.
    boxes.Pressing = BoxRecorder::Press::Nothing;
    std::optional<int> barWhenClosed;
    LaterAction close(200ms, [&] {
        barWhenClosed = BarPos();
        PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    });
    PostMessageW(form.OK.Handle(), BM_CLICK, 0, 0);

    EXPECT_TRUE(RunWithin(10s)) << "the program did not end by itself";

    ASSERT_TRUE(barWhenClosed);
    EXPECT_LT(*barWhenClosed, 40000) << "closed during the download";
    EXPECT_TRUE(application->Terminated());
    EXPECT_EQ(form.PStatus.Text(), texts::StatusDone);
    EXPECT_EQ(ReadWholeFile(Installed()), body);
    EXPECT_TRUE(boxes.Boxes.empty()) << "no box waits for a person who has gone";
    EXPECT_TRUE(IsWindow(form.Handle())) << "freed only when the application goes";
}

TEST_F(WholeRunTest, ASecondStartDuringARunIsNotTaken)
{
    const Bytes body = Body(20000);
    LoopbackServer server(SlowOk(body));
    TMainForm& form = MakeFormFor(server);
    std::optional<bool> startEnabledDuringTheRun;
    boxes.WhileOpen = [&](const RecordedBox&) {
        if (startEnabledDuringTheRun)
            return;  // a run that was let in by mistake would come back here
        startEnabledDuringTheRun = form.OK.Enabled();
        form.OKClick();  // as a press delivered inside the run would
    };
    // The second press arrives while the run dispatches its messages.
    PostMessageW(form.OK.Handle(), BM_CLICK, 0, 0);
    PostMessageW(form.OK.Handle(), BM_CLICK, 0, 0);

    Pump();

    EXPECT_EQ(startEnabledDuringTheRun, false);
    EXPECT_TRUE(form.OK.Enabled()) << "enabled again once the run is over";
    EXPECT_EQ(server.Requests().size(), 1u);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(ReadWholeFile(Installed()), body);
}

}  // namespace
}  // namespace brelomat::testing
