#pragma once

#include <cstdint>
#include <string_view>

namespace brelomat {

// The main window as the update run sees it: the run never touches a control itself.
class StatusSurface {
public:
    virtual ~StatusSurface() = default;

    // Sets the status line, then dispatches pending messages so that it is drawn at once.
    virtual void SetStatus(std::wstring_view text) = 0;
    // Shows or hides both lines of the manual-move hint together.
    virtual void ShowMoveHint(bool shown) = 0;
    // Counts stay 64-bit up to here; the window fits them to its 32-bit bar (BarScale).
    virtual void SetProgressMax(std::int64_t max) = 0;
    virtual void SetProgressPos(std::int64_t position) = 0;
    // The application-wide hourglass cursor (on) or the controls' own cursors (off).
    virtual void SetBusy(bool on) = 0;
    // Dispatches every waiting window message and returns when the queue is empty.
    virtual void ProcessPending() = 0;
    // A modal information box with one OK button; returns when it has been closed.
    virtual void Inform(std::wstring_view text) = 0;
    virtual void FocusAfbryd() = 0;
};

}  // namespace brelomat
