#pragma once

#include <windows.h>

#include <string_view>

namespace brelomat {

// A modal information box owned by owner: the information icon, the text and one OK
// button, with its top-left corner at x, y on the screen. A negative coordinate is not
// applied: the system places the box on that axis (it centres it on the screen), and with
// both negative the box stays centred. Returns when the box has been closed; throws
// PlatformError when it cannot be shown.
void MessageDlgPos(HWND owner, std::wstring_view text, int x, int y);

// A modal error box with the stop icon and one OK button. Never throws.
void ShowErrorBox(HWND owner, std::wstring_view caption, std::wstring_view text) noexcept;

}  // namespace brelomat
