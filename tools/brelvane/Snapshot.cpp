#include "tools/brelvane/Snapshot.h"

#include <cstdlib>
#include <memory>
#include <strings.h>

#include "editor/EditorSnapshot.h"
#include "editor/VuControl.h"
#include "engine/Brelvane.h"
#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/PendingFile.h"
#include "tools/brelvane/linux/PngWriter.h"

namespace brel::cmd {

namespace {

struct SnapshotRequest {
  std::string output;
  std::vector<std::pair<std::string, std::string>> params;
  bool meters = false;
  double pres = 0.0;
  double final = 0.0;
};

bool ParseLevel(const std::string& text, double& level) {
  if (text.empty()) return false;
  char* end = nullptr;
  level = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && level >= 0.0 && level <= 1000.0;
}

bool Parse(const std::vector<std::string>& args, SnapshotRequest& request, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--param" || arg == "--meters") {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      if (arg == "--param") {
        const std::size_t eq = value.find('=');
        if (eq == std::string::npos || eq == 0) {
          error = "--param needs NAME=VALUE, got '" + value + "'";
          return false;
        }
        request.params.emplace_back(value.substr(0, eq), value.substr(eq + 1));
      } else {
        const std::size_t comma = value.find(',');
        if (comma == std::string::npos || !ParseLevel(value.substr(0, comma), request.pres) ||
            !ParseLevel(value.substr(comma + 1), request.final)) {
          error =
              "--meters needs two linear levels PRES,FINAL from 0 to 1000 (1.0 is the clip point), got '" +
              value + "'";
          return false;
        }
        request.meters = true;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option '" + arg + "'";
      return false;
    } else if (request.output.empty()) {
      request.output = arg;
    } else {
      error = "snapshot takes one output file, got a second one: '" + arg + "'";
      return false;
    }
  }
  if (request.output.empty()) {
    error =
        "snapshot needs an output file: brelvane snapshot OUT.png [--param NAME=VALUE]... "
        "[--meters PRES,FINAL]";
    return false;
  }
  return true;
}

// A parameter's name (any case) or its index.
int FindParam(IPlugBase& plug, const std::string& name) {
  if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos && name.size() < 4) {
    const int index = std::atoi(name.c_str());
    return index < plug.NParams() ? index : -1;
  }
  for (int i = 0; i < plug.NParams(); ++i) {
    if (strcasecmp(plug.GetParam(i)->GetName(), name.c_str()) == 0) return i;
  }
  return -1;
}

}  // namespace

int RunSnapshot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  SnapshotRequest request;
  std::string error;
  if (!Parse(args, request, error)) return ReportError(err, error);
  std::unique_ptr<Brelvane> plug(static_cast<Brelvane*>(MakePlug(SnapshotInstanceInfo{})));
  IGraphics* graphics = plug->Graphics();
  if (!graphics) return ReportError(err, "the plug-in built no editor");
  // Values go in as a host's text would: the parameter and the editor's mailbox both see them.
  for (const auto& [name, value] : request.params) {
    const int index = FindParam(*plug, name);
    if (index < 0) return ReportError(err, "--param " + name + ": no such parameter");
    // A number is also taken for a parameter shown by texts ("Mode=0", "Power=1").
    double number = 0.0;
    char* end = nullptr;
    number = std::strtod(value.c_str(), &end);
    const bool isNumber = !value.empty() && end && *end == '\0';
    const bool taken =
        plug->SetParamFromHostText(index, value.c_str()) ||
        (isNumber && plug->SetParamFromHost(index, plug->GetParam(index)->ToNormalized(number)));
    if (!taken) return ReportError(err, "--param " + name + "=" + value + ": not a value of " + name);
  }
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
    const_cast<MeterFeed&>(plug->PresMeter()).SetLevel(request.pres);
    const_cast<MeterFeed&>(plug->FinalMeter()).SetLevel(request.final);
  }
  DrawWholeEditor(*graphics, VuControl::kLampFadeFrames);
  std::vector<unsigned char> png;
  if (!graphics->DrawBitmap() || !EncodePng(*graphics->DrawBitmap(), png))
    return ReportError(err, "cannot encode the picture for '" + request.output + "'");
  PendingFile file(request.output);
  if (!file.Create(error) || !file.WriteAll(png.data(), png.size(), error) || !file.Commit(error))
    return ReportError(err, error);
  out << request.output << ": " << graphics->GetWidth() << " x " << graphics->GetHeight() << "\n";
  return kExitOk;
}

}  // namespace brel::cmd
