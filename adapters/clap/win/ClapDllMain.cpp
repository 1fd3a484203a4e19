// The Windows module's load notification: remembers the module's instance handle, through which
// the editor and the image loader reach the module's own resources.
#include <windows.h>

#include "core/ModuleInstance.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  SetModuleInstance(instance);
  return TRUE;
}
