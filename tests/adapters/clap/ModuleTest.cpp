// The module as a host meets it: its entry and factory, the one plug-in's descriptor, the
// extensions it offers, its ports and their configurations, the processed delay, the gui's
// answers that need no window, and the host's thread rules checked in debug trees.

#include <cstring>
#include <string>
#include <thread>

#include "BrelvaneRelease.h"
#include "adapters/clap/ClapVendorExtension.h"
#include "adapters/vst2/VstVendorOpcodes.h"
#include "hosts/vst2/VstHost.h"
#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using namespace claptest;

namespace {

std::vector<std::string> Features(const clap_plugin_descriptor_t& desc) {
  std::vector<std::string> features;
  for (const char* const* f = desc.features; f && *f; ++f) features.push_back(*f);
  return features;
}

TEST_F(ClapTest, OneDescriptorFromTheReleaseAndAFactoryOnlyForIt) {
  const auto descriptors = host.Descriptors();
  ASSERT_EQ(descriptors.size(), 1u);
  const clap_plugin_descriptor_t& desc = *descriptors[0];
  EXPECT_STREQ(desc.id, "com.orrindale.brelvane");
  EXPECT_STREQ(desc.name, release::kProduct);
  EXPECT_STREQ(desc.vendor, release::kVendor);
  EXPECT_STREQ(desc.url, release::kUrl);
  EXPECT_STREQ(desc.version, release::kVersion);
  EXPECT_NE(std::string(desc.description), "");
  EXPECT_EQ(Features(desc),
            (std::vector<std::string>{"audio-effect", "compressor", "limiter", "stereo", "mono"}));
  EXPECT_TRUE(clap_version_is_compatible(desc.clap_version));

  const clap_plugin_factory_t* factory = host.Factory();
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, host.Host(), "com.orrindale.other"), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, nullptr, desc.id), nullptr);
  EXPECT_EQ(host.Entry()->get_factory("clap.no-such-factory"), nullptr);
  // A second init and its deinit leave the module entered for the first.
  ASSERT_TRUE(host.Entry()->init(BRELVANE_CLAP_PATH));
  host.Entry()->deinit();
  EXPECT_EQ(host.Entry()->get_factory(CLAP_PLUGIN_FACTORY_ID), factory);
  EXPECT_FALSE(host.Plugin()->init(host.Plugin())) << "init twice";
}

TEST_F(ClapTest, OffersItsExtensionsAndNoLatencyOrRender) {
  for (const char* id : {CLAP_EXT_PARAMS, CLAP_EXT_AUDIO_PORTS, CLAP_EXT_AUDIO_PORTS_CONFIG, CLAP_EXT_STATE,
                         CLAP_EXT_TAIL, CLAP_EXT_GUI, CLAP_EXT_TIMER_SUPPORT, CLAP_EXT_POSIX_FD_SUPPORT,
                         CLAP_EXT_REMOTE_CONTROLS, kClapExtProcessedDelay})
    EXPECT_NE(host.Extension(id), nullptr) << id;
  for (const char* id : {CLAP_EXT_LATENCY, CLAP_EXT_RENDER, CLAP_EXT_NOTE_PORTS, "clap.no-such-extension"})
    EXPECT_EQ(host.Extension(id), nullptr) << id;
  EXPECT_EQ(host.ExtensionAs<clap_plugin_tail_t>(CLAP_EXT_TAIL)->get(host.Plugin()), 0u);
}

