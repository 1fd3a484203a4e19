// Shared set-up for the host tests: where the probe modules are, and a host loaded with the probe.
#pragma once

#include "hosts/vst2/VstHost.h"
#include "hosts/module/LoadedModule.h"
#include "tests/hosts/vst2/ProbeProtocol.h"

#include <gtest/gtest.h>

#include <string>

namespace probe {

inline std::string ModulePath() { return PROBE_MODULE_PATH; }
inline std::string MainOnlyModulePath() { return PROBE_MAIN_ONLY_PATH; }
inline std::string NoEntryModulePath() { return PROBE_NO_ENTRY_PATH; }

inline VstIntPtr Ask(brel::VstHost& host, Command command, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
  return host.VendorSpecific(command, value, ptr, opt);
}

// Makes the probe call its host with the given arguments, as a plug-in would.
inline VstIntPtr Relayed(brel::VstHost& host, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                         void* ptr = nullptr, float opt = 0.0f) {
  Relay relay{opcode, index, value, ptr, opt};
  return Ask(host, kRelay, 0, &relay);
}

// The module's own view of how many plug-ins are alive, through a second handle on it.
class ModuleCounters {
public:
  ModuleCounters() {
    std::string error;
    mModule.Open(ModulePath(), error);
  }
  int LiveInstances() const {
    auto f = reinterpret_cast<LiveInstancesProc>(mModule.Find("ProbeLiveInstances"));
    return f != nullptr ? f() : -1;
  }
  int ClosedWhileResumed() const {
    auto f = reinterpret_cast<ClosedWhileResumedProc>(mModule.Find("ProbeClosedWhileResumed"));
    return f != nullptr ? f() : -1;
  }

private:
  brel::LoadedModule mModule;
};

// A host with the probe loaded and opened.
class ProbeTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(mHost.Load(ModulePath())) << mHost.LastError();
    mHost.Open();
  }

  brel::VstHost mHost;
};

}  // namespace probe
