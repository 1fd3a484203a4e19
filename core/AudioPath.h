#pragma once
// The audio path's contract: while a processing entry runs, nothing allocates and no lock but the
// plug-in lock is taken. The processing entries open an AudioPathScope on their thread; code that
// allocates or takes another lock states BREL_EXPECT_OFF_AUDIO_PATH(), which aborts with a message
// in every build that keeps assertions (all our trees) and costs nothing where NDEBUG is set.

class AudioPathScope {
public:
  AudioPathScope();
  ~AudioPathScope();
  AudioPathScope(const AudioPathScope&) = delete;
  AudioPathScope& operator=(const AudioPathScope&) = delete;

  // True while the calling thread is inside a processing entry.
  static bool IsActive();
};

// Reports the broken contract (what was attempted, where) and aborts.
[[noreturn]] void FailAudioPathContract(const char* what, const char* file, int line);

#ifdef NDEBUG
#define BREL_EXPECT_OFF_AUDIO_PATH(what) ((void)0)
#else
#define BREL_EXPECT_OFF_AUDIO_PATH(what) \
  (AudioPathScope::IsActive() ? FailAudioPathContract(what, __FILE__, __LINE__) : (void)0)
#endif
