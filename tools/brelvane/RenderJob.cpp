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

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data, std::string& error) {
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

double Now(const CommandEnv& env) { return env.clock ? env.clock() : 0.0; }

}  // namespace

RenderJob::RenderJob(const CommandLine& commandLine, const CommandEnv& env, std::ostream& out,
                     std::ostream& err)
    : mCl(commandLine),
      mEnv(env),
      mOut(out),
      mErr(err),
      mOutput(commandLine.output),
      mState(commandLine.saveState) {}

bool RenderJob::Fail(const std::string& message) {
  mError = message;
  return false;
}

int RenderJob::Run() {
  bool ok = PrepareFiles() && PreparePlugin() && ResolveSettings() && ConfigurePlugin() && Render() &&
            SaveState() && Finish();
  if (mPort) {
    if (mOpened) mPort->Close();
    mPort.reset();
  }
  if (!ok) {
    mOutput.Discard();
    mState.Discard();
    mErr << "brelvane: " << mError << '\n';
    return mInterrupted ? kExitInterrupted : kExitError;
  }
  if (mClipped > 0)
    mErr << "brelvane: warning: " << mClipped << " samples beyond full scale were clipped in '" << mCl.output
         << "' (" << mSummary.outputFormat << ")\n";
  PrintSummary(mSummary, mOut);
  return kExitOk;
}

// Everything that can be checked without the plug-in, so a bad file name costs nothing.
bool RenderJob::PrepareFiles() {
  if (!mReader.Open(mCl.input, mError)) return false;
  int channels = mReader.Channels();
  if (channels != 1 && channels != 2)
    return Fail("'" + mCl.input + "' has " + std::to_string(channels) +
                " channels; only mono and stereo files can be rendered");
  if (!ResolveOutputFormat(mCl.output, mCl.format, mReader.Format(), channels, mReader.SampleRate(),
                           mOutputFormat, mError))
    return false;
  for (const TimedAssignment& t : mCl.changes)
    if (mReader.Frames() >= 0 && t.frame > static_cast<std::uint64_t>(mReader.Frames()))
      return Fail("--at frame " + std::to_string(t.frame) + " lies beyond the end of '" + mCl.input + "' (" +
                  std::to_string(mReader.Frames()) + " frames)");
  if (!mCl.loadState.empty() && !ReadWholeFile(mCl.loadState, mLoadedState, mError)) return false;
  if (!mOutput.Create(mError)) return false;
  return mCl.saveState.empty() || mState.Create(mError);
}

bool RenderJob::PreparePlugin() {
  std::string path;
  if (!LocatePlugin(mCl.plugin, mEnv.executableDir, path, mError, mCl.api)) return false;
  std::string why;
  mPort = mEnv.loadPlugin ? mEnv.loadPlugin(path, why) : nullptr;
  if (!mPort) return Fail("cannot load the plug-in '" + path + "': " + why);
  mPort->Open();
  mOpened = true;
  return true;
}

bool RenderJob::ResolveSettings() {
  ParamTable table = ProbeParams(*mPort);
  for (const ParamAssignment& a : mCl.params) {
    ParamSetting s;
    if (!ResolveAssignment(table, a, s, mError)) return false;
    mSettings.push_back(s);
  }
  for (const TimedAssignment& t : mCl.changes) {
    ScheduledChange c;
    c.frame = t.frame;
    if (!ResolveAssignment(table, t.assignment, c.setting, mError)) return false;
    mChanges.push_back(c);
  }
  return true;
}

// The host sequence up to processing: rate, block size, channel layout, state, parameters.
bool RenderJob::ConfigurePlugin() {
  mPort->SetSampleRate(static_cast<float>(mReader.SampleRate()));
  mPort->SetBlockSize(mCl.blockSize);
  if (mReader.Channels() == 1 && !mPort->SetChannels(1))
    return Fail("the plug-in refused the mono (one-in/one-out) configuration");
  if (!mLoadedState.empty() && !mPort->SetProgramChunk(mLoadedState))
    return Fail("the plug-in rejected the state in '" + mCl.loadState + "'");
  for (const ParamSetting& s : mSettings)
    if (!ApplySetting(*mPort, s, mError)) return false;
  bool wantsDouble = (mOutputFormat & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE;
  if (wantsDouble && !mPort->CanProcessDouble())
    return Fail("the plug-in cannot process 64-bit samples; choose another --format");
  return true;
}

bool RenderJob::Render() {
  int channels = mReader.Channels();
  AudioFileWriter writer;
  if (!writer.Open(mOutput.Fd(), mCl.output, FormatForLength(mOutputFormat, channels, mReader.Frames()),
                   channels, mReader.SampleRate(), mCl.blockSize, mError))
    return false;
  LevelMeter inputMeter(channels, mReader.SampleRate()), outputMeter(channels, mReader.SampleRate());
  double start = Now(mEnv);
  ProgressBar progress(mErr, mEnv.terminal, start);
  RenderLoop loop(*mPort, RenderStreams{mReader, writer, inputMeter, outputMeter},
                  RenderControl{progress, [this] { return Now(mEnv); }, mEnv.interrupted}, channels,
                  mCl.blockSize);
  ChangeSchedule schedule(mCl.blockSize, mChanges);
  RenderResult result;
  mPort->Resume();
  bool ok = loop.Run(schedule, (mOutputFormat & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE, result, mError);
  mPort->Suspend();
  progress.Finish();
  mInterrupted = result.interrupted;
  if (!ok) return false;
  if (!writer.Close(mError)) return false;
  mSummary.frames = result.frames;
  mSummary.sampleRate = mReader.SampleRate();
  mSummary.channels = channels;
  mSummary.inputFormat = DescribeFormat(mReader.Format());
  mSummary.outputFormat = DescribeFormat(mOutputFormat);
  mSummary.input = {inputMeter.PeakDbfs(), inputMeter.LoudnessLufs()};
  mSummary.output = {outputMeter.PeakDbfs(), outputMeter.LoudnessLufs()};
  mSummary.renderSeconds = Now(mEnv) - start;
  mClipped = writer.ClippedSamples();
  return true;
}

bool RenderJob::SaveState() {
  if (mCl.saveState.empty()) return true;
  std::vector<std::uint8_t> chunk = mPort->ProgramChunk();
  if (chunk.empty()) return Fail("the plug-in returned no state to save");
  return mState.WriteAll(chunk.data(), chunk.size(), mError);
}

bool RenderJob::Finish() {
  mPort->Close();
  mOpened = false;
  mReader.Close();
  if (!mOutput.Commit(mError)) return false;
  return mCl.saveState.empty() || mState.Commit(mError);
}

}  // namespace brel::cmd
