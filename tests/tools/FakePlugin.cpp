#include "tests/tools/FakePlugin.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brel::cmd::test {
namespace {

FakeParam Real(const char* name, const char* label, double min, double max, double def) {
  FakeParam p;
  p.name = name;
  p.label = label;
  p.min = min;
  p.max = max;
  p.defaultValue = p.value = def;
  p.precision = 2;
  return p;
}

FakeParam Whole(const char* name, double min, double max, double def,
                std::vector<std::pair<int, std::string>> texts) {
  FakeParam p;
  p.name = name;
  p.real = false;
  p.min = min;
  p.max = max;
  p.defaultValue = p.value = def;
  p.texts = std::move(texts);
  return p;
}

}  // namespace

FakePlugin::FakePlugin() {
  params = {Real("Gain", "dB", -30, 20, 0), Real("LowCut", "Hz", 20, 300, 100),
            Whole("Power", 0, 1, 1, {{0, "off"}, {1, "on"}}),
            Whole("Mode", 0, 4, 1, {{0, "A"}, {1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}}),
            Whole("Steps", -3, 3, 0, {{-3, "min"}})};
}

std::string FakePlugin::Format(const FakeParam& p, double v) {
  for (const auto& t : p.texts)
    if (t.first == static_cast<int>(std::trunc(v))) return t.second;
  char buf[64];
  if (p.precision == 0)
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(std::trunc(v)));
  else
    std::snprintf(buf, sizeof buf, "%.*f", p.precision, v);
  return buf;
}

void FakePlugin::SetSampleRate(float rate) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "rate %g", rate);
  log.push_back(buf);
}

void FakePlugin::SetBlockSize(int frames) { log.push_back("block " + std::to_string(frames)); }

bool FakePlugin::SetChannels(int n) {
  channels = n;
  log.push_back("channels " + std::to_string(n));
  return true;
}

float FakePlugin::GetParameter(int index) {
  const FakeParam& p = params[index];
  return static_cast<float>((p.value - p.min) / (p.max - p.min));
}

void FakePlugin::LogValue(int index) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "set %s=%.17g", params[index].name.c_str(), params[index].value);
  log.push_back(buf);
}

// Whole-number parameters round to the nearest step; nothing clamps at the bottom.
void FakePlugin::SetParameter(int index, float normalized) {
  FakeParam& p = params[index];
  double v = normalized * (p.max - p.min) + p.min;
  if (!p.real) v = std::floor(v + 0.5);
  p.value = std::fmin(v, p.max);
  LogValue(index);
}

bool FakePlugin::SetParameterText(int index, const std::string& text) {
  FakeParam& p = params[index];
  double v = 0.0;
  if (p.texts.empty()) {
    v = std::strtod(text.c_str(), nullptr);
  } else {
    bool found = false;
    for (const auto& t : p.texts)
      if (t.second == text) {
        v = t.first;
        found = true;
        break;
      }
    if (!found) return false;
  }
  p.value = v < p.min ? p.min : std::fmin(v, p.max);
  LogValue(index);
  return true;
}

bool FakePlugin::FormatNormalized(int index, float normalized, std::string& text) {
  const FakeParam& p = params[index];
  text = Format(p, normalized * (p.max - p.min) + p.min);
  return true;
}

std::vector<std::uint8_t> FakePlugin::ProgramChunk() {
  log.push_back("get chunk");
  std::vector<std::uint8_t> chunk = {'f', 'a', 'k', 'e'};
  for (const FakeParam& p : params) {
    std::uint8_t bytes[8];
    std::memcpy(bytes, &p.value, 8);
    chunk.insert(chunk.end(), bytes, bytes + 8);
  }
  return chunk;
}

bool FakePlugin::SetProgramChunk(const std::vector<std::uint8_t>& chunk) {
  log.push_back("set chunk " + std::to_string(chunk.size()));
  lastChunkSet = chunk;
  if (rejectChunks || chunk.size() != 4 + 8 * params.size()) return false;
  for (std::size_t i = 0; i < params.size(); ++i) std::memcpy(&params[i].value, &chunk[4 + 8 * i], 8);
  return true;
}

double FakePlugin::Gain() const {
  return params[2].value >= 0.5 ? std::pow(10.0, params[0].value / 20.0) : 1.0;
}

template <typename T>
void FakePlugin::Run(T** inputs, T** outputs, int frames, const char* kind) {
  log.push_back(std::string(kind) + " " + std::to_string(frames));
  double g = Gain();
  for (int c = 0; c < 2; ++c)
    for (int f = 0; f < frames; ++f) {
      if (channels == 1 && c == 1 && inputs[c][f] != 0) monoInputClean = false;
      outputs[c][f] = static_cast<T>(static_cast<double>(inputs[c][f]) * g);
    }
}

bool FakePlugin::Process(float** inputs, float** outputs, int frames) {
  Run(inputs, outputs, frames, "process");
  return true;
}

bool FakePlugin::Process(double** inputs, double** outputs, int frames) {
  Run(inputs, outputs, frames, "process64");
  return true;
}

}  // namespace brel::cmd::test
