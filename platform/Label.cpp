#include "Label.h"

#include "Painting.h"

namespace brelomat {

namespace {

constexpr wchar_t LabelClass[] = L"BrelomatLabel";
constexpr UINT TextFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

}  // namespace

Label::Label(Window& parent, int left, int top, std::wstring_view caption,
             std::optional<FontSpec> ownFont, Shown shown)
    : Control(parent, Bounds{left, top, 0, 0}, std::move(ownFont))
{
    RegisterOwnClass(LabelClass, 0, nullptr);
    CreateOwn({.ClassName = LabelClass,
               .Text = caption,
               .Style = WS_CHILD | WS_CLIPSIBLINGS | (shown == Shown::Yes ? WS_VISIBLE : 0u),
               .Parent = parent.Handle(),
               .Id = NextId()});
    Attach();
}

void Label::SetCaption(std::wstring_view caption)
{
    if (Text() == caption)
        return;
    SetText(caption);
}

SIZE Label::SizeAt(unsigned) const
{
    // Measured with the font Rescale has just made for this density.
    const std::wstring caption = Text();
    WindowDC dc(Handle());
    RECT extent{};
    if (dc.Dc()) {
        SelectedObject font(dc.Dc(), FontHandle());
        DrawTextW(dc.Dc(), caption.c_str(), static_cast<int>(caption.size()), &extent,
                  TextFormat | DT_CALCRECT);
    }
    return SIZE{extent.right - extent.left, extent.bottom - extent.top};
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintScope paint(Handle());
        Paint(paint.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCHITTEST:
        // Clicks go to what lies beneath, as the label only shows text.
        return HTTRANSPARENT;
    case WM_SETTEXT: {
        const LRESULT result = DefaultHandling(message, wParam, lParam);
        // The old text may have been wider: the parent draws its area again.
        RECT old{};
        GetWindowRect(Handle(), &old);
        MapWindowPoints(nullptr, Parent().Handle(), reinterpret_cast<POINT*>(&old), 2);
        Rescale(Dpi());
        InvalidateRect(Parent().Handle(), &old, TRUE);
        return result;
    }
    default:
        return Control::HandleMessage(message, wParam, lParam);
    }
}

void Label::Paint(HDC dc) const
{
    PaintParentBeneath(dc);
    const std::wstring caption = Text();
    RECT rect{};
    GetClientRect(Handle(), &rect);
    SelectedObject font(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Font().TextColor.Resolve());
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, TextFormat);
}

// Transparency: the parent paints its own client area into our DC, shifted so that the
// part beneath the label lands on it.
void Label::PaintParentBeneath(HDC dc) const
{
    const HWND parent = Parent().Handle();
    RECT own{};
    GetClientRect(Handle(), &own);
    POINT origin{0, 0};
    MapWindowPoints(Handle(), parent, &origin, 1);

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, own.left, own.top, own.right, own.bottom);
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
}

}  // namespace brelomat
