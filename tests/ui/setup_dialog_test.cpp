// The Setup and About dialogs: what they show, what OK stores, and what
// Cancel and Escape do, with the user's typing scripted.
#include "ui/setup_dialog.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "host/host_layout.h"
#include "host/settings.h"
#include "platform/sim/sim_platform.h"
#include "shell/hooks.h"
#include "support/module_fixture.h"
#include "ui/about_dialog.h"
#include "ui/setup_model.h"

namespace varolen {
namespace {

class SetupDialog : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    main_ = StartWithHostWindow();
  }
  // Opens Setup from the menu, types and clicks, then gives the commands.
  const sim::ModalDialogShown& Use(sim::DialogAnswer answer) {
    sim::AnswerModalDialogs({std::move(answer)});
    sim::TakeThroughHooks(main_, kCommand, 30722);
    return sim::ModalDialogsShown().back();
  }
  sim::WindowHandle main_ = 0;
};

TEST_F(SetupDialog, ShowsTheSettings) {
  CameraSettings.ViewTurbRate = 0.123;
  CameraSettings.FlyByCameraPlacement = 1;
  CameraSettings.ApproachViewX = -12.5;
  const auto& shown = Use({.commands = {2}});
  EXPECT_EQ(shown.templateId, 101);
  EXPECT_EQ(
      shown.controls,
      "1000=10 1001=0 1002=[ ] 1003=[x] 1004=[ ] 1005=[ ] 1006=50 1007=0.12 1008=5.00 1009=0.60 1010=[x] "
      "1011=[x] 1012=0.60 1013=[x] 1014=-12.50 1015=0.00 1016=[x]");
  EXPECT_EQ(shown.outcome, "command 2 closed it");
}

TEST_F(SetupDialog, OkStoresWhatTheUserTypedWithinItsLimits) {
  const struct {
    int id;
    const char* text;
    double CameraSettingsRecord::*real;
    std::int32_t CameraSettingsRecord::*integer;
    double expected;
  } cases[] = {
      {1007, "2.5", &CameraSettingsRecord::ViewTurbRate, nullptr, 2.0},
      {1009, "-1", &CameraSettingsRecord::GroundTurbRate, nullptr, 0.0},
      {1012, "abc", &CameraSettingsRecord::BuffetTurbRate, nullptr, 0.0},
      {1009, "1e999", &CameraSettingsRecord::GroundTurbRate, nullptr, 2.0},  // clamped like any large number
      {1007, "-inf", &CameraSettingsRecord::ViewTurbRate, nullptr, 0.0},
      {1012, "nan", &CameraSettingsRecord::BuffetTurbRate, nullptr, 0.0},
      {1008, "1e999", &CameraSettingsRecord::RunningSpeed, nullptr, DBL_MAX},
      {1008, "-3", &CameraSettingsRecord::RunningSpeed, nullptr, 0.0},
      {1014, "-1234.5", &CameraSettingsRecord::ApproachViewX, nullptr, -1234.5},
      {1007, "0,5", &CameraSettingsRecord::ViewTurbRate, nullptr, 0.5},  // a decimal comma
      {1015, "-12,25", &CameraSettingsRecord::ApproachViewZ, nullptr, -12.25},
      {1006, "-80", nullptr, &CameraSettingsRecord::FlyByMinDistance, 80},
      {1000, "7.9", nullptr, &CameraSettingsRecord::FlyByDuration, 7},
      {1001, "-150ft", nullptr, &CameraSettingsRecord::FlyByRelAltitude, -150},
  };
  for (const auto& c : cases) {
    const auto& shown = Use({.texts = {{c.id, c.text}}, .commands = {1}});
    EXPECT_EQ(shown.outcome, "command 1 closed it");
    const double value = c.real != nullptr ? CameraSettings.*c.real : CameraSettings.*c.integer;
    EXPECT_EQ(value, c.expected) << c.id << " " << c.text;
  }
}

TEST_F(SetupDialog, TwoDecimalsRoundTheRatesOnEveryOk) {
  CameraSettings.ViewTurbRate = 0.123;
  CameraSettings.GroundTurbRate = 0.6;
  Use({.commands = {1}});
  EXPECT_EQ(CameraSettings.ViewTurbRate, 0.12);
  EXPECT_EQ(CameraSettings.GroundTurbRate, 0.6);
}

TEST_F(SetupDialog, ButtonsAndPlacement) {
  Use({.clicks = {1004, 1005, 1010, 1016}, .commands = {1}});
  EXPECT_EQ(CameraSettings.FlyByCameraPlacement, 2);
  EXPECT_EQ(CameraSettings.FlyByTravelling, 1);
  EXPECT_EQ(CameraSettings.ViewTurbOn, 0);
  EXPECT_EQ(CameraSettings.SmoothView, 0);
  // A placement the dialog has no button for stays as it is.
  CameraSettings.FlyByCameraPlacement = 5;
  const auto& shown = Use({.commands = {1}});
  EXPECT_NE(shown.controls.find("1002=[ ] 1003=[ ] 1004=[ ]"), std::string::npos);
  EXPECT_EQ(CameraSettings.FlyByCameraPlacement, 5);
}

TEST_F(SetupDialog, CancelChangesNothing) {
  const CameraSettingsRecord before = CameraSettings;
  Use({.texts = {{1000, "99"}, {1007, "1.5"}}, .clicks = {1003, 1013}, .commands = {2}});
  EXPECT_EQ(std::memcmp(&before, &CameraSettings, sizeof before), 0);
}

// Close and Enter send command 1, Escape command 2; the close box comes as Cancel.
TEST_F(SetupDialog, AboutClosesWithCloseEscapeAndTheCloseBox) {
  sim::AnswerModalDialogs({{.commands = {1}}, {.commands = {2}}, {.commands = {sim::kCloseBox}}});
  for (int time = 0; time < 3; ++time) sim::TakeThroughHooks(main_, kCommand, 30731);
  ASSERT_EQ(sim::ModalDialogsShown().size(), 3u);
  EXPECT_EQ(sim::ModalDialogsShown()[0].templateId, 102);
  EXPECT_EQ(sim::ModalDialogsShown()[0].outcome, "command 1 closed it");
  EXPECT_EQ(sim::ModalDialogsShown()[1].outcome, "command 2 closed it");
  EXPECT_EQ(sim::ModalDialogsShown()[2].outcome, "close box closed it");
}

}  // namespace
}  // namespace varolen
