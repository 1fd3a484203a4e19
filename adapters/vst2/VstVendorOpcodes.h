#pragma once
// The plug-in's own requests under effVendorSpecific (index), and the answer that says the
// request was understood. Shared by the module, the host library and the command.
#include "adapters/vst2/VstInterface.h"

// Writes the display text of parameter `value` for the normalized value `opt` into ptr (32
// bytes), without changing the parameter.
constexpr VstInt32 kVendorFormatNormalized = 7;
// Answers kVendorAnswer when parameter `value` moves in steps rather than continuously.
constexpr VstInt32 kVendorIsStepped = 8;
// Writes into ptr (a VstInt32) the samples by which the output lags the input at the plug-in's
// current settings and sample rate, and answers kVendorAnswer; 0 when the plug-in cannot tell.
// A four-character code, unlike the others, so that no host's own request is taken for it.
constexpr VstInt32 kVendorProcessedDelay = 0x50446C79;  // 'PDly'
constexpr VstIntPtr kVendorAnswer = 0xBEEF;
