#include "shell/hooks.h"

#include "host/host_layout.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "platform/host_memory.h"
#include "shell/frame.h"
#include "shell/host_menu.h"
#include "shell/input_routing.h"

namespace varolen {

namespace {

constexpr int kHookAction = 0;          // HC_ACTION
constexpr std::uintptr_t kRemoved = 1;  // PM_REMOVE

bool IsCockpitInput(std::uint32_t message) {
  switch (message) {
    case kKeyDown:
    case kKeyUp:
    case kMouseMove:
    case kLeftButtonDown:
    case kLeftButtonUp:
    case kRightButtonDown:
    case kRightButtonUp:
    case kMiddleButtonDown:
    case kMiddleButtonUp:
    case kMouseWheel:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::intptr_t CallWndProcHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
  if (code == kHookAction) {
    // The hook's parameter is the address of the message's record.
    auto* sent = reinterpret_cast<platform::SentMessageRecord*>(lParam);  // NOLINT(performance-no-int-to-ptr)
    if (MessageRouter(sent->window, sent->message, sent->wParam, sent->lParam) != 0) {
      sent->window = 0;
      sent->message = 0;
      return 0;
    }
  }
  return platform::CallNextHook(Shell.callWndProcHook, code, wParam, lParam);
}

std::intptr_t GetMessageHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
  if (code == kHookAction && wParam == kRemoved) {
    auto* queued =
        reinterpret_cast<platform::QueuedMessageRecord*>(lParam);  // NOLINT(performance-no-int-to-ptr)
    if (MessageRouter(queued->window, queued->message, queued->wParam, queued->lParam) != 0) {
      queued->window = 0;
      queued->message = 0;
      return 0;
    }
  }
  return platform::CallNextHook(Shell.getMessageHook, code, wParam, lParam);
}

MessageRoute RouteOf(platform::WindowHandle window, std::uint32_t message) {
  // Mouse input belongs to the module only while it handles the cockpit view.
  const bool input =
      CameraSettings.InternalViewActive ? IsCockpitInput(message) : message == kKeyDown || message == kKeyUp;
  if (input) return MessageRoute::CockpitInput;
  if (window == 0 || window != Shell.hostMainWindow) return MessageRoute::None;
  if (message == kInitMenu) return MessageRoute::BuildMenu;
  if (message == kCommand) return MessageRoute::MenuCommand;
  return MessageRoute::None;
}

int MessageRouter(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                  std::intptr_t lParam) {
  platform::ForgetHostMemoryLayout();  // the host has run since the module last looked
  if (message == kFrameMessage) UpdateCameraFrame();
  switch (RouteOf(window, message)) {
    case MessageRoute::CockpitInput:
      return RouteCockpitInput(window, message, wParam, lParam);
    case MessageRoute::BuildMenu:
      BuildHostMenu();
      return 0;
    case MessageRoute::MenuCommand:
      return RunMenuCommand(window, static_cast<std::uint16_t>(wParam & 0xFFFF));
    case MessageRoute::None:
      break;
  }
  return 0;
}

}  // namespace varolen
