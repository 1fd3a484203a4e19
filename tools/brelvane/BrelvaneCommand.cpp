#include "tools/brelvane/BrelvaneCommand.h"

#include "tools/brelvane/CommandLine.h"
#include "tools/brelvane/ParamProbe.h"
#include "tools/brelvane/ParamTablePrinter.h"
#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/RenderJob.h"

namespace brel::cmd {
namespace {

int failWith(std::ostream& err, const std::string& message) {
  err << "brelvane: " << message << '\n';
  return kExitError;
}

// The defaults are the values read right after creation, before anything else reaches the
// plug-in; the rest of the table is probed once it is open.
int runParams(const CommandLine& cl, const CommandEnv& env, std::ostream& out, std::ostream& err) {
  std::string path, error;
  if (!locatePlugin(cl.plugin, env.executableDir, path, error)) return failWith(err, error);
  std::unique_ptr<PluginPort> port = env.loadPlugin ? env.loadPlugin(path, error) : nullptr;
  if (!port) return failWith(err, "cannot load the plug-in '" + path + "': " + error);
  std::vector<float> defaults = readNormalizedValues(*port);
  port->open();
  ParamTable table = probeParams(*port, &defaults);
  std::string heading = port->effectName();
  std::string vendor = port->vendorName();
  if (!vendor.empty()) heading += " by " + vendor;
  out << heading << ", " << table.size() << " parameters\n\n";
  printParamTable(table, out);
  port->close();
  return kExitOk;
}

}  // namespace

int runBrelvane(const std::vector<std::string>& args, const CommandEnv& env, std::ostream& out,
                std::ostream& err) {
  CommandLine cl;
  std::string error;
  if (!parseCommandLine(args, cl, error)) return failWith(err, error);
  switch (cl.command) {
    case Command::Help: out << usageText(); return kExitOk;
    case Command::Params: return runParams(cl, env, out, err);
    case Command::Render: return RenderJob(cl, env, out, err).run();
  }
  return kExitError;
}

}  // namespace brel::cmd
