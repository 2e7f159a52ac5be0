#pragma once

#include <string>

namespace brelomat {

class FileSystem;
class StatusSurface;

// Installs the downloaded DownloadName from the working directory into progDir, or, when
// that cannot be done, leaves it there and asks the user to move it by hand.
void RunReplacementPhase(const std::wstring& progDir, FileSystem& files, StatusSurface& surface);

}  // namespace brelomat
