#pragma once

#include "Window.h"

namespace brelomat {

// One line of text, sized to it, drawn in its font's colour over whatever its parent shows
// beneath it. The text is the window text.
class Label final : public Control {
public:
    enum class Shown { Yes, No };

    Label(Window& parent, int left, int top, std::wstring_view caption,
          std::optional<FontSpec> ownFont = std::nullopt, Shown shown = Shown::Yes);

    std::wstring Caption() const { return Text(); }
    void SetCaption(std::wstring_view caption);

protected:
    SIZE SizeAt(unsigned dpi) const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;
    void PaintParentBeneath(HDC dc) const;
};

}  // namespace brelomat
