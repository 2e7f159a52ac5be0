#include "ReplacementPhase.h"

#include "DownloadPhase.h"
#include "FileReplacement.h"
#include "FileSystem.h"
#include "StatusSurface.h"
#include "Texts.h"

#include <array>
#include <cstddef>
#include <stdexcept>

namespace brelomat {

namespace {

constexpr std::size_t CopyBlockSize = 1024;

void EndWithSuccess(StatusSurface& surface)
{
    surface.SetStatus(texts::StatusDone);
    surface.Inform(texts::InformDone);
    surface.FocusAfbryd();
}

void EndWithMoveByHand(StatusSurface& surface)
{
    surface.ShowMoveHint(true);
    surface.SetStatus(texts::StatusMoveByHand);
    surface.Inform(texts::InformMoveByHand);
    surface.FocusAfbryd();
}

// The bar follows every block; the loop dispatches no messages, so the window takes no
// input while the copy runs.
void CopyInBlocks(FileSystem& files, const std::wstring& sourcePath,
                  const std::wstring& targetPath, StatusSurface& surface)
{
    auto source = files.OpenRead(sourcePath);
    FileReplacement target(files, targetPath);
    const std::int64_t size = source->Size();
    surface.SetProgressMax(size);

    std::array<std::byte, CopyBlockSize> buffer{};
    std::int64_t copied = 0;
    while (!source->AtEnd()) {
        const std::size_t n = source->Read(buffer);
        if (n == 0)
            throw std::runtime_error("the source ended before its end was reported");
        target.Write(std::span(buffer).first(n));
        copied += static_cast<std::int64_t>(n);
        surface.SetProgressPos(copied);
    }
    surface.SetProgressPos(size);

    source->Close();
    target.Commit();
}

}  // namespace

void RunReplacementPhase(const std::wstring& progDir, FileSystem& files, StatusSurface& surface)
{
    if (progDir.empty()) {
        EndWithMoveByHand(surface);
        return;
    }
    surface.SetStatus(texts::StatusReplacing);

    const std::wstring sourcePath(DownloadName);
    const std::wstring targetPath = progDir + sourcePath;

    if (files.SameFile(sourcePath, targetPath)) {
        // The working directory is the program folder: the download already is the new
        // installed copy, and deleting the "old" one would delete it.
        try {
            const std::int64_t size = files.OpenRead(sourcePath)->Size();
            surface.SetProgressMax(size);
            surface.SetProgressPos(size);
            EndWithSuccess(surface);
        } catch (...) {
            EndWithMoveByHand(surface);
        }
        return;
    }

    files.Delete(targetPath);
    if (files.Exists(targetPath)) {
        // Running or read-only: the installed copy stays as it is.
        EndWithMoveByHand(surface);
        return;
    }

    try {
        CopyInBlocks(files, sourcePath, targetPath, surface);
        files.Delete(sourcePath);
        EndWithSuccess(surface);
    } catch (...) {
        EndWithMoveByHand(surface);
    }
}

}  // namespace brelomat
