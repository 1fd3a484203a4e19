// The CLAP adapter in-process under a scripted host: the editor's gestures go out with the next
// flush or block (a flush asked for only outside processing), and a request made on the audio
// path waits for the host's main-thread callback.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "adapters/clap/IPlugCLAP.h"
#include "core/AudioPath.h"

namespace {

struct Gesture {
  std::uint16_t type;
  clap_id param;
  double value;
  bool operator==(const Gesture& o) const { return type == o.type && param == o.param && value == o.value; }
};
constexpr std::uint16_t kBegin = CLAP_EVENT_PARAM_GESTURE_BEGIN, kValue = CLAP_EVENT_PARAM_VALUE,
                        kEnd = CLAP_EVENT_PARAM_GESTURE_END;

// Counts its callbacks and flush requests, and records what the plug-in pushes.
struct ScriptedHost {
  static ScriptedHost& Of(const void* data) { return *static_cast<ScriptedHost*>(const_cast<void*>(data)); }
  static const void* CLAP_ABI Extension(const clap_host_t* h, const char* id) {
    return std::strcmp(id, CLAP_EXT_PARAMS) == 0 ? &Of(h->host_data).params : nullptr;
  }
  static void CLAP_ABI Nothing(const clap_host_t*) {}
  static void CLAP_ABI Callback(const clap_host_t* h) { ++Of(h->host_data).callbacks; }
  static void CLAP_ABI Rescan(const clap_host_t*, clap_param_rescan_flags) {}
  static void CLAP_ABI Flush(const clap_host_t* h) { ++Of(h->host_data).flushes; }
  static bool CLAP_ABI Push(const clap_output_events_t* list, const clap_event_header_t* e) {
    const auto* value = reinterpret_cast<const clap_event_param_value_t*>(e);
    Of(list->ctx).sent.push_back({e->type, value->param_id, e->type == kValue ? value->value : 0.0});
    return true;
  }

  clap_host_t host{CLAP_VERSION, this, "", "", "", "", Extension, Nothing, Nothing, Callback};
  clap_host_params_t params{Rescan, nullptr, Flush};
  clap_output_events_t out{this, Push};
  std::atomic<int> callbacks{0}, flushes{0};
  std::vector<Gesture> sent;  // on whichever thread pushed; read after it is done
};

std::uint32_t CLAP_ABI NoEvents(const clap_input_events_t*) { return 0; }
const clap_input_events_t kNoEvents = {nullptr, NoEvents, nullptr};

class TwoParamPlug : public IPlugCLAP {
public:
  explicit TwoParamPlug(const clap_host_t* host)
      : IPlugCLAP(IPlugCLAPInstanceInfo{host, nullptr}, 2, "2-2", 1, "Two", "", "Maker", 0x10000, 1, 2) {
    GetParam(0)->DefineDouble("Gain", 0.0, -30.0, 20.0, 0.01, "dB");
    GetParam(1)->DefineBool("Freeze", false);
  }
};

class ClapAdapter : public ::testing::Test {
protected:
  ClapAdapter() { clap->init(clap); }
  ~ClapAdapter() override { clap->destroy(clap); }
  void Drag(int param, double to) {
    plug->BeginParamEdit(param);
    plug->SetParamFromEditor(param, to / 2);
    plug->SetParamFromEditor(param, to);
    plug->EndParamEdit(param);
  }
  void Block() {
    clap_process_t process{};
    process.in_events = &kNoEvents;
    process.out_events = &host.out;
    EXPECT_EQ(clap->process(clap, &process), CLAP_PROCESS_CONTINUE);
  }
  void Flush() {
    static_cast<const clap_plugin_params_t*>(clap->get_extension(clap, CLAP_EXT_PARAMS))
        ->flush(clap, &kNoEvents, &host.out);
  }

  ScriptedHost host;
  TwoParamPlug* plug = new TwoParamPlug(&host.host);
  const clap_plugin_t* clap = plug->ClapPlugin();
};

TEST_F(ClapAdapter, GesturesGoOutAsPlainValuesWithTheFlushOrWhileProcessingWithTheBlock) {
  Drag(0, 0.5);
  EXPECT_EQ(host.flushes.load(), 1) << "one request for all the host has not taken";
  Flush();
  Flush();
  EXPECT_EQ(host.sent, (std::vector<Gesture>{{kBegin, 0, 0}, {kValue, 0, -5.0}, {kEnd, 0, 0}}));

  host.sent.clear();
  ASSERT_TRUE(clap->activate(clap, 48000.0, 1, 64) && clap->start_processing(clap));
  Drag(1, 1.0);
  Block();
  EXPECT_EQ(host.sent, (std::vector<Gesture>{{kBegin, 1, 0}, {kValue, 1, 1.0}, {kEnd, 1, 0}}));
  EXPECT_EQ(host.flushes.load(), 1);
}

TEST_F(ClapAdapter, ARequestOnTheAudioPathWaitsForTheMainThreadCallback) {
  {
    const AudioPathScope audio;
    plug->BeginParamEdit(0);
  }
  EXPECT_EQ(host.callbacks.load(), 1);
  EXPECT_EQ(host.flushes.load(), 0);
  clap->on_main_thread(clap);
  EXPECT_EQ(host.flushes.load(), 1);
}

TEST_F(ClapAdapter, AFullQueueStillTakesAGesturesEnd) {
  for (int i = 0; i < 2 * IPlugCLAP::kGestureCapacity; ++i) plug->BeginParamEdit(i % 2);
  plug->EndParamEdit(0);
  Flush();
  ASSERT_EQ(host.sent.size(), static_cast<std::size_t>(IPlugCLAP::kGestureCapacity));
  EXPECT_EQ(host.sent.back(), (Gesture{kEnd, 0, 0}));
}

using ClapAdapterThreads = ClapAdapter;

TEST_F(ClapAdapterThreads, EditorGesturesMeetBlocksOnTheAudioThread) {
  ASSERT_TRUE(clap->activate(clap, 48000.0, 1, 64) && clap->start_processing(clap));
  constexpr int kDrags = 40;  // fewer events than the queue holds, however the threads meet
  std::atomic<bool> done{false};
  std::thread audio([&] {
    while (!done.load()) Block();
    Block();
  });
  for (int i = 0; i < kDrags; ++i) Drag(i % 2, 1.0);
  done.store(true);
  audio.join();
  ASSERT_EQ(host.sent.size(), 3u * kDrags);
  for (int i = 0; i < kDrags; ++i) EXPECT_EQ(host.sent[3 * i], (Gesture{kBegin, clap_id(i % 2), 0})) << i;
}

}  // namespace
