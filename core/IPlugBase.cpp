#include "core/IPlugBase.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "core/FixedText.h"
#include "core/TimeStamp.h"
#include "core/Trace.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a "%d" at text (blanks skipped, optional sign); returns where it stopped, or nullptr
// when no number is there. Values beyond 32 bits saturate.
const char* ReadInt(const char* text, int& value) {
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' || *text == '\v')
    ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  if (!IsDigit(*text)) return nullptr;
  long long magnitude = 0;
  for (; IsDigit(*text); ++text) magnitude = magnitude > INT_MAX ? magnitude : magnitude * 10 + (*text - '0');
  if (magnitude > INT_MAX) magnitude = negative ? -(long long)INT_MIN : INT_MAX;
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return text;
}

// Reads one "%d-%d" token; a number that is not there reads as 0.
void ReadChannelPair(const char* token, int& inputs, int& outputs) {
  inputs = 0;
  outputs = 0;
  const char* after = ReadInt(token, inputs);
  if (!after || *after != '-') return;
  ReadInt(after + 1, outputs);
}

template <class Sample>
void CopyThrough(Sample** inputs, int nInputs, Sample** outputs, int nOutputs, int nFrames) {
  if (!outputs || nFrames <= 0) return;
  const std::size_t bytes = static_cast<std::size_t>(nFrames) * sizeof(Sample);
  for (int i = 0; i < nOutputs; ++i) {
    if (!outputs[i]) continue;
    const Sample* in = (inputs && i < nInputs) ? inputs[i] : nullptr;
    if (in) {
      if (in != outputs[i]) std::memmove(outputs[i], in, bytes);
    } else {
      std::memset(outputs[i], 0, bytes);
    }
  }
}

}  // namespace

IPlugBase::IPlugBase(int nParams, int nPresets, const char* channelIOStr, const char* effectName,
                     const char* productName, const char* makerName, std::int32_t versionWord,
                     std::int32_t uniqueId, std::int32_t makerId, ApiId apiId, bool stateChunks,
                     bool isInstrument, bool doesMidi)
    : mUniqueId(uniqueId),
      mMakerId(makerId),
      mVersion(versionWord),
      mApiId(apiId),
      mStateChunks(stateChunks),
      mIsInstrument(isInstrument),
      mDoesMidi(doesMidi) {
  CopyFixedText(mEffectName, effectName);
  CopyFixedText(mProductName, productName);
  CopyFixedText(mMakerName, makerName);
  BREL_TRACE_POINT("IPlugBase::IPlugBase", "%s:%s", mEffectName, LocalTimeStamp().text);

  for (int i = 0; i < nParams; ++i) {
    IParamDef* param = new IParamDef;
    if (!mParams.Add(param)) delete param;
  }
  for (int i = 0; i < nPresets; ++i) {
    PresetSlot* slot = new PresetSlot;
    if (!mPresets.Add(slot)) delete slot;
  }
  ParseChannelIOString(channelIOStr);
}

void IPlugBase::ParseChannelIOString(const char* text) {
  int maxInputs = 0;
  int maxOutputs = 0;
  while (text) {
    ChannelIOConfig* config = new ChannelIOConfig;
    ReadChannelPair(text, config->inputs, config->outputs);
    if (config->inputs > maxInputs) maxInputs = config->inputs;
    if (config->outputs > maxOutputs) maxOutputs = config->outputs;
    if (!mChannelIOConfigs.Add(config)) delete config;
    text = std::strchr(text, ' ');
    if (text) ++text;
  }
  CreateChannels(maxInputs, maxOutputs);
}

void IPlugBase::CreateChannels(int nInputs, int nOutputs) {
  const long long pointerBytes = static_cast<long long>(sizeof(double*));
  if (nInputs * pointerBytes > INT_MAX ||
      !mInputPointers.Resize(nInputs * static_cast<int>(pointerBytes), false))
    nInputs = 0;
  if (nOutputs * pointerBytes > INT_MAX ||
      !mOutputPointers.Resize(nOutputs * static_cast<int>(pointerBytes), false))
    nOutputs = 0;
  for (int i = 0; i < nInputs; ++i) {
    InputChannel* channel = new InputChannel;
    channel->slot = GetInputPointers() + i;
    *channel->slot = nullptr;
    if (!mInputChannels.Add(channel)) delete channel;
  }
  for (int i = 0; i < nOutputs; ++i) {
    OutputChannel* channel = new OutputChannel;
    channel->slot = GetOutputPointers() + i;
    *channel->slot = nullptr;
    if (!mOutputChannels.Add(channel)) delete channel;
  }
}

