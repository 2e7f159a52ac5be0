#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brelomat {

class FileSystem;
class HttpGetter;
class StatusSurface;

// The one file the updater fetches, saves in the working directory and installs.
inline constexpr std::wstring_view DownloadName = L"Brelomat.exe";

// Fetches BaseURL + DownloadName into memory and saves it as DownloadName in the working
// directory. Returns true when the file is saved; on any failure it reports the broken
// download on the surface and returns false.
bool RunDownloadPhase(const std::wstring& baseURL, HttpGetter& http, FileSystem& files,
                      StatusSurface& surface);

// What the window's handlers of the HTTP client's work events do.
void OnDownloadWorkBegin(StatusSurface& surface, std::int64_t expected);
void OnDownloadWork(StatusSurface& surface, std::int64_t count);

}  // namespace brelomat
