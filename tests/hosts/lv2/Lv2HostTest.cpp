// The LV2 host library against the real bundle: lilv reads it without a word, the ports it
// describes are the parameter table's, the meters' ports follow the signal, and what the host
// refuses it refuses before the plug-in's binary is mapped.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "BrelvaneRelease.h"
#include "adapters/lv2/Lv2VendorExtension.h"
#include "engine/BrelvaneParams.h"
#include "hosts/lv2/Lv2Host.h"
#include "tests/adapters/vst2/TestSignal.h"

namespace {

namespace fs = std::filesystem;
using brel::Lv2Host;
using brel::Lv2PortInfo;
constexpr double kRate = 48000.0;
constexpr std::uint32_t kParams = BrelvaneParamIndex::kNumParams;
constexpr const char* kUnits = "http://lv2plug.in/ns/extensions/units#";

Lv2Host& Loaded(Lv2Host& host, const char* uri, std::uint32_t block = 512) {
  EXPECT_TRUE(host.LoadBundle(BREL_LV2_BUNDLE) && host.Instantiate(uri, kRate, block) && host.Activate())
      << host.LastError();
  return host;
}

TEST(Lv2Host, LoadsTheBundleWithoutAWordFromLilvAndFindsBothPlugIns) {
  ::testing::internal::CaptureStderr();
  Lv2Host host;
  const bool loaded = host.LoadBundle(BREL_LV2_BUNDLE);
  std::vector<std::string> names;
  for (const char* uri : {release::kLv2StereoUri, release::kLv2MonoUri}) {
    if (!host.Instantiate(uri, kRate)) ADD_FAILURE() << host.LastError();
    names.push_back(host.PluginName() + " by " + host.AuthorName());
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(loaded) << host.LastError();
  std::vector<std::string> uris = host.PluginUris();
  std::sort(uris.begin(), uris.end());
  std::vector<std::string> expected = {release::kLv2StereoUri, release::kLv2MonoUri};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(uris, expected);
  const std::string by = std::string(" by ") + release::kVendor;
  EXPECT_EQ(names, (std::vector<std::string>{release::kProduct + by,
                                             release::kProduct + std::string(" Mono") + by}));
  EXPECT_NE(host.Private(release::kLv2PrivateUri), nullptr);
  EXPECT_EQ(host.Private("http://example.org/made-up#extension"), nullptr);
  EXPECT_NE(host.Handle(), nullptr);
  EXPECT_NE(host.Descriptor(), nullptr);
  // Another rate is another instance of the same plug-in.
  EXPECT_TRUE(host.Instantiate(host.PluginUri(), 96000.0)) << host.LastError();
  EXPECT_EQ(host.PluginUri(), release::kLv2MonoUri);
}

// Every control port as the parameter table has it, then the meters and the audio, in both plug-ins.
TEST(Lv2Host, PortsAreTheParameterTables) {
  const char* symbols[kParams] = {"pres_comp", "lowcut", "tighten", "bass",    "crispy", "final_comp",
                                  "db_output", "power",  "mode",    "p_limit", "f_limit"};
  const std::pair<const char*, const char*> units[] = {{"dB", "db"}, {"Hz", "hz"}, {"%", "pc"}, {"", ""}};
  struct Variant {
    const char* uri;
    std::vector<std::string> audio;  // symbols of the audio ports, inputs first
  };
  const Variant variants[] = {{release::kLv2StereoUri, {"in_l", "in_r", "out_l", "out_r"}},
                              {release::kLv2MonoUri, {"in", "out"}}};
  for (const Variant& variant : variants) {
    Lv2Host host;
    Loaded(host, variant.uri);
    const std::vector<Lv2PortInfo>& ports = host.Ports();
    ASSERT_EQ(ports.size(), kParams + 2 + variant.audio.size()) << variant.uri;
    for (std::uint32_t i = 0; i < kParams; ++i) {
      const ParamSpec& spec = kBrelvaneParams[i];
      const Lv2PortInfo& port = ports[i];
      SCOPED_TRACE(std::string(variant.uri) + " " + spec.name);
      EXPECT_TRUE(port.input && port.control && !port.audio);
      EXPECT_EQ(port.symbol, symbols[i]);
      EXPECT_EQ(port.name, spec.name);
      EXPECT_EQ(port.min, static_cast<float>(spec.min));
      EXPECT_EQ(port.max, static_cast<float>(spec.max));
      EXPECT_EQ(port.defaultValue, static_cast<float>(spec.defaultValue));
      EXPECT_EQ(host.Control(i), static_cast<float>(spec.defaultValue));
      const auto unit = std::find_if(std::begin(units), std::end(units),
                                     [&spec](const auto& u) { return std::string(u.first) == spec.label; });
      ASSERT_NE(unit, std::end(units));
      EXPECT_EQ(port.unit, *unit->second ? kUnits + std::string(unit->second) : "");
      EXPECT_EQ(port.toggled, spec.type == ParamType::Bool);
      EXPECT_EQ(port.integer, spec.type == ParamType::Int);
      EXPECT_EQ(port.enumeration, spec.type == ParamType::Int);
      std::vector<std::pair<float, std::string>> points, texts;
      for (const brel::Lv2ScalePoint& point : port.scalePoints) points.emplace_back(point.value, point.label);
      for (int t = 0; spec.type != ParamType::Bool && t < spec.textCount; ++t)
        texts.emplace_back(static_cast<float>(spec.texts[t].value), spec.texts[t].text);
      EXPECT_EQ(points, texts);
    }
    EXPECT_EQ(ports[kParams].symbol, "pres_meter");
    EXPECT_EQ(ports[kParams + 1].symbol, "final_meter");
    for (std::uint32_t m = kParams; m < kParams + 2; ++m)
      EXPECT_TRUE(!ports[m].input && ports[m].control) << ports[m].symbol;
    for (std::size_t a = 0; a < variant.audio.size(); ++a) {
      const Lv2PortInfo& port = ports[kParams + 2 + a];
      EXPECT_EQ(port.symbol, variant.audio[a]);
      EXPECT_TRUE(port.audio && port.input == (a < variant.audio.size() / 2)) << port.symbol;
    }
    EXPECT_EQ(host.AudioInputCount(), variant.audio.size() / 2);
    EXPECT_EQ(host.AudioOutputCount(), variant.audio.size() / 2);
  }
}

// Silence leaves both needles at rest; a take moves them.
TEST(Lv2Host, TheMetersPortsFollowTheSignal) {
  Lv2Host host;
  Loaded(host, release::kLv2StereoUri);
  const std::uint32_t pres = static_cast<std::uint32_t>(host.PortIndex("pres_meter")),
                      final = static_cast<std::uint32_t>(host.PortIndex("final_meter"));
  ASSERT_TRUE(host.Run(nullptr, nullptr, 4800));
  EXPECT_EQ(host.Control(pres), 0.0f);
  EXPECT_EQ(host.Control(final), 0.0f);
  vst2test::Stereo<float> take = vst2test::SpeechLike(9600, kRate, 0.9);
  float* channels[] = {take.left.data(), take.right.data()};
  ASSERT_TRUE(host.Run(channels, channels, 9600));
  EXPECT_GT(host.Control(pres), 0.0f);
  EXPECT_GT(host.Control(final), 0.0f);
}

// The host's blocks: a long run cut into short ones sounds as one long block does; the mono
// plug-in renders a channel as the stereo one renders it on both sides.
TEST(Lv2Host, RunsInBlocksOfItsSizeAndTheMonoPlugInRendersOneChannel) {
  const vst2test::Stereo<float> take = vst2test::SpeechLike(5000, kRate);
  Lv2Host shortBlocks, longBlocks, mono;
  Loaded(shortBlocks, release::kLv2StereoUri, 64);
  Loaded(longBlocks, release::kLv2StereoUri, 8192);
  Loaded(mono, release::kLv2MonoUri, 300);
  vst2test::Stereo<float> a(take.Frames(), 0.0f), b(take.Frames(), 0.0f);
  std::vector<float> in = take.left, single(take.Frames(), 0.0f);
  float* ins[] = {in.data(), in.data()};
  float* outsA[] = {a.left.data(), a.right.data()};
  float* outsB[] = {b.left.data(), b.right.data()};
  float* monoIn[] = {in.data()};
  float* monoOut[] = {single.data()};
  ASSERT_TRUE(shortBlocks.Run(ins, outsA, 5000) && longBlocks.Run(ins, outsB, 5000) &&
              mono.Run(monoIn, monoOut, 5000));
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.right, b.right);
  EXPECT_EQ(single, a.left);
  EXPECT_NE(single, in) << "the mono plug-in processed the channel";
}

// What is refused is refused with a reason, and a binary cut short never reaches the loader.
TEST(Lv2Host, RefusesWhatItCannotHostWithAReason) {
  const fs::path dir = fs::temp_directory_path() / ("lv2host-" + std::to_string(::getpid()));
  const fs::path copy = dir / "Cut.lv2", empty = dir / "Empty.lv2";
  fs::create_directories(empty);
  fs::copy(BREL_LV2_BUNDLE, copy);
  fs::resize_file(copy / "Brelvane.so", fs::file_size(copy / "Brelvane.so") / 2);
  struct Case {
    std::string bundle, uri, error;  // the start of the message
  };
  const Case cases[] = {
      {(dir / "none.lv2").string(), release::kLv2StereoUri,
       "'" + (dir / "none.lv2").string() + "' is not a folder"},
      {empty.string(), release::kLv2StereoUri, "'" + empty.string() + "' holds no manifest.ttl"},
      {BREL_LV2_BUNDLE, "http://example.org/other",
       "the bundle describes no plug-in <http://example.org/other>"},
      {copy.string(), release::kLv2MonoUri,
       "'" + (fs::canonical(copy) / "Brelvane.so").string() + "' is cut short"},
  };
  for (const Case& c : cases) {
    Lv2Host host;
    EXPECT_FALSE(host.LoadBundle(c.bundle) && host.Instantiate(c.uri, kRate));
    EXPECT_EQ(host.LastError().substr(0, c.error.size()), c.error) << host.LastError();
    EXPECT_FALSE(host.HasInstance());
    EXPECT_FALSE(host.Run(nullptr, nullptr, 16));
  }
  Lv2Host idle;
  ASSERT_TRUE(idle.LoadBundle(BREL_LV2_BUNDLE) && idle.Instantiate(release::kLv2StereoUri, kRate));
  EXPECT_FALSE(idle.Run(nullptr, nullptr, 16)) << "not active yet";
  EXPECT_FALSE(idle.Instantiate(release::kLv2StereoUri, 0.0));
  EXPECT_FALSE(idle.SetControl(kParams, 1.0f)) << "an output";
  fs::remove_all(dir);
}

}  // namespace