IPlugBase::~IPlugBase() {
  // The editor goes first, while everything it may still look at is intact.
  delete mEditor;
  mEditor = nullptr;
  mParams.Empty();
  mPresets.Empty();
  mInputChannels.Empty();
  mOutputChannels.Empty();
  mChannelIOConfigs.Empty();
}

void IPlugBase::OnReset() { ScopedLock hold(*this); }

void IPlugBase::OnParamChanged(int paramIndex) { ScopedLock hold(*this); }

void IPlugBase::OnActiveChanged(bool active) { ScopedLock hold(*this); }

void IPlugBase::ProcessDouble(double** inputs, double** outputs, int nFrames) {
  CopyThrough(inputs, NInChannels(), outputs, NOutChannels(), nFrames);
}

void IPlugBase::ProcessSingle(float** inputs, float** outputs, int nFrames) {
  CopyThrough(inputs, NInChannels(), outputs, NOutChannels(), nFrames);
}

void IPlugBase::PassThrough(int nFrames) {
  CopyThrough(GetInputPointers(), NInChannels(), GetOutputPointers(), NOutChannels(), nFrames);
}

void IPlugBase::OnMidiMessage(const MidiMessage& message) { SendMidiMessage(message); }

bool IPlugBase::GetMidiNoteName(int noteNumber, char* name) {
  if (name) name[0] = 0;
  return false;
}

bool IPlugBase::SaveState(StateChunk& chunk) { return SerializeParams(chunk); }

int IPlugBase::LoadState(const StateChunk& chunk, int startPosition) {
  return UnserializeParams(chunk, startPosition);
}

bool IPlugBase::StateMatches(const double* values, int startIndex) const {
  if (!values || startIndex < 0) return false;
  for (int i = 0; i < NParams(); ++i) {
    if (!(std::fabs(GetParam(i)->GetValue() - values[startIndex + i]) < 0.00001)) return false;
  }
  return true;
}

void IPlugBase::SetParamFromEditor(int paramIndex, double normalized) {
  ScopedLock hold(*this);
  IParamDef* param = GetParam(paramIndex);
  if (!param) return;
  param->SetFromNormalized(normalized);
  // The host records what the user did, not the value after step rounding.
  NotifyHostParamChange(paramIndex, normalized);
  OnParamChanged(paramIndex);
}

void IPlugBase::NotifyAllParamsChanged() {
  for (int i = 0; i < NParams(); ++i) OnParamChanged(i);
}

bool IPlugBase::LegalIO(int inputs, int outputs) const {
  bool legal = false;
  for (int i = 0; i < NChannelIOConfigs() && !legal; ++i) {
    const ChannelIOConfig* config = GetChannelIOConfig(i);
    legal = (inputs == -1 || config->inputs == inputs) && (outputs == -1 || config->outputs == outputs);
  }
  BREL_TRACE_POINT("IPlugBase::LegalIO", "%d:%d:%s", inputs, outputs, legal ? "legal" : "illegal");
  return legal;
}

void IPlugBase::AttachEditor(IEditor* editor) {
  if (!editor) return;
  ScopedLock hold(*this);
  for (int i = 0; i < NParams(); ++i) editor->ApplyPlugValueToControls(i, GetParam(i)->GetNormalizedValue());
  editor->CreateDrawingSurfaces();
  if (mEditor != editor) delete mEditor;  // the core owns one editor at a time
  mEditor = editor;
}

void IPlugBase::RefreshEditorParams() {
  if (!mEditor) return;
  for (int i = 0; i < NParams(); ++i) mEditor->ApplyParameterFromPlug(i, GetParam(i)->GetValue(), false);
}
