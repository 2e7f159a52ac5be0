// The window tree as tests of the built program and screen readers see it: every control a
// real child window at its place, with its text, font and colours.
#include "Dpi.h"
#include "MainWindowFixture.h"
#include "Texts.h"

#include <commctrl.h>

#include <cstdint>
#include <vector>

namespace brelomat::testing {
namespace {

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LOGFONTW FontOf(HWND window)
{
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr);
    if (handle)
        GetObjectW(handle, sizeof font, &font);
    return font;
}

// The face the system really uses for the window's font: a missing face falls back to another.
std::wstring RealizedFace(HWND window)
{
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return face;
}

SIZE TextExtent(HWND window, const std::wstring& text)
{
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return SIZE{extent.cx, metrics.tmHeight};
}

std::wstring Label1Text()
{
    return std::wstring(texts::DownloadFromPrefix) + BRELOMAT_TEST_WEB_SITE_HOST;
}

constexpr int SizedToText = -1;

struct ControlCase {
    const char* name;
    Window& (*control)(TMainForm&);
    Window& (*parent)(TMainForm&);
    const wchar_t* className;
    int left, top, width, height;  // design units; SizedToText for labels
    std::wstring (*text)();
    int points;
    bool bold;
    bool visible;
};

const ControlCase controlCases[] = {
    {"Panel1", [](TMainForm& f) -> Window& { return f.Panel1; }, [](TMainForm& f) -> Window& { return f; },
     L"BrelomatPanel", 0, 0, 378, 208, [] { return std::wstring(); }, 8, false, true},
    {"Panel2", [](TMainForm& f) -> Window& { return f.Panel2; }, [](TMainForm& f) -> Window& { return f.Panel1; },
     L"BrelomatPanel", 13, 13, 348, 60, [] { return std::wstring(); }, 9, true, true},
    {"Label1", [](TMainForm& f) -> Window& { return f.Label1; }, [](TMainForm& f) -> Window& { return f.Panel2; },
     L"BrelomatLabel", 7, 7, SizedToText, SizedToText, Label1Text, 9, true, true},
    {"Label2", [](TMainForm& f) -> Window& { return f.Label2; }, [](TMainForm& f) -> Window& { return f.Panel2; },
     L"BrelomatLabel", 7, 23, SizedToText, SizedToText, [] { return std::wstring(texts::MoveHintLine1); }, 9,
     true, false},
    {"Label3", [](TMainForm& f) -> Window& { return f.Label3; }, [](TMainForm& f) -> Window& { return f.Panel2; },
     L"BrelomatLabel", 7, 39, SizedToText, SizedToText, [] { return std::wstring(texts::MoveHintLine2); }, 9,
     true, false},
    {"OK", [](TMainForm& f) -> Window& { return f.OK; }, [](TMainForm& f) -> Window& { return f.Panel1; },
     L"Button", 257, 91, 60, 20, [] { return std::wstring(texts::StartButton); }, 8, false, true},
    {"Afbryd", [](TMainForm& f) -> Window& { return f.Afbryd; }, [](TMainForm& f) -> Window& { return f.Panel1; },
     L"Button", 255, 139, 61, 20, [] { return std::wstring(texts::AfbrydButton); }, 8, false, true},
    {"PStatus", [](TMainForm& f) -> Window& { return f.PStatus; }, [](TMainForm& f) -> Window& { return f.Panel1; },
     L"BrelomatPanel", 1, 186, 376, 21, [] { return std::wstring(); }, 8, true, true},
    {"PBar", [](TMainForm& f) -> Window& { return f.PBar; }, [](TMainForm& f) -> Window& { return f.PStatus; },
     PROGRESS_CLASSW, 208, 2, 157, 12, [] { return std::wstring(); }, 8, true, true},  // PStatus's font
};

class MainWindowLayoutTest : public MainWindowTest {};

TEST_F(MainWindowLayoutTest, EveryControlIsAChildWindowAtItsPlaceWithItsTextAndFont)
{
    TMainForm& form = MakeForm();
    const unsigned dpi = form.Dpi();
    for (const auto& expected : controlCases) {
        SCOPED_TRACE(expected.name);
        const HWND window = expected.control(form).Handle();
        ASSERT_TRUE(IsWindow(window));
        EXPECT_EQ(GetParent(window), expected.parent(form).Handle());
        EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
        EXPECT_EQ(ClassOf(window), expected.className);
        EXPECT_EQ(expected.control(form).Text(), expected.text());
        EXPECT_EQ((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0, expected.visible);

        const Placement placement = PlacementInParent(window);
        EXPECT_EQ(placement.Left, ScaleToDpi(expected.left, dpi));
        EXPECT_EQ(placement.Top, ScaleToDpi(expected.top, dpi));
        if (expected.width == SizedToText) {
            const SIZE text = TextExtent(window, expected.text());
            EXPECT_EQ(placement.Width, text.cx);
            EXPECT_EQ(placement.Height, text.cy);
        } else {
            EXPECT_EQ(placement.Width, ScaleToDpi(expected.width, dpi));
            EXPECT_EQ(placement.Height, ScaleToDpi(expected.height, dpi));
        }

        const LOGFONTW font = FontOf(window);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -MulDiv(expected.points, static_cast<int>(dpi), 72));
        EXPECT_EQ(font.lfWeight, expected.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(RealizedFace(window), L"MS Sans Serif");
    }
}

TEST_F(MainWindowLayoutTest, TheWindowHasASingleBorderNoMaximizeAndTheDesignedClientArea)
{
    TMainForm& form = MakeForm();
    const HWND window = form.Handle();
    EXPECT_EQ(form.Text(), texts::WindowCaption);

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Scaled(378, window));
    EXPECT_EQ(client.bottom, Scaled(208, window));

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));

    for (const Button* button : {&form.OK, &form.Afbryd}) {
        SCOPED_TRACE(button->Text());
        const LONG buttonStyle = GetWindowLongW(button->Handle(), GWL_STYLE);
        EXPECT_EQ(buttonStyle & BS_TYPEMASK, BS_PUSHBUTTON) << "neither is a default button";
        EXPECT_TRUE(buttonStyle & WS_TABSTOP);
    }
}

