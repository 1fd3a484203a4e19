// The CLAP adapter in-process, under a scripted host: the editor's gestures reach the host as
// events of the next flush or block, with a flush asked for only outside processing, and a
// request made on the audio path waits for the host's main-thread callback.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "adapters/clap/IPlugCLAP.h"
#include "core/AudioPath.h"
#include "core/FourCC.h"

namespace {

struct ScriptedHost {
  ScriptedHost() {
    host.clap_version = CLAP_VERSION;
    host.host_data = this;
    host.name = host.vendor = host.url = host.version = "";
    host.get_extension = Extension;
    host.request_restart = host.request_process = Nothing;
    host.request_callback = Callback;
    params.rescan = [](const clap_host_t*, clap_param_rescan_flags) {};
    params.clear = [](const clap_host_t*, clap_id, clap_param_clear_flags) {};
    params.request_flush = Flush;
  }
  static ScriptedHost& Of(const clap_host_t* h) { return *static_cast<ScriptedHost*>(h->host_data); }
  static const void* CLAP_ABI Extension(const clap_host_t* h, const char* id) {
    return std::strcmp(id, CLAP_EXT_PARAMS) == 0 ? &Of(h).params : nullptr;
  }
  static void CLAP_ABI Nothing(const clap_host_t*) {}
  static void CLAP_ABI Callback(const clap_host_t* h) { ++Of(h).callbacks; }
  static void CLAP_ABI Flush(const clap_host_t* h) { ++Of(h).flushes; }

  clap_host_t host{};
  clap_host_params_t params{};
  std::atomic<int> callbacks{0}, flushes{0};
};

struct Gesture {
  std::uint16_t type;
  clap_id param;
  double value;
  bool operator==(const Gesture& o) const { return type == o.type && param == o.param && value == o.value; }
};

// What the plug-in pushes; the list may be filled on the audio thread and read on the main one.
struct OutList {
  OutList() {
    out.ctx = this;
    out.try_push = Push;
  }
  static bool CLAP_ABI Push(const clap_output_events_t* list, const clap_event_header_t* e) {
    auto& self = *static_cast<OutList*>(list->ctx);
    const double value =
        e->type == CLAP_EVENT_PARAM_VALUE ? reinterpret_cast<const clap_event_param_value_t*>(e)->value : 0.0;
    const clap_id id = reinterpret_cast<const clap_event_param_gesture_t*>(e)->param_id;
    std::lock_guard<std::mutex> hold(self.mutex);
    self.events.push_back({e->type, id, value});
    return true;
  }
  std::vector<Gesture> Taken() {
    std::lock_guard<std::mutex> hold(mutex);
    return std::move(events);
  }
  clap_output_events_t out{};
  std::mutex mutex;
  std::vector<Gesture> events;
};

const clap_input_events_t kNoEvents = {
    nullptr, [](const clap_input_events_t*) -> std::uint32_t { return 0; },
    [](const clap_input_events_t*, std::uint32_t) -> const clap_event_header_t* { return nullptr; }};

class TwoParamPlug : public IPlugCLAP {
public:
  explicit TwoParamPlug(const clap_host_t* host)
      : IPlugCLAP(IPlugCLAPInstanceInfo{host, nullptr}, 2, "2-2", 1, "Two", "", "Maker", 0x10000,
                  FourCC('T', 'w', 'o', 'P'), FourCC('M', 'a', 'k', 'r')) {
    GetParam(0)->DefineDouble("Gain", 0.0, -30.0, 20.0, 0.01, "dB");
    GetParam(1)->DefineBool("Freeze", false);
  }
};

constexpr std::uint16_t kBegin = CLAP_EVENT_PARAM_GESTURE_BEGIN, kValue = CLAP_EVENT_PARAM_VALUE,
                        kEnd = CLAP_EVENT_PARAM_GESTURE_END;

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
    process.out_events = &list.out;
    EXPECT_EQ(clap->process(clap, &process), CLAP_PROCESS_CONTINUE);
  }
  void Flush() {
    static_cast<const clap_plugin_params_t*>(clap->get_extension(clap, CLAP_EXT_PARAMS))
        ->flush(clap, &kNoEvents, &list.out);
  }

  ScriptedHost host;
  TwoParamPlug* plug = new TwoParamPlug(&host.host);
  const clap_plugin_t* clap = plug->ClapPlugin();
  OutList list;
};

TEST_F(ClapAdapter, AGestureGoesOutWithTheNextFlushAsPlainValuesOneValuePerRun) {
  Drag(0, 0.5);
  EXPECT_GE(host.flushes.load(), 1);
  Flush();
  EXPECT_EQ(list.Taken(), (std::vector<Gesture>{{kBegin, 0, 0}, {kValue, 0, -5.0}, {kEnd, 0, 0}}));
  Flush();
  EXPECT_TRUE(list.Taken().empty());
}

TEST_F(ClapAdapter, WhileProcessingTheNextBlockCarriesTheGestureAndNoFlushIsAsked) {
  ASSERT_TRUE(clap->activate(clap, 48000.0, 1, 64) && clap->start_processing(clap));
  Drag(1, 1.0);
  EXPECT_EQ(host.flushes.load(), 0);
  Block();
  EXPECT_EQ(list.Taken(), (std::vector<Gesture>{{kBegin, 1, 0}, {kValue, 1, 1.0}, {kEnd, 1, 0}}));
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

TEST_F(ClapAdapter, AFullQueueStillTakesTheGesturesEnd) {
  for (int i = 0; i < 2 * IPlugCLAP::kGestureCapacity; ++i) plug->BeginParamEdit(i % 2);
  plug->EndParamEdit(0);
  Flush();
  const std::vector<Gesture> sent = list.Taken();
  ASSERT_EQ(sent.size(), static_cast<std::size_t>(IPlugCLAP::kGestureCapacity));
  EXPECT_EQ(sent.back(), (Gesture{kEnd, 0, 0}));
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
  const std::vector<Gesture> sent = list.Taken();
  ASSERT_EQ(sent.size(), 3u * kDrags);
  for (int i = 0; i < kDrags; ++i) EXPECT_EQ(sent[3 * i].type, kBegin) << i;
}

}  // namespace
