#include "tools/brelvane/BrelvaneCommand.h"

#include "tools/brelvane/CommandLine.h"
#include "tools/brelvane/HelpText.h"
#include "tools/brelvane/ParamProbe.h"
#include "tools/brelvane/ParamTablePrinter.h"
#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/RenderJob.h"

namespace brel::cmd {
namespace {

// The lines of a message as one: the VST3 SDK's loader, for one, reports "dlopen failed." and
// the system's reason on a line of its own.
std::string OneLine(const std::string& message) {
  std::string line, piece;
  auto flush = [&] {
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.pop_back();
    if (piece.empty()) return;
    if (!line.empty()) {
      if (line.back() == '.') line.pop_back();
      line += "; ";
    }
    line += piece;
    piece.clear();
  };
  for (char c : message) {
    if (c == '\n' || c == '\r')
      flush();
    else if (!piece.empty() || (c != ' ' && c != '\t'))
      piece += c;
  }
  flush();
  return line;
}

// The defaults are the values read right after creation, before anything else reaches the
// plug-in; the rest of the table is probed once it is open.
int RunParams(const CommandLine& cl, const CommandEnv& env, std::ostream& out, std::ostream& err) {
  std::string path, error;
  if (!LocatePlugin(cl.plugin, env.executableDir, env.homeDir, path, error, cl.api))
    return ReportError(err, error);
  std::unique_ptr<PluginPort> port = env.loadPlugin ? env.loadPlugin(path, error) : nullptr;
  if (!port) return ReportError(err, "cannot load the plug-in '" + path + "': " + error);
  std::vector<float> defaults = ReadNormalizedValues(*port);
  port->Open();
  ParamTable table = ProbeParams(*port, &defaults);
  std::string heading = port->EffectName();
  std::string vendor = port->VendorName();
  if (!vendor.empty()) heading += " by " + vendor;
  out << heading << ", " << table.Size() << " parameters\n\n";
  PrintParamTable(table, out);
  port->Close();
  return kExitOk;
}

}  // namespace

int ReportError(std::ostream& err, const std::string& message) {
  err << "brelvane: " << OneLine(message) << '\n';
  return kExitError;
}

int RunBrelvane(const std::vector<std::string>& args, const CommandEnv& env, std::ostream& out,
                std::ostream& err) {
  CommandLine cl;
  std::string error;
  if (!ParseCommandLine(args, cl, error)) return ReportError(err, error);
  switch (cl.command) {
    case Command::Help: out << (cl.helpTopic ? CommandHelp(*cl.helpTopic) : UsageText()); return kExitOk;
    case Command::Version: out << VersionText(); return kExitOk;
    case Command::Params: return RunParams(cl, env, out, err);
    case Command::Render: return RenderJob(cl, env, out, err).Run();
    case Command::Snapshot:
      if (!env.runSnapshot) return ReportError(err, "this build of the command draws no editor");
      return env.runSnapshot(cl, out, err);
  }
  return kExitError;
}

}  // namespace brel::cmd
