#include "Registry.h"

// Implementation in progress.
