#pragma once
// The local time stamp that marks a plug-in instance's creation in the trace:
// "YYYYMMDD HH:MM +HHMM" (local time and its offset from UTC).

#include <ctime>

struct TimeStamp {
  char text[40];
};

// Minutes that local time is ahead of UTC, from the two broken-down times of one instant.
int UtcOffsetMinutes(const std::tm& local, const std::tm& utc);
// Formats the stamp for the two broken-down times of one instant.
TimeStamp FormatTimeStamp(const std::tm& local, const std::tm& utc);
// The stamp for now.
TimeStamp LocalTimeStamp();
