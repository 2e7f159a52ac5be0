#pragma once

#include "Window.h"

namespace brelomat {

enum class Bevel { None, Lowered, Raised };
// Soft: a two-pixel etched edge around the panel, outside its client area.
enum class BevelKind { None, Soft };

struct PanelStyle {
    Bevel Inner = Bevel::None;
    Bevel Outer = Bevel::Raised;
    BevelKind Kind = BevelKind::None;
};

// A framed area in the button-face colour with its caption, if any, drawn left-aligned and
// centred vertically inside its bevels. The caption is the window text.
class Panel final : public Control {
public:
    Panel(Window& parent, Bounds bounds, PanelStyle style, std::optional<FontSpec> ownFont = std::nullopt);

    std::wstring Caption() const { return Text(); }
    // Only a changed caption is drawn again.
    void SetCaption(std::wstring_view caption);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintClient(HDC dc) const;
    void PaintEdge() const;

    PanelStyle style_;
};

}  // namespace brelomat
