#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace brelomat::testing {

// What a person sees of a message box: where it stands and what it says.
struct RecordedBox {
    std::wstring Caption;
    std::wstring Text;
    RECT Rect{};
    HICON Icon = nullptr;
    std::vector<std::wstring> Buttons;
};

// Records every standard dialog box (#32770) this thread opens, at the moment it is first
// activated (when it has been laid out and placed), and then presses its OK, so that no test
// waits for a person. Installed before the code under test installs its own hooks, it sees a
// box after they have moved it.
class BoxRecorder {
public:
    enum class Press { Ok, Nothing };

    explicit BoxRecorder(Press press = Press::Ok);
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<RecordedBox> Boxes;
    // Runs while a box is open, with the world as it is at that moment.
    std::function<void(const RecordedBox&)> WhileOpen;
    Press Pressing;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Record(HWND box);

    HHOOK hook_;
    BoxRecorder* previous_;
    std::vector<HWND> seen_;
};

}  // namespace brelomat::testing
