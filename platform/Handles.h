#pragma once

#include "UniqueHandle.h"

#include <windows.h>
#include <winhttp.h>

namespace brelomat {

namespace handle_traits {

struct File {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

struct FindSearch {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type search) noexcept { ::FindClose(search); }
};

struct Kernel {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

struct RegistryKey {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type key) noexcept { ::RegCloseKey(key); }
};

struct WinHttp {
    using Type = HINTERNET;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::WinHttpCloseHandle(handle); }
};

template <typename GdiObject>
struct Gdi {
    using Type = GdiObject;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type object) noexcept { ::DeleteObject(object); }
};

struct Window {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type window) noexcept { ::DestroyWindow(window); }
};

struct Hook {
    using Type = HHOOK;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type hook) noexcept { ::UnhookWindowsHookEx(hook); }
};

}  // namespace handle_traits

using UniqueFile = UniqueHandle<handle_traits::File>;
using UniqueFindSearch = UniqueHandle<handle_traits::FindSearch>;
using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueRegistryKey = UniqueHandle<handle_traits::RegistryKey>;
using UniqueWinHttp = UniqueHandle<handle_traits::WinHttp>;
using UniqueFont = UniqueHandle<handle_traits::Gdi<HFONT>>;
using UniqueBrush = UniqueHandle<handle_traits::Gdi<HBRUSH>>;
using UniqueWindow = UniqueHandle<handle_traits::Window>;
using UniqueHook = UniqueHandle<handle_traits::Hook>;

}  // namespace brelomat
