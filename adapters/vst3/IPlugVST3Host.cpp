// IPlugVST3: what the core asks of the host, through the host's component handler, the views'
// frames and the transport of the last block.

#include "adapters/vst3/IPlugVST3.h"
#include "adapters/vst3/IPlugVST3View.h"

using namespace Steinberg;

void IPlugVST3::OpenHostParamMenu(int paramIndex, int x, int y) {
  FUnknownPtr<Vst::IComponentHandler3> handler(componentHandler);
  IPlugVST3View* view = EditorView();
  if (!handler || !view) return;
  const ParamID id = static_cast<ParamID>(paramIndex);
  if (Vst::IContextMenu* menu = handler->createContextMenu(view, &id)) {
    menu->popup(x, y);
    menu->release();
  }
}

// Requests come from the editor's window, so they concern the view showing it; before any view
// shows it, the first one the host made.
IPlugVST3View* IPlugVST3::EditorView() const {
  if (mAttachedView) return mAttachedView;
  return mViews.empty() ? nullptr : mViews.front();
}

void IPlugVST3::BeginParamEdit(int paramIndex) { beginEdit(static_cast<ParamID>(paramIndex)); }

void IPlugVST3::NotifyHostParamChange(int paramIndex, double normalized) {
  performEdit(static_cast<ParamID>(paramIndex), normalized);
}

void IPlugVST3::EndParamEdit(int paramIndex) { endEdit(static_cast<ParamID>(paramIndex)); }

bool IPlugVST3::IsOfflineRender() {
  ScopedLock lock(*this);
  return processSetup.processMode == Vst::kOffline;
}

// The transport is the one the last block brought; each read takes the lock, under which the
// audio thread stores it.
std::int32_t IPlugVST3::GetHostSamplePosition() {
  ScopedLock lock(*this);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(mProcessContext.projectTimeSamples));
}

double IPlugVST3::GetHostTempo() {
  ScopedLock lock(*this);
  return mProcessContext.tempo;
}

void IPlugVST3::GetHostTimeSignature(int& numerator, int& denominator) {
  ScopedLock lock(*this);
  numerator = mProcessContext.timeSigNumerator;
  denominator = mProcessContext.timeSigDenominator;
}

void IPlugVST3::GetHostTransport(TransportInfo& info) {
  ScopedLock lock(*this);
  const Vst::ProcessContext& context = mProcessContext;
  info.tempo = context.tempo;
  info.samplePosition = static_cast<double>(context.projectTimeSamples);
  info.ppqPosition = context.projectTimeMusic;
  info.lastBarPosition = context.barPositionMusic;
  info.cycleStart = context.cycleStartMusic;
  info.cycleEnd = context.cycleEndMusic;
  info.numerator = context.timeSigNumerator;
  info.denominator = context.timeSigDenominator;
  info.playing = (context.state & Vst::ProcessContext::kPlaying) != 0;
  info.looping = (context.state & Vst::ProcessContext::kCycleActive) != 0;
}

void IPlugVST3::ResizeEditor(int width, int height) {
  IPlugVST3View* view = EditorView();
  if (!GetEditor() || !view) return;
  IPlugFrame* frame = view->GetFrame();
  if (!frame) return;
  view->SetResizePending();
  ViewRect size(0, 0, width, height);
  frame->resizeView(view, &size);
}

void IPlugVST3::SetLatencySamples(int samples) {
  IPlugBase::SetLatencySamples(samples);
  if (componentHandler) componentHandler->restartComponent(Vst::kLatencyChanged);
}
