// IPlugBase: presets and the state chunks handed to and taken from a host.
//
// Program chunk: magic, version, then the parameter block (each parameter's plain value as a
// little-endian double, in index order, no count). Bank chunk: magic, version, then per preset
// slot its name (32-bit length and bytes), an initialized byte and, when initialized, the slot's
// stored parameter block.

#include <cstdio>
#include <cstring>

#include "core/FixedText.h"
#include "core/IPlugBase.h"
#include "core/TextBuffer.h"
#include "core/Trace.h"

namespace {

const char kUserPresetName[] = "user preset";

}  // namespace

bool IPlugBase::BeginStateChunk(StateChunk& chunk) {
  chunk.Clear();
  return chunk.AppendInt32(kChunkMagic) >= 0 && chunk.AppendInt32(kChunkVersion) >= 0;
}

std::int32_t IPlugBase::ReadChunkHeader(const StateChunk& chunk, int& position) {
  std::int32_t magic = 0;
  // Without the magic the chunk is a parameter block from before versioning.
  if (chunk.ReadInt32(magic, position) < 0 || magic != kChunkMagic) return 0;
  std::int32_t version = 0;
  const int afterVersion = chunk.ReadInt32(version, position + 4);
  position = afterVersion;
  return afterVersion < 0 ? 0 : version;
}

bool IPlugBase::SerializeParams(StateChunk& chunk) {
  ScopedLock hold(*this);
  for (int i = 0; i < NParams(); ++i) {
    const IParamDef* param = GetParam(i);
    BREL_TRACE_POINT("IPlugBase::SerializeParams", "%d %s %f", i, param->GetName(), param->GetValue());
    if (chunk.AppendDouble(param->GetValue()) < 0) return false;
  }
  return true;
}

int IPlugBase::UnserializeParams(const StateChunk& chunk, int position) {
  ScopedLock hold(*this);
  for (int i = 0; i < NParams() && position >= 0; ++i) {
    IParamDef* param = GetParam(i);
    BREL_TRACE_POINT("IPlugBase::UnserializeParams", "%d %s %f", i, param->GetName(), param->GetValue());
    double value = 0.0;
    position = chunk.ReadDouble(value, position);
    // The first parameter the chunk has no bytes for gets 0.0, clamped into its range.
    param->SetValue(position < 0 ? 0.0 : value);
  }
  NotifyAllParamsChanged();
  return position;
}

bool IPlugBase::SerializePresets(StateChunk& chunk) {
  for (int i = 0; i < NPresets(); ++i) {
    const PresetSlot* slot = GetPreset(i);
    if (chunk.AppendString(slot->name) < 0) return false;
    BREL_TRACE_POINT("IPlugBase::SerializePresets", "%d %s", i, slot->name);
    if (chunk.AppendBool(slot->initialized) < 0) return false;
    if (slot->initialized && chunk.AppendChunk(slot->state) < 0) return false;
  }
  return true;
}

int IPlugBase::UnserializePresets(const StateChunk& chunk, int position) {
  TextBuffer name;  // one buffer for all slots: an unreadable name repeats the one before
  for (int i = 0; i < NPresets() && position >= 0; ++i) {
    PresetSlot& slot = *mPresets.Get(i);
    position = chunk.ReadString(name, position);
    SetPresetName(slot, name.Get());
    BREL_TRACE_POINT("IPlugBase::UnserializePresets", "%d %s", i, slot.name);
    const bool wasInitialized = slot.initialized;
    if (position >= 0 && position < chunk.GetSize()) {
      position = chunk.ReadBool(slot.initialized, position);
    } else {
      position = -1;
    }
    if (slot.initialized && position >= 0) {
      position = LoadState(chunk, position);
      if (position >= 0) {
        // Keep the values just loaded, written in this plug-in's own current layout.
        slot.state.Clear();
        SaveState(slot.state);
      } else {
        // No values arrived for the slot: an initialized slot must hold a whole parameter
        // block, or the next bank written would lose its layout.
        slot.initialized = wasInitialized;
      }
    }
  }
  LoadPreset(mCurrentPresetIndex);
  return position;
}

void IPlugBase::ModifyCurrentPreset(const char* newName) {
  PresetSlot* slot = mPresets.Get(mCurrentPresetIndex);
  if (!slot) return;
  slot->state.Clear();
  BREL_TRACE_POINT("IPlugBase::ModifyCurrentPreset", "%d %s", mCurrentPresetIndex, slot->name);
  SaveState(slot->state);
  if (newName && newName[0]) SetPresetName(*slot, newName);
}

bool IPlugBase::LoadPreset(int index) {
  PresetSlot* slot = mPresets.Get(index);
  if (!slot) return false;
  bool success;
  if (slot->initialized) {
    success = LoadState(slot->state, 0) >= 0;
  } else {
    // A slot used for the first time takes the live values and a fresh "user preset N" name.
    slot->initialized = true;
    int userPresets = 0;
    for (int i = 0; i < NPresets(); ++i) {
      if (std::strstr(GetPreset(i)->name, kUserPresetName)) ++userPresets;
    }
    std::snprintf(slot->name, sizeof slot->name, "%s %d", kUserPresetName, userPresets + 1);
    slot->state.Clear();
    success = SaveState(slot->state);
  }
  if (success) {
    mCurrentPresetIndex = index;
    OnPresetsChanged();
    RefreshEditorParams();
  }
  return success;
}

const char* IPlugBase::PresetName(int index) const {
  const PresetSlot* slot = GetPreset(index);
  return slot ? slot->name : "";
}

void IPlugBase::FillEmptyPresets(const char* name, int count) {
  for (int n = 0; n < count; ++n) {
    PresetSlot* empty = nullptr;
    for (int i = 0; i < NPresets() && !empty; ++i) {
      if (!GetPreset(i)->initialized) empty = mPresets.Get(i);
    }
    if (!empty) return;
    empty->initialized = true;
    SetPresetName(*empty, name ? name : "Empty");
    empty->state.Clear();
    SaveState(empty->state);
  }
}

bool IPlugBase::SaveProgramChunk(StateChunk& chunk) { return BeginStateChunk(chunk) && SaveState(chunk); }

bool IPlugBase::SaveBankChunk(StateChunk& chunk) {
  if (!BeginStateChunk(chunk)) return false;
  ModifyCurrentPreset();  // the current slot takes the live values before the bank is written
  return SerializePresets(chunk);
}

int IPlugBase::LoadChunk(const StateChunk& chunk, bool isBank) {
  int position = 0;
  const std::int32_t version = ReadChunkHeader(chunk, position);
  if (isBank && version >= kChunkVersion) return UnserializePresets(chunk, position);
  // A program, or a bank from before presets were stored: one parameter block.
  const int result = LoadState(chunk, position);
  ModifyCurrentPreset();
  return result;
}

void IPlugBase::SetPresetName(PresetSlot& slot, const char* name) { CopyFixedText(slot.name, name); }
