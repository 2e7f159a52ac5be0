#pragma once

#include "StatusSurface.h"

#include <functional>
#include <string>
#include <vector>

namespace brelomat::testing {

// Keeps every call the update run makes on the window, in order, as one line each, e.g.
// L"SetStatus( 1. Download af Brelomat)" or L"SetProgressMax(2500)".
class RecordingSurface : public StatusSurface {
public:
    void SetStatus(std::wstring_view text) override { Record(L"SetStatus", std::wstring(text)); }
    void ShowMoveHint(bool shown) override { Record(L"ShowMoveHint", shown ? L"yes" : L"no"); }
    void SetProgressMax(std::int64_t max) override { Record(L"SetProgressMax", std::to_wstring(max)); }
    void SetProgressPos(std::int64_t position) override
    {
        Record(L"SetProgressPos", std::to_wstring(position));
    }
    void SetBusy(bool on) override { Record(L"SetBusy", on ? L"on" : L"off"); }
    void ProcessPending() override { Record(L"ProcessPending", L""); }
    void Inform(std::wstring_view text) override
    {
        Record(L"Inform", std::wstring(text));
        if (OnInform)
            OnInform();
    }
    void FocusAfbryd() override { Record(L"FocusAfbryd", L""); }

    // Only the calls of one operation, e.g. Of(L"SetStatus") gives the status texts.
    std::vector<std::wstring> Of(const std::wstring& operation) const
    {
        std::vector<std::wstring> arguments;
        const auto prefix = operation + L"(";
        for (const auto& call : Calls)
            if (call.rfind(prefix, 0) == 0)
                arguments.push_back(call.substr(prefix.size(), call.size() - prefix.size() - 1));
        return arguments;
    }

    std::vector<std::wstring> Calls;
    std::function<void()> OnInform;  // lets a test look at the world while the box is open

private:
    void Record(const wchar_t* operation, const std::wstring& argument)
    {
        Calls.push_back(std::wstring(operation) + L"(" + argument + L")");
    }
};

}  // namespace brelomat::testing
