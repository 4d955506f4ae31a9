// The binding file's option sections rewritten in place: only the options'
// lines change, every other byte stays, line ends as the file has them.
#include "host/sections.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace varolen {
namespace {

std::string Rewrite(const std::string& file) {
  static const char* const kMotion[] = {"LevelHead", "Touchdown"};
  static const char* const kMotionValues[] = {"0.5", "1"};
  static const char* const kTracker[] = {"Yaw"};
  static const char* const kTrackerValues[] = {"-1"};
  const SectionOptions sections[] = {{"[Motion]", kMotion, kMotionValues, 2},
                                     {"[HeadTracker]", kTracker, kTrackerValues, 1}};
  std::FILE* out = std::tmpfile();
  EXPECT_TRUE(RewriteSections(file.data(), file.size(), sections, 2, out));
  std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), out), text.size());
  std::fclose(out);
  return text;
}

TEST(SectionsFile, OnlyTheOptionsLinesChange) {
  const struct {
    const char* what;
    std::string before, after;
  } cases[] = {
      {"set in place, CR LF kept, comments and keys untouched",
       "[Keyboard]\r\nLevelHead=F1 // a key, not an option\r\n\r\n[HeadTracker]\r\n// scales\r\nYAW = 2 // "
       "mine\r\n"
       "Pitch=1\r\n\r\n[Motion]\r\n// LevelHead=0\r\nlevelhead=0.2\r\nTouchdown=0\r\n",
       "[Keyboard]\r\nLevelHead=F1 // a key, not an option\r\n\r\n[HeadTracker]\r\n// scales\r\nYaw=-1\r\n"
       "Pitch=1\r\n\r\n[Motion]\r\n// LevelHead=0\r\nLevelHead=0.5\r\nTouchdown=1\r\n"},
      {"missing options after the last setting, before the comments; LF kept",
       "[Motion]\nLevelHead=1\n\n// about the options\n[HeadTracker]\nYaw=3\n",
       "[Motion]\nLevelHead=0.5\nTouchdown=1\n\n// about the options\n[HeadTracker]\nYaw=-1\n"},
      {"a missing section at the end, the last line ended first", "[Keyboard]\nToggleFlyBy=F1",
       "[Keyboard]\nToggleFlyBy=F1\n\n[Motion]\nLevelHead=0.5\nTouchdown=1\n\n[HeadTracker]\nYaw=-1\n"},
      {"a section that comes twice is set in both, completed in the first",
       "[Motion]\r\n\r\n[Motion]\r\nTouchdown=2\r\n[HeadTracker]\r\nYaw=1",
       "[Motion]\r\nLevelHead=0.5\r\nTouchdown=1\r\n\r\n[Motion]\r\nTouchdown=1\r\n[HeadTracker]\r\nYaw=-1"},
      {"the last setting without its line end", "[Motion]\r\nLevelHead=1",
       "[Motion]\r\nLevelHead=0.5\r\nTouchdown=1\r\n\r\n[HeadTracker]\r\nYaw=-1\r\n"},
      {"an empty file", "", "[Motion]\r\nLevelHead=0.5\r\nTouchdown=1\r\n\r\n[HeadTracker]\r\nYaw=-1\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Rewrite(c.before), c.after) << c.what;
}

}  // namespace
}  // namespace varolen
