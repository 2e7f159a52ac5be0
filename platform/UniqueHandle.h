#pragma once

#include <utility>

namespace brelomat {

// Owns one handle of a Win32 kind. Move-only, with no implicit conversion: a copy would
// close the handle twice. Traits say what "no handle" is and how one is closed:
//   struct Traits { using Type = HANDLE; static Type Invalid() noexcept; static void Close(Type) noexcept; };
template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Type handle = Traits::Invalid()) noexcept
    {
        const Type old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Type handle_ = Traits::Invalid();
};

}  // namespace brelomat
