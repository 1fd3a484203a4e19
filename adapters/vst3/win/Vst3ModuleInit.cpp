// The Windows module's start and end, called by the SDK's InitDll and ExitDll (its DLL entry
// records the module's instance handle when Windows loads it).

#include "core/ModuleInstance.h"

extern void* moduleHandle;

// The editor and the image loader reach the module's resources through the handle.
bool InitModule() {
  SetModuleInstance(moduleHandle);
  return true;
}

bool DeinitModule() { return true; }
