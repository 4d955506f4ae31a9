// The module's sub-menu in the host's fourth pop-up, and its commands.
#include "shell/host_menu.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/host_layout.h"
#include "host/settings.h"
#include "shell/hooks.h"
#include "shell/lifecycle.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using Kind = sim::MenuItem::Kind;
using testing::ModuleTest;

class HostMenuTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    main_ = StartWithHostWindow();
    hostPopup_ = sim::MenuItems(sim::MenuBar(main_))[3].popup;
  }
  void OpenMenu() { sim::SendThroughHooks(main_, kInitMenu); }
  // The module's sub-menu: the last item of the host's fourth pop-up.
  const std::vector<sim::MenuItem>& ModuleItems() {
    return sim::MenuItems(sim::MenuItems(hostPopup_).back().popup);
  }
  // True when the command was consumed.
  bool Choose(std::uint16_t id) { return sim::TakeThroughHooks(main_, kCommand, id).message == 0; }

  sim::WindowHandle main_ = 0;
  sim::MenuHandle hostPopup_ = 0;
};

TEST_F(HostMenuTest, IsAppendedToTheFourthPopupWithItsItemsInOrder) {
  OpenMenu();
  const auto& host = sim::MenuItems(hostPopup_);
  ASSERT_EQ(host.size(), 3u);  // the host's own item, a separator, the sub-menu
  EXPECT_EQ(host[1].kind, Kind::Separator);
  EXPECT_EQ(host[2].kind, Kind::Popup);
  EXPECT_EQ(host[2].text, "&Varolen 2004");

  // Check marks of the default settings.
  const struct {
    Kind kind;
    std::uint32_t id;
    const char* text;
    bool checked;
  } expected[] = {
      {Kind::Text, 30720, "Activate Fly-by", true},
      {Kind::Text, 30721, "Activate Approach View", false},
      {Kind::Text, 30723, "Internal pilot view", false},
      {Kind::Text, 30724, "External pilot view", false},
      {Kind::Text, 30725, "Enable wheel zoom in VC", true},
      {Kind::Text, 30726, "Use mouse in Spot view", false},
      {Kind::Text, 30727, "Sound on", true},
      {Kind::Text, 30732, "Head tracker", true},
      {Kind::Separator, 0, "", false},
      {Kind::Text, 30729, "Save view config...", false},
      {Kind::Text, 30728, "Load view config...", false},
      {Kind::Separator, 0, "", false},
      {Kind::Text, 30722, "Setup...", false},
      {Kind::Text, 30733, "Motion...", false},
      {Kind::Text, 30731, "About...", false},
  };
  const auto& items = ModuleItems();
  ASSERT_EQ(items.size(), std::size(expected));
  for (std::size_t index = 0; index < items.size(); ++index) {
    EXPECT_EQ(items[index].kind, expected[index].kind) << index;
    EXPECT_EQ(items[index].id, expected[index].id) << index;
    EXPECT_EQ(items[index].text, expected[index].text) << index;
    EXPECT_EQ(items[index].checked, expected[index].checked) << index;
  }
}

TEST_F(HostMenuTest, CheckMarksFollowTheSettingsAtEachOpening) {
  testing::Switch(&CameraSettingsRecord::FlyByActive, false);
  testing::Switch(&CameraSettingsRecord::ApproachActive, true);
  testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  testing::Switch(&CameraSettingsRecord::EnableWheelZoom, false);
  testing::Switch(&CameraSettingsRecord::UseMouseInSpot, true);
  testing::Switch(&CameraSettingsRecord::SoundOn, false);
  OpenMenu();
  const bool expected[] = {false, true, true, true, false, true, false};
  for (std::size_t index = 0; index < std::size(expected); ++index) {
    EXPECT_EQ(ModuleItems()[index].checked, expected[index]) << ModuleItems()[index].text;
  }
}

TEST_F(HostMenuTest, ReopeningReplacesTheSubMenuInsteadOfGrowing) {
  OpenMenu();
  const int menus = sim::LiveMenuCount();
  for (int opening = 0; opening < 5; ++opening) {
    Choose(kMenuFlyBy);
    OpenMenu();
  }
  EXPECT_EQ(sim::MenuItems(hostPopup_).size(), 3u);
  EXPECT_EQ(sim::LiveMenuCount(), menus);
  EXPECT_EQ(ModuleItems()[0].checked, false);  // fly-by toggled five times
}

