// The bundle under a careless host: indices past either end of every list, missing out-pointers,
// arrangements it must refuse, streams that fail while it saves, set-ups after a bypass, values
// no control has, and typed text, which must read as the VST2 module reads it.

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/utility/stringconvert.h"
#include "tests/adapters/vst2/ModuleFixture.h"
#include "tests/adapters/vst3/Vst3Fixture.h"

using namespace Steinberg;
using namespace vst3test;
using vst2test::FirstDifference;
using vst2test::Int32At;
using vst2test::SpeechLike;

namespace {

using CarelessHost = PluginTest;

TEST_F(CarelessHost, IndicesOutsideEveryListAreRefusedNotThrown) {
  Vst::IComponent& component = *host.Component();
  Vst::IAudioProcessor& processor = *host.Processor();
  auto* units = FUnknownPtr<Vst::IUnitInfo>(host.Controller()).getInterface();
  ASSERT_NE(units, nullptr);
  for (int32 index : {-1, 1, 99, INT_MIN, INT_MAX}) {
    for (Vst::BusDirection dir : {Vst::kInput, Vst::kOutput}) {
      for (Vst::MediaType type : {Vst::kAudio, Vst::kEvent}) {
        Vst::BusInfo bus;
        EXPECT_EQ(component.getBusInfo(type, dir, index, bus), kInvalidArgument) << index;
        EXPECT_EQ(component.activateBus(type, dir, index, true), kInvalidArgument) << index;
      }
      Vst::SpeakerArrangement arrangement = 0;
      EXPECT_EQ(processor.getBusArrangement(dir, index, arrangement), kInvalidArgument) << index;
    }
    Vst::ParameterInfo info;
    EXPECT_EQ(EditController().getParameterInfo(index == 1 ? 13 : index, info), kResultFalse) << index;
    Vst::UnitInfo unit;
    EXPECT_EQ(units->getUnitInfo(index, unit), kResultFalse) << index;
    Vst::ProgramListInfo list;
    EXPECT_EQ(units->getProgramListInfo(index, list), kResultFalse) << index;
    Vst::String128 name = {};
    EXPECT_EQ(units->getProgramName(kPreset, index, name), kResultOk) << "an unknown preset has no name";
    EXPECT_EQ(name[0], 0);
  }
}

TEST_F(CarelessHost, MissingPointersAreRefusedNotWrittenThrough) {
  EXPECT_EQ(host.Component()->queryInterface(Vst::IComponent::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(host.Controller()->queryInterface(Vst::IUnitInfo::iid, nullptr), kInvalidArgument);
  IPluginFactory& factory = *host.Factory();
  EXPECT_EQ(factory.queryInterface(IPluginFactory::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(factory.getFactoryInfo(nullptr), kInvalidArgument);
  const TUID classId = INLINE_UID(0xF2AEE70D, 0x00DE4F4E, 0x4F72726E, 0x5176656C);
  void* object = &object;
  EXPECT_EQ(factory.createInstance(classId, Vst::IComponent::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(factory.createInstance(nullptr, Vst::IComponent::iid, &object), kInvalidArgument);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory.createInstance(classId, nullptr, &object), kInvalidArgument);

  IPlugView* view = EditController().createView(Vst::ViewType::kEditor);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->queryInterface(IPlugView::iid, nullptr), kInvalidArgument);
  view->release();
}

TEST_F(CarelessHost, ARefusedArrangementLeavesTheBusesAsTheyWere) {
  Vst::SpeakerArrangement mono = Vst::SpeakerArr::kMono, stereo = Vst::SpeakerArr::kStereo;
  Vst::SpeakerArrangement twoMono[2] = {mono, mono};
  struct Request {
    Vst::SpeakerArrangement* inputs;
    int32 numIns;
    Vst::SpeakerArrangement* outputs;
    int32 numOuts;
  };
  const Request refused[] = {
      {twoMono, 2, &mono, 1}, {&stereo, 1, &mono, 1}, {nullptr, 0, &mono, 1}, {&mono, -1, &mono, 1}};
  for (const Request& r : refused) {
    EXPECT_EQ(host.Processor()->setBusArrangements(r.inputs, r.numIns, r.outputs, r.numOuts), kResultFalse)
        << r.numIns;
    for (Vst::BusDirection dir : {Vst::kInput, Vst::kOutput}) {
      Vst::BusInfo bus;
      ASSERT_EQ(host.Component()->getBusInfo(Vst::kAudio, dir, 0, bus), kResultOk);
      EXPECT_EQ(bus.channelCount, 2) << r.numIns;
      EXPECT_EQ(Vst::StringConvert::convert(bus.name), dir == Vst::kInput ? "Main Input" : "Output");
      Vst::SpeakerArrangement arrangement = 0;
      ASSERT_EQ(host.Processor()->getBusArrangement(dir, 0, arrangement), kResultOk);
      EXPECT_EQ(arrangement, stereo);
    }
  }
}

// A host's stream that takes at most `room` bytes in all, and then fails or, lying, succeeds.
class FailingStream : public IBStream {
public:
  FailingStream(int32 room, bool reportsSuccess) : mRoom(room), mReportsSuccess(reportsSuccess) {}
  tresult PLUGIN_API write(void*, int32 size, int32* written) override {
    const int32 taken = std::min(size, mRoom);
    mRoom -= taken;
    if (written) *written = taken;
    return taken == size || mReportsSuccess ? kResultOk : kResultFalse;
  }
  tresult PLUGIN_API read(void*, int32, int32* read) override {
    if (read) *read = 0;
    return kResultFalse;
  }
  tresult PLUGIN_API seek(int64, int32, int64*) override { return kResultFalse; }
  tresult PLUGIN_API tell(int64*) override { return kResultFalse; }
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }

private:
  int32 mRoom;
  bool mReportsSuccess;
};

TEST_F(CarelessHost, AStateThatDidNotGoWhollyIntoTheStreamIsNotReportedSaved) {
  for (int32 room : {0, 46, 88, 91}) {
    for (bool lies : {false, true}) {
      FailingStream toComponent(room, lies), toController(room, lies);
      EXPECT_EQ(host.Component()->getState(&toComponent), kResultFalse) << room << " bytes, lies " << lies;
      EXPECT_EQ(EditController().getState(&toController), kResultFalse) << room << " bytes, lies " << lies;
    }
  }
  FailingStream roomy(92, false);
  EXPECT_EQ(host.Component()->getState(&roomy), kResultOk);
}

TEST_F(CarelessHost, BypassSurvivesEverySetUp) {
  ASSERT_TRUE(Started());
  host.QueueParameter(kBypass, 1.0);
  Flush(host);
  host.Stop();
  ASSERT_TRUE(host.Setup(44100.0, kMaxBlock) && host.Start()) << "a change of rate";
  EXPECT_EQ(EditController().getParamNormalized(kBypass), 1.0);
  const Stereo<float> in = SpeechLike(kMaxBlock);
  EXPECT_EQ(FirstDifference(Render(host, in, kMaxBlock), in), "") << "still bypassed";
  const std::vector<std::uint8_t> state = host.GetState();
  ASSERT_EQ(state.size(), 92u);
  EXPECT_EQ(Int32At(state, 88), 1);

  // A song's usual load order: the state, then the set-up.
  brel::Vst3Host loaded;
  ASSERT_TRUE(CreateFromBundle(loaded));
  ASSERT_EQ(loaded.SetState(state), kResultOk);
  ASSERT_TRUE(loaded.Setup(kRate, kMaxBlock) && loaded.Start());
  EXPECT_EQ(loaded.Controller()->getParamNormalized(kBypass), 1.0);
  EXPECT_EQ(loaded.GetState(), state);
}

TEST_F(CarelessHost, ConversionsStayInsideTheRangeWhateverTheyAreGiven) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {1e308, -1e308, inf, -inf, NAN, 2.0, -1.0};
  for (ParamID id = 0; id < static_cast<ParamID>(kNumParams); ++id) {
    const ParamSpec& spec = kBrelvaneParams[id];
    for (double v : values) {
      const double plain = EditController().normalizedParamToPlain(id, v);
      EXPECT_TRUE(plain >= spec.min && plain <= spec.max) << spec.name << " " << v << ": " << plain;
      const double normalized = EditController().plainParamToNormalized(id, v);
      EXPECT_TRUE(normalized >= 0.0 && normalized <= 1.0) << spec.name << " " << v << ": " << normalized;
      const std::string text = host.ParamText(id, v);
      EXPECT_TRUE(text.find("inf") == std::string::npos && text.find("nan") == std::string::npos)
          << spec.name << " " << v << ": " << text;
    }
  }
  for (ParamID id : {kBypass, kPreset}) {
    for (double v : values) {
      const double plain = EditController().normalizedParamToPlain(id, v);
      EXPECT_TRUE(plain >= 0.0 && plain <= 1.0) << id << " " << v << ": " << plain;
      EXPECT_TRUE(std::isfinite(EditController().plainParamToNormalized(id, v))) << id << " " << v;
    }
    double normalized = -1.0;
    for (const char* junk : {"nan", "inf", "1e308"}) {
      if (host.ParamValueOfText(id, junk, normalized)) {
        EXPECT_TRUE(normalized >= 0.0 && normalized <= 1.0) << id << " '" << junk << "'";
      }
    }
  }
}

// Both modules read typed text with the core's one rule: the same texts are refused, and the
// others give the same value.
TEST_F(CarelessHost, TypedTextReadsAsInTheVst2Module) {
  brel::VstHost vst2;
  ASSERT_TRUE(vst2.Load(vst2test::ModulePath())) << vst2.LastError();
  vst2.Open();
  const char* const texts[] = {
      "abc", "",  " ", "nan", "inf", "-inf",  "on",      "off",    "On",  "A",  "B",  "C",   "D",    "E",
      "0",   "1", "2", "3",   "2.7", "-3 dB", "12.5 dB", "150 Hz", "+.5", "5.", "x5", "1e9", "-1e9", "1e999"};
  int compared = 0;
  for (int index = 0; index < kNumParams; ++index) {
    for (const char* text : texts) {
      double vst3Value = -1.0;
      const bool vst3Took = host.ParamValueOfText(static_cast<ParamID>(index), text, vst3Value);
      vst2.SetParameter(index, 0.123f);
      const bool vst2Took = vst2.String2Parameter(index, text);
      const std::string what = std::string(kBrelvaneParams[index].name) + " '" + text + "'";
      ASSERT_EQ(vst3Took, vst2Took) << what;
      if (vst3Took) {
        EXPECT_EQ(static_cast<float>(vst3Value), vst2.GetParameter(index)) << what;
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 270);
}

}  // namespace
