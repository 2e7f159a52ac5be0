#include "Settings.h"

namespace brelomat {

std::wstring FolderPart(std::wstring_view path)
{
    const auto last = path.find_last_of(L"\\:");
    if (last == std::wstring_view::npos)
        return {};
    return std::wstring(path.substr(0, last + 1));
}

std::wstring MakeBaseURL(std::wstring_view host)
{
    return L"http://" + std::wstring(host) + L"/Downloads/";
}

void FillStartupSettings(StartupSettings& settings, std::wstring_view downloadHost,
                         const std::function<std::wstring()>& readProgFile)
{
    settings.BaseURL = MakeBaseURL(downloadHost);
    settings.ProgFile = readProgFile();
    settings.ProgDir = FolderPart(settings.ProgFile);
}

}  // namespace brelomat
