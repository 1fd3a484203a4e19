#pragma once
// The per-channel records behind the sample pointers handed to ProcessDouble: whether the host
// feeds the channel, which pointer entry it owns, and a scratch block for conversion.

#include "core/HeapBuffer.h"
#include "core/TextBuffer.h"

struct InputChannel {
  bool connected = false;
  double** slot = nullptr;   // this channel's entry in the input pointer array
  HeapBuffer scratch{4096};  // doubles
  TextBuffer label;

  double* Scratch() const { return static_cast<double*>(scratch.GetData()); }
  int ScratchFrames() const { return scratch.GetSize() / static_cast<int>(sizeof(double)); }
};

struct OutputChannel {
  bool connected = false;
  double** slot = nullptr;           // this channel's entry in the output pointer array
  float* hostFloatOutput = nullptr;  // where WriteOutputsToFloat delivers this call's samples
  HeapBuffer scratch{4096};
  TextBuffer label;

  double* Scratch() const { return static_cast<double*>(scratch.GetData()); }
  int ScratchFrames() const { return scratch.GetSize() / static_cast<int>(sizeof(double)); }
};
