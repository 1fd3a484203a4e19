#pragma once
// The module (shared library) this code was loaded as, recorded by the module's load
// notification; the editor's window host and the image loader find the module's resources
// through it. An opaque handle: its meaning belongs to the platform that set it.

void SetModuleInstance(void* instance);
void* GetModuleInstance();
