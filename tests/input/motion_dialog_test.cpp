// The Motion dialog: what it shows, what OK puts to work at once and writes
// into the binding file (only the options' lines, every other byte kept),
// what Cancel and the close box leave alone, and a file that cannot be written.
#include "input/motion_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/host_layout.h"
#include "platform/sim/sim_platform.h"
#include "shell/host_menu.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

// A pilot's binding file, with Windows' line ends, a section of keys, the
// tracker's scales set and the motion options commented out as shipped.
const std::string kKeys = "// my keys\r\n[Keyboard]\r\nToggleFlyBy=CONTROL,SHIFT,F\r\nLevelHead=F9\r\n\r\n";
const std::string kFile = kKeys +
                          "[HeadTracker]\r\nYaw=-1 // my tracker turns the wrong way\r\nPitch=1.0\r\n\r\n"
                          "[Motion]\r\n// LevelHead=0\r\nLevelHead=0.25\r\n// Touchdown=0\r\n";

class MotionDialog : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    folder_ = testing::TestFolder() / "simulator";
    std::filesystem::create_directories(folder_ / "Modules");
    std::ofstream(folder_ / "Varolen2004.cfg", std::ios::binary) << kFile;
  }
  void Start() {
    sim::SetModuleFilePath(folder_.string() + "\\Modules\\Varolen2004.dll");
    main_ = StartWithHostWindow();
  }
  const sim::ModalDialogShown& Use(sim::DialogAnswer answer) {
    sim::AnswerModalDialogs({std::move(answer)});
    sim::TakeThroughHooks(main_, kCommand, kMenuMotion);
    return sim::ModalDialogsShown().back();
  }
  std::string File() {
    std::ifstream in(folder_ / "Varolen2004.cfg", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::filesystem::path folder_;
  sim::WindowHandle main_ = 0;
};

TEST_F(MotionDialog, ShowsTheOptionsOfTheFile) {
  Start();
  const auto& shown = Use({.commands = {2}});
  EXPECT_EQ(shown.templateId, VAROLEN_MOTION_DIALOG);
  EXPECT_EQ(shown.controls,
            "2000=[ ] 2001=0.5 2002=0 2003=0.25 2004=20 2005=0 2006=15 2007=0 2008=0 2020=[x] 2021=[ ] "
            "2030=-1 2031=1 2032=1 2033=1 2034=1 2035=1");
}

// OK: at once in the module, and in the file's two sections only; a comma
// works, a number beyond its range is held at its end, no number keeps the option.
TEST_F(MotionDialog, OkPutsTheOptionsToWorkAndWritesOnlyTheirLines) {
  Start();
  Use({.texts = {{2003, "0,5"}, {2007, "3"}, {2008, "abc"}, {2030, "2"}},
       .clicks = {2000, 2021},
       .commands = {1}});
  EXPECT_EQ(MotionOptions.levelHead, 0.5);
  EXPECT_EQ(MotionOptions.touchdown, 2.0);
  EXPECT_EQ(MotionOptions.loadFactor, 0.0);
  EXPECT_TRUE(MotionOptions.sameAtAnyFrameRate);
  EXPECT_EQ(MotionOptions.transitionCurve, TransitionCurve::Smooth);
  EXPECT_EQ(HeadTracker.scales.yaw, 2.0);
  EXPECT_EQ(
      File(),
      kKeys +
          "[HeadTracker]\r\nYaw=2\r\nPitch=1\r\nRoll=1\r\nX=1\r\nY=1\r\nZ=1\r\n\r\n"
          "[Motion]\r\n// LevelHead=0\r\nLevelHead=0.5\r\nSameAtAnyFrameRate=1\r\nTransitionSeconds=0.5\r\n"
          "TransitionCurve=smooth\r\nYieldToLook=0\r\nLevelHeadLimit=20\r\nLookIntoTurn=0\r\n"
          "LookIntoTurnLimit=15\r\nTouchdown=2\r\nLoadFactor=0\r\n// Touchdown=0\r\n");
  EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(MotionDialog, CancelAndTheCloseBoxChangeNothing) {
  for (const int command : {2, sim::kCloseBox}) {
    testing::ResetModule();
    SetUp();
    Start();
    const MotionOptionsRecord before = MotionOptions;
    Use({.texts = {{2003, "1"}}, .clicks = {2000}, .commands = {command}});
    EXPECT_EQ(MotionOptions.levelHead, before.levelHead) << command;
    EXPECT_EQ(MotionOptions.sameAtAnyFrameRate, before.sameAtAnyFrameRate) << command;
    EXPECT_EQ(File(), kFile) << command;
  }
}

// A read-only binding file: the options work for this flight, the pilot is
// told they are not saved, and the file is whole.
TEST_F(MotionDialog, AFileThatCannotBeWrittenIsLeftWholeAndThePilotTold) {
  std::filesystem::permissions(folder_ / "Varolen2004.cfg", std::filesystem::perms::owner_read);
  Start();
  Use({.texts = {{2003, "0.75"}}, .commands = {1}});
  EXPECT_EQ(MotionOptions.levelHead, 0.75);
  EXPECT_EQ(File(), kFile);
  ASSERT_EQ(sim::MessageBoxes().size(), 1u);
  EXPECT_EQ(sim::MessageBoxes()[0], kMotionOptionsNotSaved);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "Varolen2004.cfg.new")) << "no leftover";
  std::filesystem::permissions(folder_ / "Varolen2004.cfg", std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace varolen
