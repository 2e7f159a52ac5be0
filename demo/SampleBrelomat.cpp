// A stand-in for the real Brelomat.exe, so the demo has a program to download and install.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"Brelomat (demo)", L"Brelomat", MB_OK | MB_ICONINFORMATION);
    return 0;
}
