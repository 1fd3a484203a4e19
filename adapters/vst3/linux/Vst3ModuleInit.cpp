// The Linux module's start and end. Linux hosts enter through the SDK's ModuleEntry and
// ModuleExit, which call these; InitDll and ExitDll, the Windows entries, are offered as well
// for hosts that call those on every platform.

#include "core/ModuleInstance.h"
#include "pluginterfaces/base/fplatform.h"

extern void* moduleHandle;

bool InitModule() {
  SetModuleInstance(moduleHandle);
  return true;
}

bool DeinitModule() { return true; }

extern "C" {
SMTG_EXPORT_SYMBOL bool InitDll() { return InitModule(); }
SMTG_EXPORT_SYMBOL bool ExitDll() { return true; }
}
