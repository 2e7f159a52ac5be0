// The application object around the main window: closing, the taskbar button's window,
// and errors that reach a window procedure.
#include "MainWindowFixture.h"
#include "Texts.h"

#include <stdexcept>
#include <ostream>

namespace brelomat::testing {
namespace {

struct CloseCase {
    const char* name;
    void (*request)(TMainForm& form, HWND taskbar);
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CloseCase& tested, std::ostream* out)
{
    *out << tested.name;
}

class ClosingTest : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTest, EndsTheProgramButKeepsTheWindowUntilTheApplicationGoes)
{
    TMainForm& form = MakeForm();
    ShowForm();
    GetParam().request(form, application->Handle());

    EXPECT_TRUE(RunWithin(5s)) << "Run returns once the main form has been closed";
    EXPECT_TRUE(application->Terminated());
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_TRUE(boxes.Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ClosingTest,
    ::testing::Values(
        CloseCase{"Afbryd", [](TMainForm& form, HWND) { PostMessageW(form.Afbryd.Handle(), BM_CLICK, 0, 0); }},
        CloseCase{"AfbrydClick", [](TMainForm& form, HWND) { form.AfbrydClick(); }},
        CloseCase{"TitleBarClose",
                  [](TMainForm& form, HWND) { PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseCase{"CloseMessage", [](TMainForm& form, HWND) { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); }},
        CloseCase{"TaskbarClose",
                  [](TMainForm&, HWND taskbar) { PostMessageW(taskbar, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const auto& tested) { return std::string(tested.param.name); });

class ApplicationWindowTest : public MainWindowTest {};

TEST_F(ApplicationWindowTest, MinimizingTheFormMinimizesTheApplicationAndRestoringBringsItBack)
{
    TMainForm& form = MakeForm();
    ShowForm();
    const HWND taskbar = application->Handle();

    SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(IsIconic(taskbar));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));

    // What a click on the taskbar button does.
    SendMessageW(taskbar, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(IsIconic(taskbar));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(GetActiveWindow(), form.Handle());
}

TEST_F(ApplicationWindowTest, ActivatingTheApplicationWindowActivatesTheForm)
{
    TMainForm& form = MakeForm();
    ShowForm();
    SetActiveWindow(application->Handle());
    Pump();
    EXPECT_EQ(GetActiveWindow(), form.Handle());
    EXPECT_EQ(GetFocus(), form.OK.Handle()) << "with the focus where it was";
}

TEST_F(ApplicationWindowTest, AnErrorInAHandlerIsShownAndTheWindowLivesOn)
{
    TMainForm& form = MakeForm();
    ShowForm();
    form.OK.OnClick = [] { throw std::runtime_error("uventet fejl"); };

    form.OK.Click();

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, L"uventet fejl");
    EXPECT_EQ(boxes.Boxes[0].Caption, texts::ApplicationTitle);
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_FALSE(application->Terminated());
}

}  // namespace
}  // namespace brelomat::testing
