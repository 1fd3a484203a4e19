#include "core/TimeStamp.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::tm Time(int year, int yday, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_yday = yday;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

}  // namespace

TEST(TimeStamp, OffsetOnTheSameDay) {
  EXPECT_EQ(UtcOffsetMinutes(Time(2024, 100, 4, 10, 14, 30), Time(2024, 100, 4, 10, 12, 0)), 150);
  EXPECT_EQ(UtcOffsetMinutes(Time(2024, 100, 4, 10, 7, 0), Time(2024, 100, 4, 10, 12, 0)), -300);
}

TEST(TimeStamp, OffsetAcrossMidnightAndYearEnd) {
  // Local already in the next day.
  EXPECT_EQ(UtcOffsetMinutes(Time(2024, 101, 4, 11, 1, 0), Time(2024, 100, 4, 10, 23, 0)), 120);
  // Local still in the old year, UTC in the new one.
  EXPECT_EQ(UtcOffsetMinutes(Time(2023, 364, 12, 31, 20, 0), Time(2024, 0, 1, 1, 1, 0)), -300);
  // Local in the new year, UTC in the old one.
  EXPECT_EQ(UtcOffsetMinutes(Time(2024, 0, 1, 1, 0, 30), Time(2023, 364, 12, 31, 23, 30)), 60);
}

TEST(TimeStamp, FormatsDateTimeAndSignedOffset) {
  EXPECT_STREQ(FormatTimeStamp(Time(2024, 100, 4, 10, 14, 30), Time(2024, 100, 4, 10, 12, 0)).text,
               "20240410 14:30 +0230");
  EXPECT_STREQ(FormatTimeStamp(Time(2024, 100, 4, 10, 7, 5), Time(2024, 100, 4, 10, 12, 5)).text,
               "20240410 07:05 -0500");
}

TEST(TimeStamp, NowHasTheStampShape) {
  const TimeStamp stamp = LocalTimeStamp();
  ASSERT_EQ(std::strlen(stamp.text), 20u);
  EXPECT_EQ(stamp.text[8], ' ');
  EXPECT_EQ(stamp.text[11], ':');
  EXPECT_TRUE(stamp.text[15] == '+' || stamp.text[15] == '-');
}
