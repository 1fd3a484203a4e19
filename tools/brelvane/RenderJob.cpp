#include "tools/brelvane/RenderJob.h"

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tools/brelvane/AudioFileWriter.h"
#include "tools/brelvane/LevelMeter.h"
#include "tools/brelvane/OutputFormat.h"
#include "tools/brelvane/ParamProbe.h"
#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/ProgressBar.h"
#include "tools/brelvane/RenderLoop.h"

namespace brel::cmd {
namespace {

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& data, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the state file '" + path + "': " + std::strerror(errno);
    return false;
  }
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read the state file '" + path + "'";
    return false;
  }
  if (data.empty()) {
    error = "the state file '" + path + "' is empty";
    return false;
  }
  return true;
}

double now(const CommandEnv& env) { return env.clock ? env.clock() : 0.0; }

}  // namespace

RenderJob::RenderJob(const CommandLine& commandLine, const CommandEnv& env, std::ostream& out,
                     std::ostream& err)
    : cl_(commandLine),
      env_(env),
      out_(out),
      err_(err),
      output_(commandLine.output),
      state_(commandLine.saveState) {}

bool RenderJob::fail(const std::string& message) {
  error_ = message;
  return false;
}

int RenderJob::run() {
  bool ok = prepareFiles() && preparePlugin() && resolveSettings() && configurePlugin() && render() &&
            saveState() && finish();
  if (port_) {
    if (opened_) port_->close();
    port_.reset();
  }
  if (!ok) {
    output_.discard();
    state_.discard();
    err_ << "brelvane: " << error_ << '\n';
    return interrupted_ ? kExitInterrupted : kExitError;
  }
  if (clipped_ > 0)
    err_ << "brelvane: warning: " << clipped_ << " samples beyond full scale were clipped in '" << cl_.output
         << "' (" << summary_.outputFormat << ")\n";
  printSummary(summary_, out_);
  return kExitOk;
}

// Everything that can be checked without the plug-in, so a bad file name costs nothing.
bool RenderJob::prepareFiles() {
  if (!reader_.open(cl_.input, error_)) return false;
  int channels = reader_.channels();
  if (channels != 1 && channels != 2)
    return fail("'" + cl_.input + "' has " + std::to_string(channels) +
                " channels; only mono and stereo files can be rendered");
  if (!resolveOutputFormat(cl_.output, cl_.format, reader_.format(), channels, reader_.sampleRate(),
                           outputFormat_, error_))
    return false;
  for (const TimedAssignment& t : cl_.changes)
    if (reader_.frames() >= 0 && t.frame > static_cast<std::uint64_t>(reader_.frames()))
      return fail("--at frame " + std::to_string(t.frame) + " lies beyond the end of '" + cl_.input + "' (" +
                  std::to_string(reader_.frames()) + " frames)");
  if (!cl_.loadState.empty() && !readWholeFile(cl_.loadState, loadedState_, error_)) return false;
  if (!output_.create(error_)) return false;
  return cl_.saveState.empty() || state_.create(error_);
}

bool RenderJob::preparePlugin() {
  std::string path;
  if (!locatePlugin(cl_.plugin, env_.executableDir, path, error_)) return false;
  std::string why;
  port_ = env_.loadPlugin ? env_.loadPlugin(path, why) : nullptr;
  if (!port_) return fail("cannot load the plug-in '" + path + "': " + why);
  port_->open();
  opened_ = true;
  return true;
}

bool RenderJob::resolveSettings() {
  ParamTable table = probeParams(*port_);
  for (const ParamAssignment& a : cl_.params) {
    ParamSetting s;
    if (!resolveAssignment(table, a, s, error_)) return false;
    settings_.push_back(s);
  }
  for (const TimedAssignment& t : cl_.changes) {
    ScheduledChange c;
    c.frame = t.frame;
    if (!resolveAssignment(table, t.assignment, c.setting, error_)) return false;
    changes_.push_back(c);
  }
  return true;
}

// The host sequence up to processing: rate, block size, channel layout, state, parameters.
bool RenderJob::configurePlugin() {
  port_->setSampleRate(static_cast<float>(reader_.sampleRate()));
  port_->setBlockSize(cl_.blockSize);
  if (reader_.channels() == 1 && !port_->setChannels(1))
    return fail("the plug-in refused the mono (one-in/one-out) configuration");
  if (!loadedState_.empty() && !port_->setProgramChunk(loadedState_))
    return fail("the plug-in rejected the state in '" + cl_.loadState + "'");
  for (const ParamSetting& s : settings_)
    if (!applySetting(*port_, s, error_)) return false;
  bool wantsDouble = (outputFormat_ & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE;
  if (wantsDouble && !port_->canProcessDouble())
    return fail("the plug-in cannot process 64-bit samples; choose another --format");
  return true;
}

bool RenderJob::render() {
  int channels = reader_.channels();
  AudioFileWriter writer;
  if (!writer.open(output_.fd(), cl_.output, formatForLength(outputFormat_, channels, reader_.frames()),
                   channels, reader_.sampleRate(), cl_.blockSize, error_))
    return false;
  LevelMeter inputMeter(channels, reader_.sampleRate()), outputMeter(channels, reader_.sampleRate());
  double start = now(env_);
  ProgressBar progress(err_, env_.terminal, start);
  RenderLoop loop(*port_, RenderStreams{reader_, writer, inputMeter, outputMeter},
                  RenderControl{progress, [this] { return now(env_); }, env_.interrupted}, channels,
                  cl_.blockSize);
  ChangeSchedule schedule(cl_.blockSize, changes_);
  RenderResult result;
  port_->resume();
  bool ok = loop.run(schedule, (outputFormat_ & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE, result, error_);
  port_->suspend();
  progress.finish();
  interrupted_ = result.interrupted;
  if (!ok) return false;
  if (!writer.close(error_)) return false;
  summary_.frames = result.frames;
  summary_.sampleRate = reader_.sampleRate();
  summary_.channels = channels;
  summary_.inputFormat = describeFormat(reader_.format());
  summary_.outputFormat = describeFormat(outputFormat_);
  summary_.input = {inputMeter.peakDbfs(), inputMeter.loudnessLufs()};
  summary_.output = {outputMeter.peakDbfs(), outputMeter.loudnessLufs()};
  summary_.renderSeconds = now(env_) - start;
  clipped_ = writer.clippedSamples();
  return true;
}

bool RenderJob::saveState() {
  if (cl_.saveState.empty()) return true;
  std::vector<std::uint8_t> chunk = port_->programChunk();
  if (chunk.empty()) return fail("the plug-in returned no state to save");
  return state_.writeAll(chunk.data(), chunk.size(), error_);
}

bool RenderJob::finish() {
  port_->close();
  opened_ = false;
  reader_.close();
  if (!output_.commit(error_)) return false;
  return cl_.saveState.empty() || state_.commit(error_);
}

}  // namespace brel::cmd
