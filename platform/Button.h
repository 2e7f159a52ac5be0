#pragma once

#include "Window.h"

#include <functional>

namespace brelomat {

// A push button (the system's BUTTON class, so that BM_CLICK and screen readers work),
// in its parent's font unless it has one of its own. Never a default button.
class Button final : public Control {
public:
    Button(Window& parent, Bounds bounds, std::wstring_view caption);

    // Runs when the button is pressed: by mouse, by keyboard, or by BM_CLICK.
    std::function<void()> OnClick;

    // Presses the button as a person would.
    void Click() noexcept;

protected:
    void OnCommand(WORD notification) override;
};

}  // namespace brelomat
