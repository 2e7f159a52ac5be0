#pragma once

#include "Handles.h"

#include <string>

namespace brelomat::testing {

// The stand-in program, copied to path and running from there for as long as this object
// lives; ended by its process handle afterwards. Every wait is bounded.
class RunningProgram {
public:
    explicit RunningProgram(const std::wstring& path);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const noexcept { return started_; }

    // The stand-in, beside this test executable.
    static std::wstring StandInPath();

private:
    UniqueKernelHandle process_;
    bool started_ = false;
};

}  // namespace brelomat::testing
