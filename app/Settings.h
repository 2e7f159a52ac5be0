#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace brelomat {

// Where the publisher's main program is installed, read once at start.
inline constexpr std::wstring_view ProgramKey = L"Software\\KELVOR\\Program";
inline constexpr std::wstring_view ProgramValue = L"Navn";

// Filled once while the main window is created; never read from the registry again.
struct StartupSettings {
    std::wstring ProgFile;  // the full path stored in the registry, or empty
    std::wstring ProgDir;   // its folder, ending in its delimiter, or empty
    std::wstring BaseURL;   // the download base address, ending in "/Downloads/"
};

// Everything up to and including the last "\" or ":"; empty when there is neither.
std::wstring FolderPart(std::wstring_view path);

// "http://" + host + "/Downloads/".
std::wstring MakeBaseURL(std::wstring_view host);

// The download host this executable was built for ("name" or "name:port").
std::wstring_view DownloadHost();

// Fills the settings from readProgFile, which returns the stored program path (empty when
// the key or value is missing) or throws for a value of the wrong type. The base address is
// set first: it does not depend on the registry, so a bad value still lets a run download.
// An error of readProgFile leaves ProgFile and ProgDir empty and is passed on.
void FillStartupSettings(StartupSettings& settings, std::wstring_view downloadHost,
                         const std::function<std::wstring()>& readProgFile);

}  // namespace brelomat
