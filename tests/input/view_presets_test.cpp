// View files: saving and loading the ten presets, and the file dialogs.
#include "input/view_presets.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/module_state.h"
#include "shell/lifecycle.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

class ViewFiles : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    folder_ = testing::TestFolder() / "views";
    std::filesystem::create_directories(folder_);
  }
  // A file with this text, as the module names it (backslashes).
  std::string File(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return WindowsPath(name);
  }
  std::string WindowsPath(const std::string& name) const { return folder_.string() + "\\" + name; }
  // The presets as a view file with these lines leaves them.
  void Given(const std::string& lines) { LoadViewPresets(File("given.vrv", lines).c_str()); }
  // Every preset holding `fields` (kind, position, orientation, zoom).
  void AllPresets(const std::string& fields) {
    std::string lines;
    for (int number = 0; number < kViewPresetCount; ++number)
      lines += "View." + std::to_string(number) + "=" + fields + "\n";
    Given(lines);
  }
  std::filesystem::path folder_;
};

TEST_F(ViewFiles, SaveThenLoadKeepsFourDecimals) {
  Given(
      "View.0=0,0.123456,-1.5,2.25,10.00004,359.99994,-0.5,1.33333\n"
      "View.9=1,0.00004,0.0,-0.00004,1,2,3,1\n");  // rounds to zeros: empty after loading
  SaveViewPresets(WindowsPath("saved.vrv").c_str());
  std::ifstream saved(folder_ / "saved.vrv");
  std::string line;
  std::getline(saved, line);
  EXPECT_EQ(line, "View.0=0,0.1235,-1.5000,2.2500,10.0000,359.9999,-0.5000,1.3333");
  AllPresets("7,9,9,9,9,9,9,9");
  LoadViewPresets(WindowsPath("saved.vrv").c_str());
  EXPECT_EQ(ViewPresets[0].position[0], 0.1235);
  EXPECT_EQ(ViewPresets[0].orientation[1], 359.9999);
  EXPECT_EQ(ViewPresets[5].kind, 0);
  EXPECT_EQ(ViewPresets[9].position[0], 0.0);
  EXPECT_EQ(ViewPresets[9].kind, 1);
}

TEST_F(ViewFiles, LoadingReadsWhatTheFileHolds) {
  const struct {
    std::string text;
    int preset;         // the preset to look at
    double x;           // its position x afterwards (it starts at 5)
    std::int32_t kind;  // its kind afterwards (it starts at 3)
  } cases[] = {
      {"View.2=0,1.0,2.0,3.0,10.0,20.0,30.0,1.0\n", 2, 1.0, 0},
      {"View.2=0,1.0,2.0,3.0,10.0,20.0,30.0,1.0\n", 1, 5.0, 3},    // others keep their values
      {"; a comment\n\nView.4=1, 7.5 ,0,0,0,0,0,1\n", 4, 7.5, 1},  // other lines skipped, blanks too
      {"View.1=0,1,1,1,1,1,1,1\nView.12=0,2,2,2,2,2,2,2\nView.3=0,3,3,3,3,3,3,3\n", 3, 5.0,
       3},  // stops at 12
      {"View.1=0,1,1,1,1,1,1,1\nView.12=0,2\n", 1, 1.0, 0},
      {"View.6=1,2.5,3.5", 6, 2.5, 1},                            // short and no line end: the rest is 0
      {"View.7=0,1,1\r\nView.7=1,8,8,8,8,8,8,8\r\n", 7, 8.0, 1},  // the last mention wins
      {"View.8=x,abc", 8, 0.0, 0},
  };
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    AllPresets("3,5,5,5,5,5,5,5");
    LoadViewPresets(File("case" + std::to_string(index) + ".vrv", cases[index].text).c_str());
    const ViewPreset& preset = ViewPresets[cases[index].preset];
    EXPECT_EQ(preset.position[0], cases[index].x) << cases[index].text;
    EXPECT_EQ(preset.kind, cases[index].kind) << cases[index].text;
  }
  LoadViewPresets(File("short.vrv", "View.6=1,2.5,3.5").c_str());
  EXPECT_EQ(ViewPresets[6].zoom, 0.0) << "a missing value is 0, not what was there";
}

