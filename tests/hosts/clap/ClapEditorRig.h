#pragma once
// What the CLAP editor tests of both platforms share: the plug-in started as the snapshot's is,
// a block of silence, a parameter's id and plain values, what the host heard of a gesture, and
// whether the host's loop still holds anything of the editor's.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "hosts/clap/ClapHost.h"

namespace claptest {

inline bool ProcessSilence(brel::ClapHost& plugin) {
  static std::vector<float> silence(512, 0.0f), left(512), right(512);
  float* inputs[2] = {silence.data(), silence.data()};
  float* outputs[2] = {left.data(), right.data()};
  return plugin.Process(inputs, 2, outputs, 2, 512) != CLAP_PROCESS_ERROR;
}

// Created, activated, processing and run for one block of silence, as the snapshot's plug-in is.
inline ::testing::AssertionResult Started(brel::ClapHost& plugin, const char* path) {
  if (!plugin.Load(path) || !plugin.CreatePlugin())
    return ::testing::AssertionFailure() << plugin.LastError();
  if (!plugin.Activate(48000.0, 1, 512) || !plugin.StartProcessing())
    return ::testing::AssertionFailure() << "no start: " << plugin.LastError();
  if (!ProcessSilence(plugin)) return ::testing::AssertionFailure() << "no block";
  return ::testing::AssertionSuccess();
}

// A parameter as the host knows it: its id, and its normalized positions as plain values.
struct Param {
  clap_id id = CLAP_INVALID_ID;
  double min = 0.0, max = 0.0;
  double Plain(double normalized) const { return min + normalized * (max - min); }
};

inline Param ParamAt(const brel::ClapHost& plugin, std::uint32_t index) {
  clap_param_info_t info{};
  if (!plugin.ParamInfo(index, info)) return Param{};
  return Param{info.id, info.min_value, info.max_value};
}

// The events are one gesture on `id`: its begin, a value near each of `values`, its end.
inline ::testing::AssertionResult IsOneGesture(const std::vector<brel::ClapOutputEvent>& events, clap_id id,
                                               const std::vector<double>& values, double tolerance) {
  using Kind = brel::ClapOutputEvent::Kind;
  if (events.size() != values.size() + 2)
    return ::testing::AssertionFailure() << events.size() << " events for " << values.size() << " values";
  for (std::size_t i = 0; i < events.size(); ++i) {
    const Kind kind = i == 0 ? Kind::GestureBegin : i + 1 == events.size() ? Kind::GestureEnd : Kind::Value;
    if (events[i].kind != kind || events[i].paramId != id)
      return ::testing::AssertionFailure() << "event " << i << " is of another kind or parameter";
    if (kind == Kind::Value && std::abs(events[i].value - values[i - 1]) > tolerance)
      return ::testing::AssertionFailure()
             << "value " << i << " is " << events[i].value << ", not " << values[i - 1];
  }
  return ::testing::AssertionSuccess();
}

// Nothing of the editor is left in the host's loop: no timer, no watched descriptor.
inline ::testing::AssertionResult NothingRegistered(const brel::ClapHost& plugin) {
  if (plugin.Timers().empty() && plugin.FdWatches().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << plugin.Timers().size() << " timers and "
                                       << plugin.FdWatches().size() << " descriptors still registered";
}

}  // namespace claptest
