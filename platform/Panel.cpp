#include "Panel.h"

#include "Painting.h"

namespace brelomat {

namespace {

constexpr wchar_t PanelClass[] = L"BrelomatPanel";
constexpr int SoftEdgeWidth = 2;

void FillStrip(HDC dc, int left, int top, int width, int height, int colorIndex) noexcept
{
    const RECT strip{left, top, left + width, top + height};
    FillRect(dc, &strip, GetSysColorBrush(colorIndex));
}

// One pixel wide: shadow above and left with light below and right looks pressed in.
void DrawBevel(HDC dc, RECT& rect, Bevel bevel) noexcept
{
    if (bevel == Bevel::None)
        return;
    const int topLeft = bevel == Bevel::Lowered ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    const int bottomRight = bevel == Bevel::Lowered ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    FillStrip(dc, rect.left, rect.top, width, 1, topLeft);
    FillStrip(dc, rect.left, rect.top, 1, height, topLeft);
    FillStrip(dc, rect.left, rect.bottom - 1, width, 1, bottomRight);
    FillStrip(dc, rect.right - 1, rect.top, 1, height, bottomRight);
    InflateRect(&rect, -1, -1);
}

}  // namespace

Panel::Panel(Window& parent, Bounds bounds, PanelStyle style, std::optional<FontSpec> ownFont)
    : Control(parent, bounds, std::move(ownFont)), style_(style)
{
    // No class background: the panel fills its whole client area itself, without flicker.
    RegisterOwnClass(PanelClass, CS_HREDRAW | CS_VREDRAW, nullptr);
    // WS_EX_CONTROLPARENT: Tab walks into the panel to the buttons it holds.
    CreateOwn({.ClassName = PanelClass,
               .Text = L"",
               .Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               .ExStyle = WS_EX_CONTROLPARENT,
               .Parent = parent.Handle(),
               .Id = NextId()});
    Attach();
}

void Panel::SetCaption(std::wstring_view caption)
{
    if (Text() != caption)
        SetText(caption);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintScope paint(Handle());
        PaintClient(paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintClient(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefaultHandling(message, wParam, lParam);
        InvalidateRect(Handle(), nullptr, FALSE);
        return result;
    }
    case WM_NCCALCSIZE:
        if (style_.Kind == BevelKind::Soft) {
            const LRESULT result = DefaultHandling(message, wParam, lParam);
            InflateRect(reinterpret_cast<RECT*>(lParam), -SoftEdgeWidth, -SoftEdgeWidth);
            return result;
        }
        break;
    case WM_NCPAINT:
        if (style_.Kind == BevelKind::Soft) {
            PaintEdge();
            return 0;
        }
        break;
    default:
        break;
    }
    return Control::HandleMessage(message, wParam, lParam);
}

void Panel::PaintClient(HDC dc) const
{
    RECT rect{};
    GetClientRect(Handle(), &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    DrawBevel(dc, rect, style_.Outer);
    DrawBevel(dc, rect, style_.Inner);

    const std::wstring caption = Text();
    if (caption.empty())
        return;
    SelectedObject font(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Font().TextColor.Resolve());
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Panel::PaintEdge() const
{
    WindowDC dc(Handle(), WindowDC::Area::Whole);
    if (!dc.Dc())
        return;
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT edge{0, 0, window.right - window.left, window.bottom - window.top};
    DrawEdge(dc.Dc(), &edge, EDGE_ETCHED, BF_RECT | BF_SOFT);
}

}  // namespace brelomat
