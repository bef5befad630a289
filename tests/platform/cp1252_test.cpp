#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUnicode) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    all += static_cast<char>(b);
    EXPECT_EQ(cp1252::fromUnicode(cp1252::toUnicode(static_cast<unsigned char>(b))), b);
  }
  EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(all)), all);
  EXPECT_EQ(cp1252::fromUnicode(U'\u0100'), -1);
  EXPECT_EQ(cp1252::fromUtf8("a\xE9z\xC3"), "a?z?") << "bytes that are not UTF-8";
}

}  // namespace
}  // namespace tarn
