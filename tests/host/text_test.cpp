#include "host/text.h"

#include <gtest/gtest.h>

#include <limits>

namespace varolen {
namespace {

TEST(Text, IntegerConversionStopsAtTheFirstNonDigit) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"12abc", 12},
      {"", 0},
      {"abc", 0},
      {"  -7", -7},
      {"+5", 5},
      {"7.9", 7},
      {"0x10", 0},
      {"\x01", 0},
      {"99999999999", std::numeric_limits<std::int32_t>::max()},
      {"-99999999999", std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(Text, DoubleConversionGivesZeroForTextThatIsNoFiniteNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0.600000", 0.6}, {"25.0", 25.0}, {" 3", 3.0},  {"-2.5e1x", -25.0}, {"abc", 0.0},
      {"", 0.0},         {"nan", 0.0},   {"inf", 0.0}, {"1e999", 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDouble(c.text), c.value) << '"' << c.text << '"';
}

TEST(Text, CopyAndFormatReportCutTexts) {
  char buffer[6];
  EXPECT_TRUE(CopyText(buffer, sizeof buffer, "abcde"));
  EXPECT_FALSE(CopyText(buffer, sizeof buffer, "abcdef"));
  EXPECT_STREQ(buffer, "abcde");
  EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%d", 12345));
  EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%d", 123456));
  EXPECT_STREQ(buffer, "12345");
}

}  // namespace
}  // namespace varolen
