#include "tools/brelvane/Snapshot.h"

#include <memory>

#include "editor/EditorSnapshot.h"
#include "editor/VuControl.h"
#include "engine/Brelvane.h"
#include "raster/PngEncode.h"
#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/CommandLine.h"
#include "tools/brelvane/InProcessParamPort.h"
#include "tools/brelvane/ParamProbe.h"
#include "tools/brelvane/PendingFile.h"
#include "tools/brelvane/ValueResolver.h"

namespace brel::cmd {

namespace {

// The values go in as render hands them to a module, through the same table and resolver, so
// both commands take the same values and refuse the rest with the same words. All are resolved
// before any is set.
bool ApplyParams(IPlugBase& plug, const std::vector<ParamAssignment>& params, std::string& error) {
  InProcessParamPort port(plug);
  const ParamTable table = ProbeParams(port);
  std::vector<ParamSetting> settings(params.size());
  for (std::size_t i = 0; i < params.size(); ++i)
    if (!ResolveAssignment(table, params[i], settings[i], error)) return false;
  for (const ParamSetting& setting : settings)
    if (!ApplySetting(port, setting, error)) return false;
  return true;
}

}  // namespace

int RunSnapshot(const CommandLine& request, std::ostream& out, std::ostream& err) {
  std::string error;
  std::unique_ptr<Brelvane> plug(static_cast<Brelvane*>(MakePlug(SnapshotInstanceInfo{})));
  IGraphics* graphics = plug->Graphics();
  if (!graphics) return ReportError(err, "the plug-in built no editor");
  if (!ApplyParams(*plug, request.params, error)) return ReportError(err, error);
  // One short block of silence: the engine takes the values and sets the meters' lamps and mode.
  plug->SetSampleRateFromHost(48000.0);
  plug->NotifyAllParamsChanged();
  {
    double silence[2][SnapshotAdapter::kBlock] = {};
    double processed[2][SnapshotAdapter::kBlock] = {};
    double* in[2] = {silence[0], silence[1]};
    double* outputs[2] = {processed[0], processed[1]};
    IPlugBase::ScopedLock lock(*plug);
    plug->ProcessDoubleBlock(in, outputs, SnapshotAdapter::kBlock);
  }
  if (request.meters) {
    const_cast<MeterFeed&>(plug->PresMeter()).SetLevel(request.meters->pres);
    const_cast<MeterFeed&>(plug->FinalMeter()).SetLevel(request.meters->final);
  }
  graphics->SetHostScale(request.scale);
  DrawWholeEditor(*graphics, VuControl::kLampFadeFrames);
  std::vector<unsigned char> png;
  LICE_IBitmap* picture = graphics->ScreenBitmap();
  if (!picture || !EncodePngImage(*picture, png))
    return ReportError(err, "cannot encode the picture for '" + request.output + "'");
  PendingFile file(request.output);
  if (!file.Create(error) || !file.WriteAll(png.data(), png.size(), error) || !file.Commit(error))
    return ReportError(err, error);
  out << request.output << ": " << picture->Width() << " x " << picture->Height() << "\n";
  return kExitOk;
}

}  // namespace brel::cmd
