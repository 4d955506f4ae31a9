#include "host/text.h"

#include <gtest/gtest.h>

namespace varolen {
namespace {

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