TEST_F(ViewFiles, TheDialogsRememberTheFolderOfTheLastFile) {
  StartWithHostWindow();
  const sim::WindowHandle main = platform::FindTopLevelWindow("FS98MAIN");
  EXPECT_STREQ(Shell.viewFolder, "C:\\Flight Simulator 9");
  sim::AnswerFileDialogs(std::nullopt);  // cancelled
  sim::SendThroughHooks(main, 0x111, 30729);
  EXPECT_STREQ(Shell.viewFolder, "C:\\Flight Simulator 9");
  sim::AnswerFileDialogs(WindowsPath("menu.vrv"));
  Given("View.3=0,1,2,3,0,0,0,1\n");
  sim::TakeThroughHooks(main, 0x111, 30729);  // Save view config...
  sim::TakeThroughHooks(main, 0x111, 30728);  // Load view config...
  EXPECT_TRUE(std::filesystem::exists(folder_ / "menu.vrv"));
  EXPECT_EQ(Shell.viewFolder, folder_.string());
  const auto& shown = sim::FileDialogsShown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(shown[1].save);
  EXPECT_EQ(shown[1].title, "Save file");
  EXPECT_EQ(shown[2].title, "Open file");
  EXPECT_EQ(shown[2].filter, "VarolenMax View File (*.vrv)|*.vrv|");
  EXPECT_EQ(shown[2].defaultExtension, "vrv");
  EXPECT_EQ(shown[2].flags, 0x280006u);
  EXPECT_EQ(shown[2].initialFolder, folder_.string());
  EXPECT_EQ(shown[2].owner, main);
}

// A save that cannot complete (a full disk, a file that cannot be replaced)
// leaves the user's old file as it was and says so.
TEST_F(ViewFiles, ASaveThatFailsLeavesTheOldFileWhole) {
  StartWithHostWindow();
  const sim::WindowHandle main = platform::FindTopLevelWindow("FS98MAIN");
  const struct {
    const char* what;
    bool diskFull;
    bool directory;  // the chosen name is a folder, which no file replaces
    bool saved;
  } cases[] = {
      {"a full disk", true, false, false},
      {"a name that cannot be replaced", false, true, false},
      {"a disk with room", false, false, true},
  };
  for (const auto& c : cases) {
    const std::string name =
        std::string(c.directory ? "folder" : "views") + (c.diskFull ? "-full" : "") + ".vrv";
    if (c.directory) {
      std::filesystem::create_directories(folder_ / name);
    } else {
      File(name, "View.0=0,1,2,3,4,5,6,1\n");
    }
    const std::size_t boxes = sim::MessageBoxes().size();
    sim::FillDisk(c.diskFull);
    Given("View.3=0,7,8,9,0,0,0,1\n");
    sim::AnswerFileDialogs(WindowsPath(name));
    sim::TakeThroughHooks(main, 0x111, 30729);  // Save view config...
    sim::FillDisk(false);
    EXPECT_FALSE(std::filesystem::exists(folder_ / (name + ".new"))) << c.what << ": nothing left beside it";
    if (c.saved) {
      std::ifstream file(folder_ / name);
      std::stringstream text;
      text << file.rdbuf();
      EXPECT_NE(text.str().find("View.3=0,7.0000,8.0000,9.0000"), std::string::npos) << c.what;
      EXPECT_EQ(sim::MessageBoxes().size(), boxes) << c.what;
    } else {
      if (!c.directory) {
        std::ifstream file(folder_ / name);
        std::stringstream text;
        text << file.rdbuf();
        EXPECT_EQ(text.str(), "View.0=0,1,2,3,4,5,6,1\n") << c.what << ": the old file is whole";
      }
      ASSERT_EQ(sim::MessageBoxes().size(), boxes + 1) << c.what;
      EXPECT_EQ(sim::MessageBoxes().back(), kViewFileNotSaved) << c.what;
    }
  }
}

}  // namespace
}  // namespace varolen