TEST_F(MainWindowLayoutTest, TheTaskbarButtonBelongsToTheApplicationWindowThatOwnsTheForm)
{
    TMainForm& form = MakeForm();
    ShowForm();
    const HWND taskbar = application->Handle();

    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), taskbar);
    EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

    wchar_t title[64] = {};
    GetWindowTextW(taskbar, title, 64);
    EXPECT_EQ(std::wstring(title), texts::ApplicationTitle);
    EXPECT_EQ(GetWindow(taskbar, GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(taskbar));
    EXPECT_FALSE(GetWindowLongW(taskbar, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT rect{};
    GetWindowRect(taskbar, &rect);
    EXPECT_EQ(rect.right - rect.left, 0) << "the application window is never seen";
    EXPECT_EQ(rect.bottom - rect.top, 0);
}

TEST_F(MainWindowLayoutTest, TheBarStartsEmptyOutOfAHundred)
{
    TMainForm& form = MakeForm();
    EXPECT_EQ(SendMessageW(form.PBar.Handle(), PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(form.PBar.Handle(), PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(SendMessageW(form.PBar.Handle(), PBM_GETPOS, 0, 0), 0);
}

// What a control draws, by WM_PRINTCLIENT into a bitmap of its client size.
class Rendering {
public:
    explicit Rendering(HWND window)
    {
        RECT client{};
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        const HDC dc = CreateCompatibleDC(nullptr);
        const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previous = SelectObject(dc, bitmap);
        const RECT all{0, 0, width_, height_};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(pixels, pixels + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    COLORREF At(int x, int y) const
    {
        const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                            static_cast<std::size_t>(x)];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    int Count(COLORREF color) const
    {
        int count = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                count += At(x, y) == color ? 1 : 0;
        return count;
    }
    // The leftmost column holding the colour, or -1.
    int FirstColumnOf(COLORREF color) const
    {
        for (int x = 0; x < width_; ++x)
            for (int y = 0; y < height_; ++y)
                if (At(x, y) == color)
                    return x;
        return -1;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

constexpr COLORREF Navy = RGB(0, 0, 128);
constexpr COLORREF Purple = RGB(128, 0, 128);

TEST_F(MainWindowLayoutTest, LabelsDrawTheirTextInTheirColourOverThePanel)
{
    TMainForm& form = MakeForm();
    const struct {
        const char* name;
        const Label& label;
        COLORREF text;
    } cases[] = {{"Label1", form.Label1, Navy}, {"Label2", form.Label2, Purple}, {"Label3", form.Label3, Purple}};
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.name);
        const Rendering drawn(expected.label.Handle());
        EXPECT_GT(drawn.Count(expected.text), 20);
        // Transparent: what shows between the letters is the panel beneath, not the bitmap.
        EXPECT_EQ(drawn.At(0, drawn.Height() - 1), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(drawn.Count(RGB(255, 255, 255)), 0);
    }
}

TEST_F(MainWindowLayoutTest, PanelsShowALoweredBevelAroundTheButtonFace)
{
    TMainForm& form = MakeForm();
    for (const Panel* panel : {&form.Panel1, &form.Panel2}) {
        const Rendering drawn(panel->Handle());
        EXPECT_EQ(drawn.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(drawn.At(drawn.Width() - 1, drawn.Height() - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(drawn.At(3, 3), GetSysColor(COLOR_BTNFACE));
    }
}

TEST_F(MainWindowLayoutTest, TheStatusLineHasASoftEdgeAndDrawsItsTextLeftAlignedInNavy)
{
    TMainForm& form = MakeForm();
    RECT client{};
    GetClientRect(form.PStatus.Handle(), &client);
    const Placement outer = PlacementInParent(form.PStatus.Handle());
    EXPECT_EQ(client.right, outer.Width - 4) << "a two-pixel edge outside the client area";
    EXPECT_EQ(client.bottom, outer.Height - 4);

    form.SetStatus(texts::StatusDownloading);
    const Rendering drawn(form.PStatus.Handle());
    EXPECT_GT(drawn.Count(Navy), 20);
    EXPECT_GE(drawn.FirstColumnOf(Navy), 0);
    EXPECT_LT(drawn.FirstColumnOf(Navy), 12) << "left-aligned, after the one leading blank";
}

TEST_F(MainWindowLayoutTest, AtAnotherPixelDensityEverythingScales)
{
    TMainForm& form = MakeForm();
    RECT suggested{40, 30, 40 + 600, 30 + 400};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    // Only the width: the title bar keeps the height of the density the test really runs at.
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 567);
    EXPECT_EQ(form.Left(), 40);
    EXPECT_EQ(form.Top(), 30);

    const Placement ok = PlacementInParent(form.OK.Handle());
    EXPECT_EQ(ok.Left, MulDiv(257, 144, 96));
    EXPECT_EQ(ok.Width, 90);
    const Placement bar = PlacementInParent(form.PBar.Handle());
    EXPECT_EQ(bar.Left, 312);
    EXPECT_EQ(bar.Top, 3);
    EXPECT_EQ(FontOf(form.OK.Handle()).lfHeight, -16);
    EXPECT_EQ(FontOf(form.Label1.Handle()).lfHeight, -18);
    EXPECT_GT(PlacementInParent(form.Label1.Handle()).Width, 0);
}

}  // namespace
}  // namespace brelomat::testing
