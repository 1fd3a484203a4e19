#include "core/TimeStamp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

int UtcOffsetMinutes(const std::tm& local, const std::tm& utc) {
  int days = local.tm_yday - utc.tm_yday;
  // Across a year boundary the day of the year jumps; the two times are never a day apart.
  if (days > 1) days = -1;
  if (days < -1) days = 1;
  return (local.tm_hour * 60 + local.tm_min) - (utc.tm_hour * 60 + utc.tm_min) + 1440 * days;
}

TimeStamp FormatTimeStamp(const std::tm& local, const std::tm& utc) {
  TimeStamp stamp;
  std::memset(stamp.text, 0, sizeof stamp.text);
  std::size_t n = std::strftime(stamp.text, 32, "%Y%m%d %H:%M ", &local);
  const int offset = UtcOffsetMinutes(local, utc);
  const int magnitude = std::abs(offset);
  std::snprintf(stamp.text + n, sizeof stamp.text - n, "%c%02d%02d", offset < 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return stamp;
}

TimeStamp LocalTimeStamp() {
  // localtime and gmtime share static storage; copy both out under one lock.
  static std::mutex mutex;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
  {
    std::lock_guard<std::mutex> hold(mutex);
    if (const std::tm* l = std::localtime(&now)) local = *l;
    if (const std::tm* u = std::gmtime(&now)) utc = *u;
  }
  return FormatTimeStamp(local, utc);
}
