#pragma once

#include "Form.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brelomat {

// The program as the window system sees it: one window titled with the program's title that
// carries the taskbar button and owns every form (so that no form has a button of its own),
// the forms themselves, and the message loop. One per thread that shows windows.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The text the taskbar shows for the program.
    void SetTitle(std::wstring_view title);
    std::wstring Title() const;

    // The window that carries the taskbar button and owns the forms.
    HWND Handle() const noexcept;

    enum class IconSize { Big, Small };
    // The program's icon (the first in its resources), or the system's application icon.
    HICON Icon(IconSize size) const noexcept;

    // Makes a form of class TForm (constructed with this application first, then arguments),
    // sets reference to it, makes the first one the main form and runs its OnCreate before
    // it is first shown. An error there is shown in an error box, and the form opens all the
    // same. The application owns the form and frees it when it goes; reference is then reset.
    template <typename TForm, typename... Arguments>
    void CreateForm(TForm*& reference, Arguments&&... arguments)
    {
        auto form = std::make_unique<TForm>(*this, std::forward<Arguments>(arguments)...);
        reference = form.get();
        Form& created = *form;
        Adopt(std::move(form), [&reference] { reference = nullptr; });
        RunCreationHandler(created);
    }

    Form* MainForm() const noexcept { return mainForm_; }
    // Shows the taskbar window and the main form, as Run does first.
    void ShowMainForm();
    // Shows the main form and dispatches messages until the main form has been closed.
    void Run();
    // Dispatches every message waiting in the thread's queue, then returns.
    void ProcessMessages();
    // Asks the message loop to end; a close of the main form does this.
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_; }

    // Minimizing the application hides its forms; restoring shows and activates them again.
    void Minimize() noexcept;
    void Restore() noexcept;

    // Shows the text of an error in an error box with the title as its caption.
    void ShowException(std::wstring_view text) noexcept;
    // For the boundaries no exception may cross (window procedures): shows error in an
    // error box of the current application.
    static void HandleException(std::exception_ptr error) noexcept;
    // The application of this process, while there is one.
    static Application* Current() noexcept;

private:
    class TaskbarWindow;
    friend class TaskbarWindow;

    struct OwnedForm {
        std::unique_ptr<Form> form;
        std::function<void()> forget;
    };

    void Adopt(std::unique_ptr<Form> form, std::function<void()> forget);
    void RunCreationHandler(Form& form) noexcept;
    bool ProcessMessage();
    void ActivateMainForm() noexcept;
    void MainFormFollowsMinimized(bool minimized) noexcept;

    Application* previous_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::unique_ptr<TaskbarWindow> taskbar_;
    std::vector<OwnedForm> forms_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    bool mainFormHiddenByMinimize_ = false;
};

}  // namespace brelomat
