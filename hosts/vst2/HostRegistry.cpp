#include "hosts/vst2/HostRegistry.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace brel {

namespace {

// A plug-in owns its AEffect, so the host cannot keep its own pointer inside it safely
// (a plug-in may scribble on the host's reserved fields); a small table does the lookup instead.
struct Table {
  std::mutex mutex;
  std::vector<std::pair<const AEffect*, VstHost*>> entries;
};

Table& TheTable() {
  static Table table;
  return table;
}

thread_local VstHost* gEntering = nullptr;

void EraseLocked(Table& table, const AEffect* effect) {
  auto& e = table.entries;
  e.erase(std::remove_if(e.begin(), e.end(), [effect](const auto& p) { return p.first == effect; }), e.end());
}

}  // namespace

void HostRegistry::Add(const AEffect* effect, VstHost* host) {
  if (effect == nullptr || host == nullptr) return;
  Table& table = TheTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  EraseLocked(table, effect);  // a module may hand out the same record again after effClose
  table.entries.emplace_back(effect, host);
}

void HostRegistry::Remove(const AEffect* effect, const VstHost* host) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  auto& e = table.entries;
  e.erase(std::remove_if(e.begin(), e.end(),
                         [&](const auto& p) { return p.first == effect && p.second == host; }),
          e.end());
}

VstHost* HostRegistry::Find(const AEffect* effect) {
  if (effect == nullptr) return nullptr;
  Table& table = TheTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (const auto& p : table.entries)
    if (p.first == effect) return p.second;
  return nullptr;
}

HostRegistry::EntryScope::EntryScope(VstHost* host) : mPrevious(gEntering) { gEntering = host; }

HostRegistry::EntryScope::~EntryScope() { gEntering = mPrevious; }

VstHost* HostRegistry::Entering() { return gEntering; }

}  // namespace brel