TEST_F(ClapTest, PortsFollowTheSelectedConfigurationChosenOnlyWhileInactive) {
  const auto* ports = host.ExtensionAs<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  const auto* configs = host.ExtensionAs<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  const clap_plugin_t* plugin = host.Plugin();
  const auto expectPorts = [&](std::uint32_t channels, const char* type) {
    for (bool input : {true, false}) {
      clap_audio_port_info_t info{};
      ASSERT_EQ(ports->count(plugin, input), 1u);
      ASSERT_TRUE(ports->get(plugin, 0, input, &info));
      EXPECT_FALSE(ports->get(plugin, 1, input, &info));
      EXPECT_EQ(info.channel_count, channels);
      EXPECT_STREQ(info.port_type, type);
      EXPECT_EQ(info.in_place_pair, info.id);
      EXPECT_EQ(info.flags & (CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS),
                CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS);
    }
  };
  expectPorts(2, CLAP_PORT_STEREO);
  ASSERT_EQ(configs->count(plugin), 2u);
  std::vector<std::uint32_t> channels;
  for (std::uint32_t i = 0; i < 2; ++i) {
    clap_audio_ports_config_t config{};
    ASSERT_TRUE(configs->get(plugin, i, &config));
    EXPECT_EQ(config.main_input_channel_count, config.main_output_channel_count);
    channels.push_back(config.main_input_channel_count);
  }
  EXPECT_EQ(channels, (std::vector<std::uint32_t>{1, 2}));
  EXPECT_FALSE(configs->select(plugin, 2));
  ASSERT_TRUE(host.Activate(kRate, 1, kMaxBlock));
  EXPECT_FALSE(configs->select(plugin, 0)) << "active";
  host.Deactivate();
  ASSERT_TRUE(configs->select(plugin, 0));
  expectPorts(1, CLAP_PORT_MONO);
}

TEST_F(ClapTest, ProcessedDelayIsTheVst2ModulesForEveryMode) {
  ASSERT_TRUE(host.Activate(kRate, 1, kMaxBlock));
  brel::VstHost vst2;
  ASSERT_TRUE(vst2test::StartPlugin(vst2));
  const auto* delay = host.ExtensionAs<ClapPluginProcessedDelay>(kClapExtProcessedDelay);
  for (int mode = 1; mode <= 4; ++mode) {
    host.QueueParamValue(P::kMode, mode);
    host.Flush();
    vst2.SetParameter(P::kMode, mode / 4.0f);
    VstInt32 expected = -1;
    ASSERT_EQ(vst2.VendorSpecific(kVendorProcessedDelay, 0, &expected, 0.0f), kVendorAnswer);
    EXPECT_EQ(delay->get(host.Plugin()), expected) << mode;
  }
}

TEST_F(ClapTest, GuiIsEmbeddedOfTheEditorsFixedSize) {
  const auto* gui = host.ExtensionAs<clap_plugin_gui_t>(CLAP_EXT_GUI);
  const clap_plugin_t* plugin = host.Plugin();
  const char* api = nullptr;
  bool floating = true;
  ASSERT_TRUE(gui->get_preferred_api(plugin, &api, &floating));
  EXPECT_FALSE(floating);
  EXPECT_TRUE(gui->is_api_supported(plugin, api, false));
  EXPECT_FALSE(gui->is_api_supported(plugin, api, true));
  for (const char* other : {CLAP_WINDOW_API_COCOA, CLAP_WINDOW_API_WAYLAND, "", "x11 "})
    EXPECT_FALSE(gui->is_api_supported(plugin, other, false)) << other;
  std::uint32_t width = 0, height = 0;
  EXPECT_FALSE(gui->get_size(plugin, &width, &height)) << "before create";
  EXPECT_FALSE(gui->create(plugin, api, true));
  ASSERT_TRUE(gui->create(plugin, api, false));
  EXPECT_FALSE(gui->create(plugin, api, false)) << "one at a time";
  ASSERT_TRUE(gui->get_size(plugin, &width, &height));
  EXPECT_EQ(width, 904u);
  EXPECT_EQ(height, 416u);
  EXPECT_FALSE(gui->can_resize(plugin));
  EXPECT_FALSE(gui->set_scale(plugin, 2.0));
  EXPECT_TRUE(gui->set_size(plugin, 904, 416));
  EXPECT_FALSE(gui->set_size(plugin, 905, 416));
  EXPECT_FALSE(gui->show(plugin)) << "no parent yet";
  gui->destroy(plugin);
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
  const std::vector<std::string> log = host.Requests().log;
#ifdef NDEBUG
  EXPECT_TRUE(log.empty());
#else
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "host misbehaving: state.save called outside the main thread");
#endif
}

}  // namespace
