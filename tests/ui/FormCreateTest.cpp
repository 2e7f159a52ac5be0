// The start-up settings as the window reads them while it is made, from the test prefix's
// registry.
#include "MainWindowFixture.h"
#include "Texts.h"
#include <ostream>

namespace brelomat::testing {
namespace {

enum class Stored { NoKey, KeyWithoutValue, Path, Number };

struct FormCreateCase {
    const char* name;
    Stored stored;
    const wchar_t* progFile;
    const wchar_t* progDir;
    const wchar_t* errorText;  // nullptr: no box at all
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FormCreateCase& tested, std::ostream* out)
{
    *out << tested.name;
}

class FormCreateTest : public MainWindowTest, public ::testing::WithParamInterface<FormCreateCase> {};

TEST_P(FormCreateTest, ReadsTheProgramFolderBeforeTheWindowShows)
{
    const FormCreateCase& expected = GetParam();
    switch (expected.stored) {
    case Stored::NoKey:
        break;
    case Stored::KeyWithoutValue:
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\KELVOR\\Program", L"Andet", REG_SZ, L"x",
                                  2 * sizeof(wchar_t)),
                  ERROR_SUCCESS);
        break;
    case Stored::Path:
        programKey.SetNavn(L"C:\\Programmer\\Foo\\Hoved.exe");
        break;
    case Stored::Number:
        programKey.SetNavnAsNumber(42);
        break;
    }

    TMainForm& form = MakeForm(L"dl.example:8080");
    EXPECT_FALSE(form.Visible()) << "FormCreate runs before the window first shows";

    EXPECT_EQ(form.Settings.ProgFile, expected.progFile);
    EXPECT_EQ(form.Settings.ProgDir, expected.progDir);
    EXPECT_EQ(form.Settings.BaseURL, L"http://dl.example:8080/Downloads/");
    if (expected.errorText) {
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Text, expected.errorText);
        EXPECT_EQ(boxes.Boxes[0].Caption, texts::ApplicationTitle);
        EXPECT_EQ(boxes.Boxes[0].Icon, LoadIconW(nullptr, IDI_ERROR));
    } else {
        EXPECT_TRUE(boxes.Boxes.empty());
    }

    ShowForm();
    EXPECT_TRUE(IsWindowVisible(form.Handle())) << "the window opens all the same";
}

INSTANTIATE_TEST_SUITE_P(
    RegistryStates, FormCreateTest,
    ::testing::Values(FormCreateCase{"NoKey", Stored::NoKey, L"", L"", nullptr},
                      FormCreateCase{"NoValue", Stored::KeyWithoutValue, L"", L"", nullptr},
                      FormCreateCase{"StoredPath", Stored::Path, L"C:\\Programmer\\Foo\\Hoved.exe",
                                     L"C:\\Programmer\\Foo\\", nullptr},
                      FormCreateCase{"ValueOfTheWrongType", Stored::Number, L"", L"",
                                     L"Invalid data type for 'Navn'"}),
    [](const auto& tested) { return std::string(tested.param.name); });

class MainFormCreationTest : public MainWindowTest {};

TEST_F(MainFormCreationTest, DownloadsFromTheHostTheProgramWasBuiltFor)
{
    TMainForm& form = MakeFormForBuiltInHost();
    EXPECT_EQ(form.Settings.BaseURL, std::wstring(L"http://") + BRELOMAT_TEST_DOWNLOAD_HOST + L"/Downloads/");
}

TEST_F(MainFormCreationTest, TheFirstFormIsTheMainFormUntilTheApplicationGoes)
{
    TMainForm& form = MakeForm();
    const HWND window = form.Handle();
    EXPECT_EQ(MainForm, &form);
    EXPECT_EQ(application->MainForm(), &form);

    EndApplication();
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace brelomat::testing
