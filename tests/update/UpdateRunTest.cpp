#include "UpdateRun.h"

#include "FakeFileSystem.h"
#include "FakeHttpGetter.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

namespace brelomat {
namespace {

using testing::FakeFileSystem;
using testing::FakeHttpGetter;
using testing::Pattern;
using testing::RecordingSurface;
using Calls = std::vector<std::wstring>;

const std::wstring BaseURL = L"http://dl.example/Downloads/";
const std::wstring ProgDir = L"C:\\Programmer\\KELVOR\\";

TEST(UpdateRunTest, ADownloadThatWorkedIsInstalled)
{
    FakeHttpGetter http;
    FakeFileSystem files;
    RecordingSurface surface;
    http.Body = Pattern(4000);
    files.MakeFolder(ProgDir);

    RunUpdate(BaseURL, ProgDir, http, files, surface);

    EXPECT_EQ(surface.Of(L"SetStatus"), (Calls{L" 1. Download af Brelomat", L" 2. Opdatering af Brelomat",
                                              L" 3. Download er fuldført"}));
    EXPECT_EQ(files.Content(ProgDir + L"Brelomat.exe"), Pattern(4000));
    EXPECT_FALSE(files.Exists(L"Brelomat.exe"));
}

TEST(UpdateRunTest, AFailedDownloadTouchesNoInstalledCopy)
{
    FakeHttpGetter http;
    FakeFileSystem files;
    RecordingSurface surface;
    http.Fails = FakeHttpGetter::Failure::BeforeBody;
    files.Put(ProgDir + L"Brelomat.exe", Pattern(10));

    RunUpdate(BaseURL, ProgDir, http, files, surface);

    EXPECT_EQ(surface.Of(L"SetStatus"), (Calls{L" 1. Download af Brelomat", L"Downloadforbindelsen er afbrudt"}));
    EXPECT_EQ(files.Content(ProgDir + L"Brelomat.exe"), Pattern(10));
}

TEST(UpdateRunTest, ASecondRunHidesTheHintOfTheFirstAgain)
{
    FakeHttpGetter http;
    FakeFileSystem files;
    RecordingSurface surface;
    http.Body = Pattern(10);

    RunUpdate(BaseURL, L"", http, files, surface);
    RunUpdate(BaseURL, L"", http, files, surface);

    EXPECT_EQ(surface.Of(L"ShowMoveHint"), (Calls{L"no", L"yes", L"no", L"yes"}));
    EXPECT_EQ(http.Urls.size(), 2u);
}

}  // namespace
}  // namespace brelomat
