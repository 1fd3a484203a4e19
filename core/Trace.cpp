#include "core/Trace.h"

#include <cstdarg>
#include <cstdio>

namespace {

void WriteToStandardError(const char* line) {
  std::fputs(line, stderr);
  std::fputc('\n', stderr);
}

BrelTraceSink gSink = WriteToStandardError;

}  // namespace

void BrelSetTraceSink(BrelTraceSink sink) { gSink = sink ? sink : WriteToStandardError; }

void BrelTrace(const char* function, int line, const char* format, ...) {
  char text[1024];
  int n = std::snprintf(text, sizeof text, "%s:%d: ", function ? function : "", line);
  if (n < 0) n = 0;
  if (n < static_cast<int>(sizeof text)) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(text + n, sizeof text - static_cast<std::size_t>(n), format, args);
    va_end(args);
  }
  gSink(text);
}
