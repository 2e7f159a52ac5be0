#include "FileReplacement.h"

#include <utility>

namespace brelomat {

FileReplacement::FileReplacement(FileSystem& files, std::wstring destination)
    : files_(files),
      destination_(std::move(destination)),
      temporary_(TemporaryNameFor(destination_)),
      file_(files_.Create(temporary_))
{
}

FileReplacement::~FileReplacement()
{
    if (committed_)
        return;
    file_.reset();  // closes quietly: the temporary is discarded anyway
    files_.Delete(temporary_);
}

void FileReplacement::Write(std::span<const std::byte> bytes)
{
    file_->Write(bytes);
}

void FileReplacement::Commit()
{
    file_->Close();
    files_.Rename(temporary_, destination_);
    committed_ = true;
}

std::wstring FileReplacement::TemporaryNameFor(const std::wstring& destination)
{
    return destination + L".part";
}

}  // namespace brelomat
