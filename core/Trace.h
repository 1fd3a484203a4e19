#pragma once
// Diagnostic trace points: BREL_TRACE_POINT(function, format, values...). Without BREL_TRACE the
// macro expands to nothing, arguments included, so shipped modules pay nothing for them.

#ifdef BREL_TRACE
#define BREL_TRACE_POINT(function, ...) BrelTrace(function, __LINE__, __VA_ARGS__)
#else
#define BREL_TRACE_POINT(function, ...) ((void)0)
#endif

// Formats one trace line "function:line: text" and hands it to the sink.
void BrelTrace(const char* function, int line, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Where trace lines go; nullptr restores the default (standard error).
using BrelTraceSink = void (*)(const char* line);
void BrelSetTraceSink(BrelTraceSink sink);
