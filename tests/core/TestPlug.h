#pragma once
// Test doubles for the core: a plug-in with the product's eleven parameters that records what
// the core tells it, and an editor that records what the core asks of it.

#include <string>
#include <vector>

#include "core/FourCC.h"
#include "core/IEditor.h"
#include "core/IPlugBase.h"

// A core with neutral host operations that remembers the hooks it receives.
class RecordingPlug : public IPlugBase {
public:
  RecordingPlug(int nParams, int nPresets, const char* channels = "1-1 2-2")
      : IPlugBase(nParams, nPresets, channels, "Brelvane", "", "Orrindale", 0x3F99999A,
                  FourCC('Q', 'v', 'e', 'l'), FourCC('O', 'r', 'r', 'n'), ApiId::Vst2) {}

  void OnParamChanged(int paramIndex) override {
    IPlugBase::OnParamChanged(paramIndex);
    changed.push_back(paramIndex);
  }
  void NotifyHostParamChange(int paramIndex, double normalized) override {
    hostNotified.push_back({paramIndex, normalized});
  }
  void OnPresetsChanged() override { ++presetsChanged; }
  bool SendMidiMessage(const MidiMessage& message) override {
    sentMidi.push_back(message);
    return true;
  }

  struct HostNote {
    int index;
    double normalized;
  };
  std::vector<int> changed;
  std::vector<HostNote> hostNotified;
  std::vector<MidiMessage> sentMidi;
  int presetsChanged = 0;
};

// The eleven parameters of the vocal processor, declared as its constructor does, and its
// default preset.
class VocalTestPlug : public RecordingPlug {
public:
  enum {
    kPresComp,
    kLowCut,
    kTighten,
    kBass,
    kCrispy,
    kFinalComp,
    kDbOutput,
    kPower,
    kMode,
    kPLimit,
    kFLimit,
    kNumParams
  };

  explicit VocalTestPlug(int nPresets = 1) : RecordingPlug(kNumParams, nPresets) {
    GetParam(kPresComp)->DefineDouble("Pres Comp", 12.5, -5.0, 25.0, 0.01, "dB");
    GetParam(kLowCut)->DefineDouble("LowCut", 100.0, 20.0, 300.0, 0.01, "Hz");
    GetParam(kTighten)->DefineDouble("Tighten", 53.5, 0.0, 100.0, 0.01, "%");
    GetParam(kBass)->DefineDouble("Bass", 0.0, -10.0, 10.0, 0.01, "dB");
    GetParam(kCrispy)->DefineDouble("Crispy", 0.0, 0.0, 6.0, 0.01, "dB");
    GetParam(kFinalComp)->DefineDouble("Final Comp", 0.0, -25.0, 25.0, 0.01, "dB");
    GetParam(kDbOutput)->DefineDouble("Db Output", 0.0, -30.0, 20.0, 0.01, "dB");
    GetParam(kPower)->DefineBool("Power", true);
    GetParam(kPLimit)->DefineBool("P Limit", true);
    GetParam(kFLimit)->DefineBool("F Limit", false);
    IParamDef* mode = GetParam(kMode);
    mode->DefineInt("Mode", 1, 0, 4, "");
    const char* names[] = {"A", "A", "B", "C", "D"};
    for (int i = 0; i < 5; ++i) mode->AddDisplayText(i, names[i]);
    FillEmptyPresets("-", 1);
    changed.clear();
  }
};

// Shared log of what fake editors were asked to do, readable after an editor is gone.
struct EditorLog {
  struct Apply {
    int index;
    double value;
    bool isNormalized;
  };
  std::vector<Apply> controlValues;  // ApplyPlugValueToControls
  std::vector<Apply> fromPlug;       // ApplyParameterFromPlug
  std::vector<std::string> events;
  int paramsSeenAtDestruction = -1;
};

class FakeEditor : public IEditor {
public:
  FakeEditor(EditorLog& log, IPlugBase* plug = nullptr, int width = 904, int height = 416)
      : mLog(log), mPlug(plug), mWidth(width), mHeight(height) {}
  ~FakeEditor() override {
    mLog.events.push_back("destroyed");
    if (mPlug) {
      // Reads every parameter: the core must still hold them when its editor goes.
      mLog.paramsSeenAtDestruction = 0;
      for (int i = 0; i < mPlug->NParams(); ++i) {
        if (mPlug->GetParam(i)->GetName()[0] || mPlug->GetParam(i)->GetValue() >= 0.0)
          ++mLog.paramsSeenAtDestruction;
      }
    }
  }
  int GetWidth() const override { return mWidth; }
  int GetHeight() const override { return mHeight; }
  void ApplyPlugValueToControls(int paramIndex, double normalized) override {
    mLog.controlValues.push_back({paramIndex, normalized, true});
    mLog.events.push_back("controls");
  }
  void CreateDrawingSurfaces() override { mLog.events.push_back("surfaces"); }
  void ApplyParameterFromPlug(int paramIndex, double value, bool isNormalized) override {
    mLog.fromPlug.push_back({paramIndex, value, isNormalized});
  }

private:
  EditorLog& mLog;
  IPlugBase* mPlug;
  int mWidth;
  int mHeight;
};
