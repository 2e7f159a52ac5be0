#pragma once

#include <string>

namespace brelomat {

class FileSystem;
class HttpGetter;
class StatusSurface;

// One press of "Start": the download and, when it succeeded, the replacement.
void RunUpdate(const std::wstring& baseURL, const std::wstring& progDir, HttpGetter& http,
               FileSystem& files, StatusSurface& surface);

}  // namespace brelomat
