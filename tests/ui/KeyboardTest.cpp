// The window at the keyboard: like a dialog without default or cancel button.
#include "LoopbackServer.h"
#include "MainWindowFixture.h"
#include "Texts.h"

namespace brelomat::testing {
namespace {

std::wstring LoopbackHost(std::uint16_t port)
{
    return L"127.0.0.1:" + std::to_wstring(port);
}

class KeyboardTest : public MainWindowTest {
protected:
    KeyboardTest()
    {
        // Nothing listens there: a run that starts ends at once in the download failure.
        MakeForm(LoopbackHost(UnusedLoopbackPort()));
        ShowForm();
    }

    void Press(WPARAM key)
    {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        Pump();
    }
};

TEST_F(KeyboardTest, TheFocusStartsOnStartAndTabMovesBetweenTheButtons)
{
    EXPECT_EQ(GetFocus(), Form().OK.Handle());
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Form().Afbryd.Handle());
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Form().OK.Handle());
}

TEST_F(KeyboardTest, EnterOnStartRunsTheUpdate)
{
    Press(VK_RETURN);
    EXPECT_EQ(Form().PStatus.Text(), texts::StatusDownloadFailed);
    EXPECT_EQ(GetFocus(), Form().Afbryd.Handle());
    EXPECT_FALSE(application->Terminated());
}

TEST_F(KeyboardTest, EnterOnAfbrydClosesTheWindow)
{
    Form().Afbryd.SetFocus();
    Press(VK_RETURN);
    EXPECT_TRUE(application->Terminated());
    EXPECT_EQ(Form().PStatus.Text(), L"");
}

TEST_F(KeyboardTest, EscapeDoesNothingWhereverTheFocusIs)
{
    for (Button* focused : {&Form().OK, &Form().Afbryd}) {
        SCOPED_TRACE(focused->Text());
        focused->SetFocus();
        Press(VK_ESCAPE);
        EXPECT_FALSE(application->Terminated());
        EXPECT_EQ(Form().PStatus.Text(), L"");
        EXPECT_TRUE(IsWindowVisible(Form().Handle()));
        EXPECT_EQ(GetFocus(), focused->Handle());
    }
}

}  // namespace
}  // namespace brelomat::testing
