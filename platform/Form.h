#pragma once

#include "Window.h"

#include <functional>

namespace brelomat {

class Application;

// What happens to a form that is asked to close. For the application's main form every
// action but None ends the application.
enum class CloseAction { None, Hide, Free, Minimize };

struct FormStyle {
    std::wstring_view Caption;
    int ClientWidth = 0;  // design units
    int ClientHeight = 0;
    FontSpec Font;
};

// A top-level window with a single border, the system menu and a minimize button, placed by
// the system, in the button-face colour. It belongs to the application, whose window owns it,
// and behaves like a dialog at the keyboard: Tab moves between its controls, Enter presses
// the focused button, Escape does nothing.
class Form : public Window {
public:
    Form(Application& application, FormStyle style);
    ~Form() override;

    Application& Owner() const noexcept { return application_; }

    // Runs once from Application::CreateForm, before the form is first shown.
    std::function<void()> OnCreate;
    // May change the action, which starts out as Hide.
    std::function<void(CloseAction&)> OnClose;

    const FontSpec& Font() const override { return font_; }

    // Shows and activates the form; the keyboard focus goes to the control that had it, or
    // to the first one in the tab order.
    void Show() noexcept;
    void Hide() noexcept;
    // What the close control of the title bar does.
    void Close();

    // The top-left corner of the whole window on the screen.
    int Left() const noexcept;
    int Top() const noexcept;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Rescale(unsigned dpi, const RECT* suggested);
    void RestoreFocus() noexcept;
    void PressFocusedButton();

    Application& application_;
    FontSpec font_;
    int clientWidth_;
    int clientHeight_;
    HWND lastFocus_ = nullptr;
};

}  // namespace brelomat
