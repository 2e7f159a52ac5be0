// Compiled once per executable, so that a test build can download from loopback while the
// rest of the program stays the same.
#include "Settings.h"

#ifndef BRELOMAT_DOWNLOAD_HOST
#error "BRELOMAT_DOWNLOAD_HOST must name the download host"
#endif

#define BRELOMAT_WIDEN2(x) L##x
#define BRELOMAT_WIDEN(x) BRELOMAT_WIDEN2(x)

std::wstring_view brelomat::DownloadHost()
{
    return BRELOMAT_WIDEN(BRELOMAT_DOWNLOAD_HOST);
}
