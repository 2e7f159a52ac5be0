#pragma once

#include "Handles.h"

#include <string>

namespace brelomat {

// A colour that is either fixed or one of the system's (which the user may change).
class Color {
public:
    static constexpr Color Rgb(BYTE red, BYTE green, BYTE blue) noexcept
    {
        return Color(RGB(red, green, blue), -1);
    }
    static constexpr Color System(int index) noexcept { return Color(0, index); }

    COLORREF Resolve() const noexcept
    {
        return systemIndex_ >= 0 ? GetSysColor(systemIndex_) : rgb_;
    }

    friend constexpr bool operator==(const Color&, const Color&) noexcept = default;

private:
    constexpr Color(COLORREF rgb, int systemIndex) noexcept : rgb_(rgb), systemIndex_(systemIndex) {}

    COLORREF rgb_;
    int systemIndex_;
};

namespace colors {
inline constexpr Color Navy = Color::Rgb(0, 0, 128);
inline constexpr Color Purple = Color::Rgb(128, 0, 128);
inline constexpr Color WindowText = Color::System(COLOR_WINDOWTEXT);
}  // namespace colors

// A font as a designer names it: face, size in points, weight and the colour text is drawn in.
struct FontSpec {
    std::wstring Face = L"MS Sans Serif";
    int Points = 8;
    bool Bold = false;
    Color TextColor = colors::WindowText;
};

// The GDI font for style at dpi: points become a character height of points/72 inch.
// Throws PlatformError when the system cannot make one.
UniqueFont CreateScaledFont(const FontSpec& style, unsigned dpi);

}  // namespace brelomat
