#include "Win32FileSystem.h"

// Implementation in progress.
