#include "LoopbackServer.h"
#include "RemoteWindow.h"
#include "Texts.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace brelomat::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The build gives the program's Unix path; Wine shows the Unix root as drive Z:.
std::wstring UpdaterPath()
{
    std::wstring path = fs::path(BRELOMAT_LOOPBACK_UPDATER).wstring();
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path.rfind(L"\\", 0) == 0 ? L"Z:" + path : path;
}

std::string Body(std::size_t length)
{
    std::string body(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        body[i] = static_cast<char>((i * 31 + 7) % 256);
    return body;
}

std::optional<std::string> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

// The folders of one run, with the registry pointing at the program folder, and the
// updater started in the working directory.
class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() /
               (L"brelomat-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter));
        programFolder = root / L"Programmer" / L"KELVOR æøå";
        workFolder = root / L"Arbejde";
        fs::create_directories(programFolder);
        fs::create_directories(workFolder);

        const std::wstring navn = (programFolder / L"Hoved.exe").wstring();
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\KELVOR\\Program", L"Navn", REG_SZ,
                                  navn.c_str(), static_cast<DWORD>((navn.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    void TearDown() override
    {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KELVOR");
        std::error_code ignored;
        SetFileAttributesW((programFolder / L"Brelomat.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(root, ignored);
    }

    void StartUpdater()
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + UpdaterPath() + L"\"";
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   workFolder.c_str(), &startup, &process))
            << "cannot start " << fs::path(UpdaterPath()).string() << ": " << GetLastError();
        const std::wstring caption(texts::WindowCaption);
        const auto found = remote::WaitForTopLevel(process.dwProcessId, nullptr, caption.c_str(), 20s);
        ASSERT_TRUE(found) << "the main window did not appear";
        window = *found;
        start = remote::FindDescendant(window, L"Button", L"Start");
        afbryd = remote::FindDescendant(window, L"Button", L"Afbryd");
        bar = remote::FindDescendant(window, PROGRESS_CLASSW, nullptr);
        ASSERT_TRUE(start && afbryd && bar);
    }

    std::wstring Status() const { return remote::Text(GetParent(bar)); }

    bool HintShown() const
    {
        const std::wstring line(texts::MoveHintLine1);
        const HWND hint = remote::FindDescendant(window, nullptr, line.c_str());
        return hint && IsWindowVisible(hint);
    }

    bool WaitForStatus(std::wstring_view expected, std::chrono::milliseconds limit) const
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (Status() == expected)
                return true;
            Sleep(20);
        }
        return false;
    }

    // Afbryd ends the program, and it ends cleanly.
    void CloseWithAfbryd()
    {
        remote::Click(afbryd);
        ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "the program did not end";
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }

    fs::path Installed() const { return programFolder / L"Brelomat.exe"; }
    fs::path Downloaded() const { return workFolder / L"Brelomat.exe"; }

    static inline int counter = 0;
    fs::path root, programFolder, workFolder;
    PROCESS_INFORMATION process{};
    HWND window = nullptr, start = nullptr, afbryd = nullptr, bar = nullptr;
};

TEST_F(EndToEndTest, StartReplacesTheInstalledCopyAndReportsIt)
{
    const std::string body = Body(300000);
    LoopbackServer server(LoopbackReply::Ok(body), BRELOMAT_LOOPBACK_PORT);
    WriteFile(Installed(), "gammel kopi");
    StartUpdater();

    remote::Click(start);
    const auto box = remote::WaitForBox(process.dwProcessId, 30s);
    ASSERT_TRUE(box) << "no information box; status: " << fs::path(Status()).string();

    EXPECT_EQ(remote::BoxMessage(*box), texts::InformDone);
    const RECT main = remote::ScreenRect(window), placed = remote::ScreenRect(*box);
    if (main.left + 100 >= 0)
        EXPECT_EQ(placed.left, main.left + 100);
    if (main.top + 120 >= 0)
        EXPECT_EQ(placed.top, main.top + 120);
    EXPECT_EQ(Status(), texts::StatusDone);
    const auto state = remote::Bar(bar);
    EXPECT_EQ(state.maximum, 300000);
    EXPECT_EQ(state.position, 300000);
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(ReadFile(Installed()), body);
    EXPECT_FALSE(fs::exists(Downloaded()));

    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].RequestLine(), "GET /Downloads/Brelomat.exe HTTP/1.1");

    remote::PressOk(*box);
    CloseWithAfbryd();
}

TEST_F(EndToEndTest, AnInstalledCopyThatCannotBeReplacedIsLeftForTheUserToMove)
{
    const std::string body = Body(5000);
    LoopbackServer server(LoopbackReply::Ok(body), BRELOMAT_LOOPBACK_PORT);
    WriteFile(Installed(), "gammel kopi");
    SetFileAttributesW(Installed().c_str(), FILE_ATTRIBUTE_READONLY);
    StartUpdater();

    remote::Click(start);
    const auto box = remote::WaitForBox(process.dwProcessId, 30s);
    ASSERT_TRUE(box);

    EXPECT_EQ(remote::BoxMessage(*box), texts::InformMoveByHand);
    EXPECT_EQ(Status(), texts::StatusMoveByHand);
    EXPECT_TRUE(HintShown());
    EXPECT_EQ(ReadFile(Installed()), "gammel kopi");
    EXPECT_EQ(ReadFile(Downloaded()), body);

    remote::PressOk(*box);
    CloseWithAfbryd();
}

TEST_F(EndToEndTest, AFailedDownloadSaysSoInTheStatusLineWithoutABox)
{
    LoopbackServer server(LoopbackReply::Status("HTTP/1.1 404 Not Found"), BRELOMAT_LOOPBACK_PORT);
    WriteFile(Installed(), "gammel kopi");
    StartUpdater();

    remote::Click(start);

    EXPECT_TRUE(WaitForStatus(texts::StatusDownloadFailed, 30s)) << fs::path(Status()).string();
    EXPECT_FALSE(remote::WaitForBox(process.dwProcessId, 1s));
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(ReadFile(Installed()), "gammel kopi");
    EXPECT_FALSE(fs::exists(Downloaded()));
    CloseWithAfbryd();
}

TEST_F(EndToEndTest, ClosingAtOnceSendsNoRequestAndTouchesNoFile)
{
    LoopbackServer server(LoopbackReply::Ok("ny"), BRELOMAT_LOOPBACK_PORT);
    WriteFile(Installed(), "gammel kopi");
    StartUpdater();

    CloseWithAfbryd();

    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(ReadFile(Installed()), "gammel kopi");
    EXPECT_FALSE(fs::exists(Downloaded()));
}

}  // namespace
}  // namespace brelomat::testing
