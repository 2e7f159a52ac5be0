#include "DownloadPhase.h"

#include "FileSystem.h"
#include "HttpGetter.h"
#include "MemoryStream.h"
#include "StatusSurface.h"
#include "Texts.h"

namespace brelomat {

bool RunDownloadPhase(const std::wstring& baseURL, HttpGetter& http, FileSystem& files,
                      StatusSurface& surface)
{
    surface.ShowMoveHint(false);
    surface.SetBusy(true);
    try {
        surface.SetStatus(texts::StatusDownloading);
        MemoryStream downloadStream;
        http.Get(baseURL + std::wstring(DownloadName), downloadStream);
        downloadStream.SaveToFile(files, std::wstring(DownloadName));
    } catch (...) {
        // Whatever went wrong, the user sees one fixed text; the error's own is not shown.
        surface.SetBusy(false);
        surface.SetStatus(texts::StatusDownloadFailed);
        surface.FocusAfbryd();
        return false;
    }
    surface.SetBusy(false);
    return true;
}

void OnDownloadWorkBegin(StatusSurface& surface, std::int64_t expected)
{
    surface.SetProgressMax(expected);
    surface.SetProgressPos(0);
    surface.ProcessPending();
}

void OnDownloadWork(StatusSurface& surface, std::int64_t count)
{
    surface.SetProgressPos(count);
    surface.ProcessPending();
}

}  // namespace brelomat
