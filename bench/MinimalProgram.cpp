// The cheapest Win32 program: the floor of a process start under the same
// compiler, runtime and link flags as hushgate.exe.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
