#include "support/module_fixture.h"

#include <algorithm>

#include "cockpit/cockpit_controller.h"
#include "input/key_bindings.h"
#include "input/view_presets.h"
#include "shell/host_layout.h"
#include "shell/host_menu.h"
#include "shell/lifecycle.h"
#include "shell/settings.h"

namespace varolen::testing {

void ResetModule() {
  sim::ResetPlatform();
  sim::SetModuleFilePath(kModulePath);
  CameraSettings = {};
  CockpitController = {};
  for (ViewPreset& preset : ViewPresets) preset = {};
  KeyBindings.count = 0;
  Shell = {};
  SimulatorFolder[0] = '\0';
  ViewFolder[0] = '\0';
  HostAddresses = {};
  HostMenu = {};
}

sim::WindowHandle ModuleTest::StartWithHostWindow(int menuPopups) {
  const sim::WindowHandle window = sim::CreateHostWindow("FS98MAIN", menuPopups);
  ModuleStartup();
  return window;
}

int EventIndex(const std::string& line) {
  const auto& events = sim::Events();
  const auto found = std::find(events.begin(), events.end(), line);
  return found == events.end() ? -1 : static_cast<int>(found - events.begin());
}

}  // namespace varolen::testing
