/* A DLL with code and no resources. Its entry point leaves a mark in the
 * process's environment, so a test sees whether loading it ran its code. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableW(L"JUNCTRA_DLL_CODE_RAN", L"1");
  return TRUE;
}
