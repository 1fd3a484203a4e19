// How a VST2 module exports its entry points. Module entries are the one place that picks by
// platform: the compiler's own target macros choose the export attribute.
#pragma once

#if defined(_WIN32)
#define BREL_VST_EXPORT extern "C" __declspec(dllexport)
#else
#define BREL_VST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The legacy entry point is called "main", a name C++ reserves for the program's own entry, so the
// function gets another C++ name and this assembler label gives its symbol the exported name:
//   BREL_VST_EXPORT AEffect* LegacyEntry(audioMasterCallback host) BREL_VST_MAIN_SYMBOL;
#define BREL_VST_MAIN_SYMBOL __asm__("main")
