// Stands in for an installed Brelomat.exe that is running: started under that name, it
// holds its own image open until the test ends it. It signals the event named on its
// command line once it runs, and ends by itself after a while should the test never end it.
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const HANDLE started = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (started == nullptr)
        return 3;
    ::SetEvent(started);
    ::CloseHandle(started);
    ::Sleep(60'000);
    return 0;
}