TEST_F(HostMenuTest, UnloadingTakesTheSubMenuOutSoThatReloadingDoesNotGrow) {
  const std::size_t hostItems = sim::MenuItems(hostPopup_).size();  // without the module's
  const int menus = sim::LiveMenuCount();
  for (int load = 0; load < 3; ++load) {
    OpenMenu();
    EXPECT_EQ(sim::MenuItems(hostPopup_).size(), hostItems + 2) << load;  // a separator and the sub-menu
    ModuleShutdown();
    EXPECT_EQ(sim::MenuItems(hostPopup_).size(), hostItems) << load;
    EXPECT_EQ(sim::LiveMenuCount(), menus) << load;
    ModuleStartup();
  }
}

TEST_F(HostMenuTest, ACopyTheHostTookAwayIsDestroyedAllTheSame) {
  OpenMenu();
  const int menus = sim::LiveMenuCount();
  for (int opening = 0; opening < 3; ++opening) {
    // The host rebuilds its pop-up without the module's items.
    platform::RemoveMenuItem(hostPopup_, 2);
    platform::RemoveMenuItem(hostPopup_, 1);
    OpenMenu();
  }
  ASSERT_EQ(sim::MenuItems(hostPopup_).size(), 3u);
  EXPECT_EQ(sim::MenuItems(hostPopup_)[2].text, "&Varolen 2004");
  EXPECT_EQ(sim::LiveMenuCount(), menus) << "no menu left behind per opening";
}

TEST_F(HostMenuTest, AMenuBarWithoutAFourthPopupGetsNothing) {
  testing::ResetModule();
  const sim::WindowHandle main = StartWithHostWindow(3);
  const int menus = sim::LiveMenuCount();
  sim::SendThroughHooks(main, kInitMenu);
  EXPECT_EQ(sim::LiveMenuCount(), menus);
}

TEST_F(HostMenuTest, CommandsToggleSettingsAndReportWhetherTheHostSeesThem) {
  struct Flags {
    std::int32_t flyBy, approach, internal, external, wheelZoom, mouseInSpot, sound;
  };
  const struct {
    std::uint16_t id;
    Flags before;
    Flags after;
    bool consumed;
  } cases[] = {
      {30720, {0, 1, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 1}, true},  // fly-by on turns approach off
      {30720, {1, 0, 0, 0, 1, 0, 1}, {0, 0, 0, 0, 1, 0, 1}, true},  // and off leaves it off
      {30721, {1, 0, 0, 0, 1, 0, 1}, {0, 1, 0, 0, 1, 0, 1}, true},
      {30721, {0, 1, 0, 0, 1, 0, 1}, {0, 0, 0, 0, 1, 0, 1}, true},
      {30723, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 1, 0, 1, 0, 1}, true},
      {30723, {1, 0, 1, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 1}, true},
      {30724, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 1, 1, 1, 0, 1}, true},  // external on: internal on
      {30724, {1, 0, 1, 1, 1, 0, 1}, {1, 0, 1, 0, 1, 0, 1}, true},  // external off: internal stays
      {30725, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 0, 0, 1}, true},
      {30726, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 1, 1}, true},
      {30727, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 0}, true},
      {30727, {1, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 1, 0, 1}, true},
      {30720, {5, 0, 0, 0, 1, 0, 1}, {0, 0, 0, 0, 1, 0, 1}, true},   // a garbage flag switches off
      {30722, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 1}, true},   // Setup
      {30731, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 1}, true},   // About
      {30728, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 1}, false},  // Load: the host sees it too
      {30729, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 1}, false},  // Save
      {30730, {1, 0, 0, 0, 1, 0, 1}, {1, 0, 0, 0, 1, 0, 1}, false},
  };
  auto& s = CameraSettings;
  for (const auto& c : cases) {
    s.FlyByActive = c.before.flyBy;
    s.ApproachActive = c.before.approach;
    s.InternalViewActive = c.before.internal;
    s.ExternalViewActive = c.before.external;
    s.EnableWheelZoom = c.before.wheelZoom;
    s.UseMouseInSpot = c.before.mouseInSpot;
    s.SoundOn = c.before.sound;
    EXPECT_EQ(Choose(c.id), c.consumed) << c.id;
    const Flags now = {
        s.FlyByActive,    s.ApproachActive, s.InternalViewActive, s.ExternalViewActive, s.EnableWheelZoom,
        s.UseMouseInSpot, s.SoundOn};
    EXPECT_EQ(std::memcmp(&now, &c.after, sizeof now), 0) << c.id;
  }
}

}  // namespace
}  // namespace varolen
