#include "tools/brelvane/RenderJob.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "core/IPlugBase.h"
#include "tools/brelvane/AudioFileWriter.h"
#include "tools/brelvane/FileChecks.h"
#include "tools/brelvane/LevelMeter.h"
#include "tools/brelvane/OutputFormat.h"
#include "tools/brelvane/ParamProbe.h"
#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/ProgressBar.h"
#include "tools/brelvane/RenderLoop.h"

namespace brel::cmd {
namespace {

// Whether a chunk starts with the core's header (magic and version) rather than with values.
bool HasChunkHeader(const std::vector<std::uint8_t>& chunk) {
  if (chunk.size() < 8) return false;
  const std::uint32_t magic = static_cast<std::uint32_t>(IPlugBase::kChunkMagic);
  return chunk[0] == (magic & 0xFF) && chunk[1] == (magic >> 8 & 0xFF) && chunk[2] == (magic >> 16 & 0xFF) &&
         chunk[3] == (magic >> 24);
}

// A whole-number parameter's value as the plug-in holds it (it truncates toward zero).
int WholeValue(PluginPort& port, const ParamInfo& p) {
  const double v = p.min + static_cast<double>(port.GetParameter(p.index)) * (p.max - p.min);
  return static_cast<int>(std::floor(v + 1e-6));
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
    ReportError(mErr, mError);
    return mInterrupted ? kExitInterrupted : kExitError;
  }
  if (mReader.DeclaredFrames() > static_cast<std::int64_t>(mSummary.frames))
    mErr << "brelvane: warning: '" << mCl.input << "' holds " << mSummary.frames
         << " frames but its header declares " << mReader.DeclaredFrames()
         << "; the file is cut off, and only the frames it holds were rendered\n";
  if (mClipped > 0)
    mErr << "brelvane: warning: " << mClipped << " samples beyond full scale were clipped in '" << mCl.output
         << "' (" << mSummary.outputFormat << ")\n";
  if (mCl.align && mDelay < 0)
    mErr << "brelvane: warning: the plug-in does not tell its delay, so --align could not compensate it\n";
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
  if (mReader.SampleRate() < kMinSampleRate || mReader.SampleRate() > kMaxSampleRate)
    return Fail("'" + mCl.input + "' says its sample rate is " + std::to_string(mReader.SampleRate()) +
                " Hz; only rates from " + std::to_string(kMinSampleRate) + " to " +
                std::to_string(kMaxSampleRate) + " Hz can be rendered");
  if (!ResolveOutputFormat(mCl.output, mCl.format, mReader.Format(), channels, mReader.SampleRate(),
                           mOutputFormat, mError))
    return false;
  for (const TimedAssignment& t : mCl.changes)
    if (mReader.Frames() >= 0 && t.frame > static_cast<std::uint64_t>(mReader.Frames()))
      return Fail("--at frame " + std::to_string(t.frame) + " lies beyond the end of '" + mCl.input + "' (" +
                  std::to_string(mReader.Frames()) + " frames)");
  if (!CheckDistinctFiles()) return false;
  if (!mCl.loadState.empty() && !ReadStateFile(mCl.loadState, mLoadedState, mError)) return false;
  if (!mOutput.Create(mError, PendingFile::Access::Seeking)) return false;
  return mCl.saveState.empty() || mState.Create(mError);
}

// Reading one of them while writing another would destroy it (the output and the state are put in
// place by a rename that replaces whatever was there), so no two may be the same file, under any name.
bool RenderJob::CheckDistinctFiles() {
  struct Named {
    const char* role;
    const std::string& path;
  };
  const Named files[] = {{"input", mCl.input}, {"output", mCl.output}, {"--save-state file", mCl.saveState}};
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b)
      if (!files[a].path.empty() && !files[b].path.empty() && SameFile(files[a].path, files[b].path))
        return Fail(std::string("the ") + files[b].role + " '" + files[b].path +
                    "' is the same file as the " + files[a].role + " '" + files[a].path +
                    "'; give each its own file");
  return true;
}

