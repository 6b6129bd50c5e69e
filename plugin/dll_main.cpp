// The library's entry point: the plug-in does its work when the host calls
// InitializePlugin, never while the loader lock is held.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD /*reason*/, LPVOID /*reserved*/) {
  return TRUE;
}
