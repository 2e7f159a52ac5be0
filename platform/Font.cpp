#include "Font.h"

#include "PlatformError.h"

#include <algorithm>

namespace brelomat {

UniqueFont CreateScaledFont(const FontSpec& style, unsigned dpi)
{
    LOGFONTW font{};
    // Negative: the character height without the internal leading, as point sizes mean.
    font.lfHeight = -MulDiv(style.Points, static_cast<int>(dpi), 72);
    font.lfWeight = style.Bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const auto length = std::min<std::size_t>(style.Face.size(), LF_FACESIZE - 1);
    std::copy_n(style.Face.data(), length, font.lfFaceName);

    UniqueFont created(CreateFontIndirectW(&font));
    if (!created)
        ThrowLastError(L"CreateFontIndirect");
    return created;
}

}  // namespace brelomat
