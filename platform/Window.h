#pragma once

#include "Font.h"
#include "Handles.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brelomat {

class Control;

// One window of ours, owning its HWND. Windows of our own classes bring their messages to
// HandleMessage; system controls (BUTTON, the progress bar) keep their own window procedure,
// and the notifications they send their parent reach OnCommand on the control itself.
class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return window_.get(); }
    // The object behind a window of ours, or nullptr.
    static Window* FromHandle(HWND window) noexcept;

    std::wstring Text() const;
    void SetText(std::wstring_view text);
    // The window's own visibility, whatever its parent's.
    bool Visible() const noexcept;
    void SetVisible(bool visible) noexcept;
    bool Enabled() const noexcept;
    void SetEnabled(bool enabled) noexcept;
    void SetFocus() noexcept;
    bool Focused() const noexcept;

    unsigned Dpi() const noexcept;
    // The font children take unless they have one of their own.
    virtual const FontSpec& Font() const = 0;

protected:
    Window() = default;

    struct Creation {
        const wchar_t* ClassName;
        std::wstring_view Text;
        DWORD Style;
        DWORD ExStyle = 0;
        HWND Parent = nullptr;  // the parent of a child, the owner of a top-level window
        UINT_PTR Id = 0;        // a child's identifier
    };
    // A window of one of our own classes (see RegisterOwnClass): HandleMessage sees
    // everything from WM_NCCREATE on.
    void CreateOwn(const Creation& creation);
    // A window of a system class; only its notifications reach us.
    void CreateSystem(const Creation& creation);
    void DestroyHandle() noexcept;

    // Registers a class whose window procedure is ours, once per process.
    static void RegisterOwnClass(const wchar_t* name, UINT style, HBRUSH background);

    // The default does what Windows does, and passes child notifications on to the child.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // A WM_COMMAND notification that this window, a child control, sent its parent.
    virtual void OnCommand(WORD notification);

    const std::vector<Control*>& Children() const noexcept { return children_; }

private:
    friend class Control;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Adopt(HWND window) noexcept;

    UniqueWindow window_;
    std::vector<Control*> children_;
};

// A position and size in units of 1/96 inch, within the parent's client area.
struct Bounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// A child window laid out in design units and scaled to its window's pixel density.
class Control : public Window {
public:
    ~Control() override;

    Window& Parent() const noexcept { return parent_; }
    const Bounds& DesignBounds() const noexcept { return bounds_; }
    // Its own font, or its parent's when it has none.
    const FontSpec& Font() const override;
    HFONT FontHandle() const noexcept { return font_.get(); }

    // Places the control and makes its font for dpi, then does the same for its children.
    virtual void Rescale(unsigned dpi);

protected:
    Control(Window& parent, Bounds bounds, std::optional<FontSpec> ownFont);

    // Called by the concrete control once its window exists: joins the parent and lays out.
    void Attach();
    // The size at dpi; the design size scaled unless the control sizes itself.
    virtual SIZE SizeAt(unsigned dpi) const;
    // Our classes keep the font the control made; system controls get it by WM_SETFONT.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Identifiers above IDOK/IDCANCEL and the dialog manager's range, unique in the process.
    static UINT_PTR NextId() noexcept;

private:
    Window& parent_;
    Bounds bounds_;
    std::optional<FontSpec> ownFont_;
    UniqueFont font_;
    bool attached_ = false;
};

}  // namespace brelomat