bool RenderJob::PreparePlugin() {
  std::string path;
  if (!LocatePlugin(mCl.plugin, mEnv.executableDir, mEnv.homeDir, path, mError, mCl.api)) return false;
  std::string why;
  mPort = mEnv.loadPlugin ? mEnv.loadPlugin(path, why) : nullptr;
  if (!mPort) return Fail("cannot load the plug-in '" + path + "': " + why);
  mPort->Open();
  mOpened = true;
  return true;
}

bool RenderJob::ResolveSettings() {
  mTable = ProbeParams(*mPort);
  const ParamTable& table = mTable;
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

// The plug-in restores whatever bytes it is given as best it can, so a file that is not one of
// its states (an audio file, a state of something else) is refused here, before it changes anything:
// it must be the plug-in's own program chunk (same header, same size) or, for a plug-in whose chunk
// has a header, the values alone without it.
bool RenderJob::CheckStateShape() {
  const std::vector<std::uint8_t> own = mPort->ProgramChunk();
  const std::size_t size = mLoadedState.size();
  const std::string what = "'" + mCl.loadState + "' is not a state of this plug-in: ";
  if (!HasChunkHeader(own)) {
    if (size == own.size()) return true;
    return Fail(what + std::to_string(size) + " bytes, where its state is " + std::to_string(own.size()));
  }
  if (HasChunkHeader(mLoadedState)) {
    if (size == own.size() && std::equal(own.begin(), own.begin() + 8, mLoadedState.begin())) return true;
    if (!std::equal(own.begin() + 4, own.begin() + 8, mLoadedState.begin() + 4))
      return Fail(what + "it has the program chunk header with another format version");
    return Fail(what + "a program chunk with its header of " + std::to_string(size) +
                " bytes, where the plug-in's is " + std::to_string(own.size()));
  }
  if (size == own.size() - 8) return true;
  return Fail(what + "it has no program chunk header, and " + std::to_string(size) +
              " bytes are not a block of values without one (" + std::to_string(own.size() - 8) + " bytes)");
}

// The host sequence up to processing: rate, block size, channel layout, state, parameters.
bool RenderJob::ConfigurePlugin() {
  mPort->SetSampleRate(static_cast<float>(mReader.SampleRate()));
  mPort->SetBlockSize(mCl.blockSize);
  if (mReader.Channels() == 1 && !mPort->SetChannels(1))
    return Fail("the plug-in refused the mono (one-in/one-out) configuration");
  if (!mLoadedState.empty()) {
    if (!CheckStateShape()) return false;
    if (!mPort->SetProgramChunk(mLoadedState))
      return Fail("the plug-in rejected the state in '" + mCl.loadState + "'");
  }
  for (const ParamSetting& s : mSettings)
    if (!ApplySetting(*mPort, s, mError)) return false;
  bool wantsDouble = (mOutputFormat & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE;
  if (wantsDouble && !mPort->CanProcessDouble())
    return Fail("the plug-in cannot process 64-bit samples; choose another --format");
  return true;
}

// The plug-in tells the delay of the settings it holds, which a command of another build could not
// know. "Power" only explains a delay of none in the summary.
void RenderJob::FindDelay() {
  mDelay = mPort->ProcessedDelay();
  std::string ignored;
  if (const ParamInfo* power = mTable.Find("Power", ignored)) mPowerOn = WholeValue(*mPort, *power) >= 1;
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
  RenderTiming timing;
  // An empty input has nothing for a warm-up to prepare.
  if (mReader.Frames() > 0)
    timing.prerollFrames =
        static_cast<std::uint64_t>(std::llround(mCl.prerollSeconds * mReader.SampleRate()));
  // A change at frame 0 is part of what the input meets.
  timing.alignFrames = [this] {
    FindDelay();
    return mCl.align && mDelay > 0 ? mDelay : 0;
  };
  mPort->Resume();
  bool ok =
      loop.Run(schedule, (mOutputFormat & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE, timing, result, mError);
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
  mSummary.delayFrames = mDelay;
  mSummary.delayCompensated = mCl.align && mDelay >= 0;
  mSummary.powerOn = mPowerOn;
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
