// The router's routing table and the hooks' hiding of consumed messages.
#include "shell/hooks.h"

#include <gtest/gtest.h>

#include "host/host_layout.h"
#include "host/settings.h"
#include "shell/host_menu.h"
#include "shell/lifecycle.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using testing::ModuleTest;

class Router : public ModuleTest {};

TEST_F(Router, SendsEachMessageWhereItBelongs) {
  const sim::WindowHandle main = StartWithHostWindow();
  const sim::WindowHandle view = sim::CreateHostWindow("FS98CHILD");
  using enum MessageRoute;
  const struct {
    std::uint32_t message;
    bool toMain;
    MessageRoute whileCockpitOff;
    MessageRoute whileCockpitOn;
  } cases[] = {
      {0x100, false, CockpitInput, CockpitInput},  // key down
      {0x101, true, CockpitInput, CockpitInput},   // key up, even on the main window
      {0x104, false, None, None},                  // system key down
      {0x200, false, None, CockpitInput},          // mouse move
      {0x201, false, None, CockpitInput},
      {0x202, false, None, CockpitInput},
      {0x203, false, None, None},  // double click
      {0x204, false, None, CockpitInput},
      {0x205, false, None, CockpitInput},
      {0x207, false, None, CockpitInput},
      {0x208, false, None, CockpitInput},
      {0x20A, false, None, CockpitInput},  // wheel
      {0x116, true, BuildMenu, BuildMenu},
      {0x116, false, None, None},
      {0x111, true, MenuCommand, MenuCommand},
      {0x111, false, None, None},
      {0x466, true, None, None},  // frame: runs the update, routed nowhere else
      {0x000F, true, None, None},
  };
  for (const auto& c : cases) {
    const sim::WindowHandle window = c.toMain ? main : view;
    testing::Switch(&CameraSettingsRecord::InternalViewActive, false);
    EXPECT_EQ(RouteOf(window, c.message), c.whileCockpitOff) << std::hex << c.message;
    testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
    EXPECT_EQ(RouteOf(window, c.message), c.whileCockpitOn) << std::hex << c.message;
  }
}

TEST_F(Router, WithoutAHostWindowNothingIsAMenuMessage) {
  ModuleStartup();  // no FS98MAIN window
  EXPECT_EQ(RouteOf(0, kCommand), MessageRoute::None);
  EXPECT_EQ(RouteOf(0, kInitMenu), MessageRoute::None);
  EXPECT_EQ(RouteOf(0, kKeyDown), MessageRoute::CockpitInput);
}

class Hooks : public ModuleTest {};

TEST_F(Hooks, AConsumedQueuedMessageReachesTheHostAsNullWithNoWindow) {
  const sim::WindowHandle main = StartWithHostWindow();
  const auto taken = sim::TakeThroughHooks(main, kCommand, kMenuWheelZoom);
  EXPECT_EQ(taken.message, 0u);
  EXPECT_EQ(taken.window, 0u);
  EXPECT_EQ(taken.wParam, kMenuWheelZoom);
  EXPECT_EQ(CameraSettings.EnableWheelZoom, 0);
  EXPECT_EQ(sim::NextHookCalls(sim::HookKind::GetMessage), 0);
}

TEST_F(Hooks, AConsumedSentMessageHasItsWindowAndNumberZeroed) {
  const sim::WindowHandle main = StartWithHostWindow();
  const auto sent = sim::SendThroughHooks(main, kCommand, kMenuSound, 99);
  EXPECT_EQ(sent.message, 0u);
  EXPECT_EQ(sent.window, 0u);
  EXPECT_EQ(sent.lParam, 99);
  EXPECT_EQ(CameraSettings.SoundOn, 0);
  EXPECT_EQ(sim::NextHookCalls(sim::HookKind::CallWndProc), 0);
}

TEST_F(Hooks, MessagesNotConsumedPassOnUnchanged) {
  const sim::WindowHandle main = StartWithHostWindow();
  const struct {
    std::uint32_t message;
    std::uintptr_t wParam;
  } cases[] = {
      {kFrameMessage, 0},          // the frame message is never consumed
      {kCommand, kMenuLoadViews},  // the host sees Load and Save too
      {kCommand, kMenuSaveViews},
      {kCommand, 30730},  // not one of the module's
      {kKeyDown, 'A'},    // no binding consumes it
  };
  for (const auto& c : cases) {
    const auto sent = sim::SendThroughHooks(main, c.message, c.wParam);
    EXPECT_EQ(sent.message, c.message);
    EXPECT_EQ(sent.window, main);
    const auto taken = sim::TakeThroughHooks(main, c.message, c.wParam);
    EXPECT_EQ(taken.message, c.message);
    EXPECT_EQ(taken.window, main);
  }
  EXPECT_EQ(sim::NextHookCalls(sim::HookKind::CallWndProc), 5);
  EXPECT_EQ(sim::NextHookCalls(sim::HookKind::GetMessage), 5);
}

TEST_F(Hooks, APeekLeavesTheQueuedMessageAlone) {
  const sim::WindowHandle main = StartWithHostWindow();
  const auto peeked = sim::TakeThroughHooks(main, kCommand, kMenuFlyBy, 0, /*remove=*/false);
  EXPECT_EQ(peeked.message, kCommand);
  EXPECT_EQ(CameraSettings.FlyByActive, 1);
  EXPECT_EQ(sim::NextHookCalls(sim::HookKind::GetMessage), 1);
}

TEST_F(Hooks, CommandsToOtherWindowsDoNothing) {
  StartWithHostWindow();
  const sim::WindowHandle view = sim::CreateHostWindow("FS98CHILD");
  const auto taken = sim::TakeThroughHooks(view, kCommand, kMenuFlyBy);
  EXPECT_EQ(taken.message, kCommand);
  EXPECT_EQ(CameraSettings.FlyByActive, 1);
}

}  // namespace
}  // namespace varolen
