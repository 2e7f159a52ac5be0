// The eight operations the update run reports through, carried out on the real window.
#include "MainWindowFixture.h"
#include "Texts.h"

#include <commctrl.h>

#include <cstdint>
#include <ostream>

namespace brelomat::testing {
namespace {

class StatusSurfaceOnTheWindowTest : public MainWindowTest {
protected:
    StatusSurfaceOnTheWindowTest() { MakeForm(); }

    int BarMax() const { return static_cast<int>(SendMessageW(Form().PBar.Handle(), PBM_GETRANGE, FALSE, 0)); }
    int BarPos() const { return static_cast<int>(SendMessageW(Form().PBar.Handle(), PBM_GETPOS, 0, 0)); }
};

TEST_F(StatusSurfaceOnTheWindowTest, SetStatusShowsTheTextAndDispatchesWhatWaitsEvenWhenUnchanged)
{
    PostedMessageProbe probe;
    probe.Post();
    Form().SetStatus(texts::StatusDownloading);
    EXPECT_EQ(Form().PStatus.Text(), texts::StatusDownloading);
    EXPECT_EQ(probe.Delivered(), 1);

    probe.Post();
    Form().SetStatus(texts::StatusDownloading);
    EXPECT_EQ(Form().PStatus.Text(), texts::StatusDownloading);
    EXPECT_EQ(probe.Delivered(), 2);
}

TEST_F(StatusSurfaceOnTheWindowTest, ProcessPendingDispatchesWhatWaits)
{
    PostedMessageProbe probe;
    probe.Post();
    probe.Post();
    Form().ProcessPending();
    EXPECT_EQ(probe.Delivered(), 2);
}

TEST_F(StatusSurfaceOnTheWindowTest, TheMoveHintShowsAndHidesBothLinesTogether)
{
    const auto shown = [this] {
        return std::pair(Form().Label2.Visible(), Form().Label3.Visible());
    };
    Form().ShowMoveHint(true);
    EXPECT_EQ(shown(), std::pair(true, true));
    Form().ShowMoveHint(true);
    EXPECT_EQ(shown(), std::pair(true, true));
    Form().ShowMoveHint(false);
    EXPECT_EQ(shown(), std::pair(false, false));
    EXPECT_TRUE(Form().Label1.Visible());
}

struct BarCase {
    const char* name;
    std::int64_t max;
    std::int64_t position;
    int barMax;
    int barPosition;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BarCase& tested, std::ostream* out)
{
    *out << tested.name;
}

class BarOnTheWindowTest : public StatusSurfaceOnTheWindowTest,
                           public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarOnTheWindowTest, FitsTheCountsToTheBar)
{
    Form().SetProgressMax(GetParam().max);
    Form().SetProgressPos(GetParam().position);
    EXPECT_EQ(BarMax(), GetParam().barMax);
    EXPECT_EQ(BarPos(), GetParam().barPosition);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, BarOnTheWindowTest,
    ::testing::Values(BarCase{"PartWay", 2500, 1024, 2500, 1024},
                      BarCase{"Full", 300000, 300000, 300000, 300000},
                      BarCase{"BeyondTheMaximumShowsAFullBar", 100, 150, 100, 100},
                      BarCase{"SixtyFourBitCountsAreScaledTogether", 5'000'000'000, 2'500'000'000,
                              1'250'000'000, 625'000'000}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(StatusSurfaceOnTheWindowTest, BusyShowsTheHourglassOverEveryWindowUntilItEnds)
{
    ShowForm();
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const Window* windows[] = {&Form(), &Form().Panel1, &Form().Label1, &Form().OK, &Form().PStatus, &Form().PBar};
    const auto cursorOver = [](const Window* window) {
        SetCursor(nullptr);
        SendMessageW(window->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window->Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };

    Form().SetBusy(true);
    EXPECT_EQ(GetCursor(), wait) << "at once";
    for (const Window* window : windows)
        EXPECT_EQ(cursorOver(window), wait) << window->Text();

    Form().SetBusy(false);
    EXPECT_EQ(GetCursor(), arrow) << "at once";
    for (const Window* window : windows)
        EXPECT_EQ(cursorOver(window), arrow) << window->Text();
}

TEST_F(StatusSurfaceOnTheWindowTest, FocusAfbrydMovesTheKeyboardFocus)
{
    ShowForm();
    Form().FocusAfbryd();
    EXPECT_EQ(GetFocus(), Form().Afbryd.Handle());
}

TEST_F(StatusSurfaceOnTheWindowTest, InformShowsAnInformationBoxWithTheTextAndOneOkButton)
{
    ShowForm();
    Form().Inform(texts::InformDone);

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    const RecordedBox& box = boxes.Boxes[0];
    EXPECT_EQ(box.Text, texts::InformDone);
    EXPECT_EQ(box.Caption, L"Information");
    EXPECT_EQ(box.Icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(box.Buttons, std::vector<std::wstring>{L"OK"});
}

// Where the box goes for a window at left, top: its corner at left + 100, top + 120, where
// those are not negative; on an axis where one is, the system centres it.
struct PlacementCase {
    const char* name;
    int left;
    int top;
    bool xApplied;
    bool yApplied;
};

void PrintTo(const PlacementCase& tested, std::ostream* out)
{
    *out << tested.name;
}

class InformPlacementTest : public StatusSurfaceOnTheWindowTest,
                            public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(InformPlacementTest, PutsTheBoxBesideTheWindow)
{
    const PlacementCase& placement = GetParam();
    ShowForm();
    SetWindowPos(Form().Handle(), nullptr, placement.left, placement.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(Form().Left(), placement.left);
    ASSERT_EQ(Form().Top(), placement.top);

    Form().Inform(texts::InformMoveByHand);

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    const RECT box = boxes.Boxes[0].Rect;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    const int centredLeft = (work.left + work.right - (box.right - box.left)) / 2;
    const int centredTop = (work.top + work.bottom - (box.bottom - box.top)) / 2;
    EXPECT_EQ(box.left, placement.xApplied ? placement.left + 100 : centredLeft);
    EXPECT_EQ(box.top, placement.yApplied ? placement.top + 120 : centredTop);
}

INSTANTIATE_TEST_SUITE_P(
    WindowPositions, InformPlacementTest,
    ::testing::Values(PlacementCase{"OnScreen", 200, 100, true, true},
                      PlacementCase{"AtTheOrigin", 0, 0, true, true},
                      PlacementCase{"PartlyOffToTheLeft", -150, 10, false, true},
                      PlacementCase{"PartlyOffTheTop", 30, -200, true, false},
                      PlacementCase{"OffBothWays", -150, -200, false, false}),
    [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace brelomat::testing
