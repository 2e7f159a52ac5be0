#include "HttpClient.h"

// Implementation in progress.
