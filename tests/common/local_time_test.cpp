// Weekdays of dates, the month carried into the year.
#include "common/local_time.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(DayOfWeek, KnownDates) {
  EXPECT_EQ(DayOfWeek(1970, 1, 1), 4);
  EXPECT_EQ(DayOfWeek(2019, 5, 1), 3);
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);
  EXPECT_EQ(DayOfWeek(1600, 1, 1), 6);
  EXPECT_EQ(DayOfWeek(2024, 12, 31), 2);
  EXPECT_EQ(DayOfWeek(2024, 13, 1), DayOfWeek(2025, 1, 1));
  EXPECT_EQ(DayOfWeek(2024, 0, 1), DayOfWeek(2023, 12, 1));
}

}  // namespace
}  // namespace vardo
