#include "core/ModuleInstance.h"

#include <atomic>

namespace {
std::atomic<void*> gModuleInstance{nullptr};
}

void SetModuleInstance(void* instance) { gModuleInstance.store(instance); }
void* GetModuleInstance() { return gModuleInstance.load(); }
