#pragma once

#include "Window.h"

#include <cstdint>

namespace brelomat {

// The system's progress bar (msctls_progress32) with a 32-bit range from 0. A position
// beyond the maximum shows a full bar.
class ProgressBar final : public Control {
public:
    // Maximum 100, position 0.
    ProgressBar(Window& parent, Bounds bounds);

    std::int32_t Max() const noexcept;
    void SetMax(std::int32_t max) noexcept;
    std::int32_t Position() const noexcept;
    void SetPosition(std::int32_t position) noexcept;
};

}  // namespace brelomat
