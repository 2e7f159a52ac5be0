#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace brelomat::testing {

// Drives the windows of another process the way a person or a screen reader sees them:
// by window messages only, never by sharing memory with it.
namespace remote {

using namespace std::chrono_literals;

// The visible top-level window of process pid (any process when 0) whose class (if given) and caption match,
// waiting up to timeout for it to appear.
std::optional<HWND> WaitForTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption,
                                    std::chrono::milliseconds timeout = 10s);
// The information box (a standard #32770 dialog) of process pid, waiting up to timeout.
std::optional<HWND> WaitForBox(DWORD pid, std::chrono::milliseconds timeout = 10s);

// The first descendant of parent with the given class (if given) and text (if given).
HWND FindDescendant(HWND parent, const wchar_t* className, const wchar_t* text);

std::wstring Text(HWND window);
std::wstring ClassName(HWND window);
// The longest text of the box's static controls: the message, not the icon.
std::wstring BoxMessage(HWND box);
RECT ScreenRect(HWND window);

// Presses a button without waiting for what it starts (a run that opens a box).
void Click(HWND button);
// Presses the box's OK button.
void PressOk(HWND box);

struct BarState {
    int minimum;
    int maximum;
    int position;
};
BarState Bar(HWND progressBar);

}  // namespace remote
}  // namespace brelomat::testing
