// The module as a host meets it: entry, factory and descriptor, the extensions it offers, its
// ports and their configurations, the processed delay, the gui's answers that need no window,
// and calls on a thread the host's rules forbid.

#include <cmath>
#include <string>
#include <thread>
#include <tuple>

#include "BrelvaneRelease.h"
#include "adapters/clap/ClapVendorExtension.h"
#include "adapters/vst2/VstVendorOpcodes.h"
#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using namespace claptest;

namespace {

TEST_F(ClapTest, OneDescriptorFromTheReleaseAndAFactoryOnlyForIt) {
  ASSERT_EQ(host.Descriptors().size(), 1u);
  const clap_plugin_descriptor_t& desc = *host.Descriptors()[0];
  EXPECT_STREQ(desc.id, "com.orrindale.brelvane");
  const std::vector<std::string> fields = {desc.name, desc.vendor, desc.url, desc.version};
  EXPECT_EQ(fields, (std::vector<std::string>{release::kProduct, release::kVendor, release::kUrl,
                                              release::kVersion}));
  std::vector<std::string> features;
  for (const char* const* f = desc.features; *f; ++f) features.push_back(*f);
  EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "compressor", "limiter", "stereo", "mono"}));

  const clap_plugin_factory_t* factory = host.Factory();
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, host.Host(), "com.orrindale.other"), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, nullptr, desc.id), nullptr);
  EXPECT_EQ(host.Entry()->get_factory("clap.no-such-factory"), nullptr);
  ASSERT_TRUE(host.Entry()->init(BRELVANE_CLAP_PATH));
  host.Entry()->deinit();
  EXPECT_EQ(host.Entry()->get_factory(CLAP_PLUGIN_FACTORY_ID), factory) << "still entered once";
  EXPECT_FALSE(host.Plugin()->init(host.Plugin())) << "init twice";
  for (const char* id : {CLAP_EXT_LATENCY, CLAP_EXT_RENDER, "clap.no-such-extension"})
    EXPECT_EQ(host.Extension(id), nullptr) << id;
  EXPECT_EQ(host.ExtensionAs<clap_plugin_tail_t>(CLAP_EXT_TAIL)->get(host.Plugin()), 0u);
}

TEST_F(ClapTest, PortsFollowTheConfigurationSelectedWhileInactive) {
  const auto* ports = host.ExtensionAs<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  const auto* configs = host.ExtensionAs<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  const clap_plugin_t* plugin = host.Plugin();
  const auto expectPorts = [&](std::uint32_t channels, const char* type) {
    for (bool input : {true, false}) {
      clap_audio_port_info_t info{};
      ASSERT_TRUE(ports->count(plugin, input) == 1 && ports->get(plugin, 0, input, &info));
      EXPECT_EQ(info.channel_count, channels);
      EXPECT_STREQ(info.port_type, type);
      EXPECT_EQ(info.in_place_pair, info.id);
      EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_IS_MAIN && info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS);
    }
  };
  expectPorts(2, CLAP_PORT_STEREO);
  clap_audio_ports_config_t mono{}, stereo{};
  ASSERT_EQ(configs->count(plugin), 2u);
  ASSERT_TRUE(configs->get(plugin, 0, &mono) && configs->get(plugin, 1, &stereo));
  EXPECT_EQ(mono.main_input_channel_count + mono.main_output_channel_count, 2u);
  EXPECT_EQ(stereo.main_input_channel_count + stereo.main_output_channel_count, 4u);
  EXPECT_FALSE(configs->select(plugin, 2));
  ASSERT_TRUE(host.Activate(kRate, 1, kMaxBlock));
  EXPECT_FALSE(configs->select(plugin, mono.id)) << "active";
  host.Deactivate();
  ASSERT_TRUE(configs->select(plugin, mono.id));
  expectPorts(1, CLAP_PORT_MONO);
}

