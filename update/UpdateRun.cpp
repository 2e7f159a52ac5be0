#include "UpdateRun.h"

#include "DownloadPhase.h"
#include "ReplacementPhase.h"

namespace brelomat {

void RunUpdate(const std::wstring& baseURL, const std::wstring& progDir, HttpGetter& http,
               FileSystem& files, StatusSurface& surface)
{
    if (RunDownloadPhase(baseURL, http, files, surface))
        RunReplacementPhase(progDir, files, surface);
}

}  // namespace brelomat
