// Finds the host instance a plug-in's callback belongs to: by the plug-in's AEffect once the entry
// point has returned it, and, while an entry point runs, the instance that called it.
#pragma once

#include "adapters/vst2/VstInterface.h"

namespace brel {

class VstHost;

class HostRegistry {
public:
  static void Add(const AEffect* effect, VstHost* host);
  static void Remove(const AEffect* effect, const VstHost* host);  // only host's own entry
  // The registered host of effect, or null (a null effect is never registered).
  static VstHost* Find(const AEffect* effect);

  // Marks host as the one whose entry call runs on this thread, for the scope's lifetime.
  class EntryScope {
  public:
    explicit EntryScope(VstHost* host);
    ~EntryScope();
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;

  private:
    VstHost* mPrevious;
  };
  // The host whose entry call runs on this thread, or null.
  static VstHost* Entering();
};

}  // namespace brel
