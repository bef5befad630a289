#include "platform/posix/date_order.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

namespace tarn {
namespace {

TEST(DateOrder, FromFormat) {
  struct Case {
    const char* format;
    std::optional<int> order;
  };
  const Case cases[] = {
      {"%m/%d/%y", 0},
      {"%d.%m.%Y", 1},
      {"%Y-%m-%d", 2},
      {"%D", 0},
      {"%F", 2},
      {"%e/%m/%Y", 1},
      {"%d/%b/%y", 1},
      {"%A, %B %e, %Y", 0},
      {"%-m/%-d/%y", 0},             // glibc flags
      {"%Od.%Om.%EY", 1},            // alternative-digit modifiers
      {"%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", 2},  // multibyte literal text
      {"%C%y-%m-%d", 2},             // century and year are one field
      {"", std::nullopt},
      {"%H:%M", std::nullopt},
      {"%x", std::nullopt},
      {"%m/%d", std::nullopt},       // no year
      {"%d %Y %m", std::nullopt},    // an order that has no number
      {"%%d/%m/%Y", std::nullopt},   // "%%" is a literal percent sign
      {"%d/%m/%Y%", 1},              // a dangling percent sign
  };
  for (const Case& c : cases)
    EXPECT_EQ(dateOrderFromFormat(c.format), c.order) << "format \"" << c.format << "\"";
}

TEST(DateOrder, CLocaleIsMonthDayYear) {
  std::string saved = std::setlocale(LC_TIME, nullptr);
  ASSERT_NE(std::setlocale(LC_TIME, "C"), nullptr);
  EXPECT_EQ(localeDateOrder(), 0);
  std::setlocale(LC_TIME, saved.c_str());
}

}  // namespace
}  // namespace tarn
