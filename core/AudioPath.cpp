#include "core/AudioPath.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Nesting depth: an entry that calls another (a long block served in slices) stays one scope.
thread_local int gAudioPathDepth = 0;

}  // namespace

AudioPathScope::AudioPathScope() { ++gAudioPathDepth; }

AudioPathScope::~AudioPathScope() { --gAudioPathDepth; }

bool AudioPathScope::IsActive() { return gAudioPathDepth > 0; }

void FailAudioPathContract(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: %s on the audio path\n", file, line, what);
  std::abort();
}