TEST_F(ClapTest, ProcessedDelayIsTheVst2ModulesInEveryMode) {
  ASSERT_TRUE(host.Activate(kRate, 1, kMaxBlock));
  brel::VstHost vst2;
  ASSERT_TRUE(vst2test::StartPlugin(vst2));
  for (int mode = 1; mode <= 4; ++mode) {
    host.QueueParamValue(P::kMode, mode);
    host.Flush();
    vst2.SetParameter(P::kMode, mode / 4.0f);
    VstInt32 expected = -1;
    ASSERT_EQ(vst2.VendorSpecific(kVendorProcessedDelay, 0, &expected, 0.0f), kVendorAnswer);
    EXPECT_EQ(host.ExtensionAs<ClapPluginProcessedDelay>(kClapExtProcessedDelay)->get(host.Plugin()),
              expected);
  }
}

TEST_F(ClapTest, GuiIsEmbeddedAtTheEditorsFixedSizeAtTheHostsScale) {
  const auto* gui = host.ExtensionAs<clap_plugin_gui_t>(CLAP_EXT_GUI);
  const clap_plugin_t* plugin = host.Plugin();
  const char* api = nullptr;
  bool floating = true;
  ASSERT_TRUE(gui->get_preferred_api(plugin, &api, &floating));
  EXPECT_FALSE(floating);
  for (const char* other : {CLAP_WINDOW_API_COCOA, CLAP_WINDOW_API_WAYLAND, ""})
    EXPECT_FALSE(gui->is_api_supported(plugin, other, false)) << other;
  EXPECT_FALSE(gui->is_api_supported(plugin, api, true));
  std::uint32_t width = 0, height = 0;
  EXPECT_FALSE(gui->get_size(plugin, &width, &height)) << "before create";
  EXPECT_FALSE(gui->create(plugin, api, true));
  ASSERT_TRUE(gui->create(plugin, api, false));
  EXPECT_FALSE(gui->create(plugin, api, false)) << "one at a time";
  // X11's and Win32's sizes are the platform's pixels; what is no scale at all is refused.
  const std::tuple<double, bool, std::uint32_t> scales[] = {
      {2.0, true, 1808}, {0.0, false, 1808}, {NAN, false, 1808}, {1.0, true, 904}};
  for (const auto& [factor, taken, w] : scales) {
    EXPECT_EQ(gui->set_scale(plugin, factor), taken) << factor;
    ASSERT_TRUE(gui->get_size(plugin, &width, &height));
    EXPECT_EQ(std::vector<std::uint32_t>({width, height}), (std::vector<std::uint32_t>{w, w * 416 / 904}));
  }
  EXPECT_FALSE(gui->can_resize(plugin) || gui->set_size(plugin, 905, 416));
  EXPECT_TRUE(gui->set_size(plugin, 904, 416));
  EXPECT_FALSE(gui->show(plugin)) << "no parent yet";
  gui->destroy(plugin);
}

TEST(ClapGui, NoEditorOnLinuxWithoutTheHostsTimers) {
  brel::ClapHost host;
  host.OfferTimers(false);
  ASSERT_TRUE(Created(host));
  const auto* gui = host.ExtensionAs<clap_plugin_gui_t>(CLAP_EXT_GUI);
  const bool x11 = gui->is_api_supported(host.Plugin(), CLAP_WINDOW_API_X11, false);
  EXPECT_EQ(gui->create(host.Plugin(), x11 ? CLAP_WINDOW_API_X11 : CLAP_WINDOW_API_WIN32, false), !x11);
}

TEST_F(ClapTest, CallsOffTheMainThreadAreLoggedAsTheHostsMisbehaviour) {
  std::thread([&] {
    std::vector<std::uint8_t> state;
    EXPECT_TRUE(host.SaveState(state));
  }).join();
#ifndef NDEBUG
  EXPECT_EQ(host.Requests().log,
            std::vector<std::string>{"host misbehaving: state.save called outside the main thread"});
#endif
}

}  // namespace
