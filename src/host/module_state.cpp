#include "host/module_state.h"

#include <cstring>

#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/host_layout.h"
#include "host/keyboard.h"
#include "host/settings.h"

namespace varolen {

ShellRecord Shell;

bool SimulatorFilePath(char (&path)[kPathCapacity], const char* relative) {
  if (Shell.simulatorFolderComplete &&
      FormatText(path, sizeof path, "%s\\%s", Shell.simulatorFolder, relative)) {
    return true;
  }
  path[0] = '\0';
  return false;
}

void ResetHostState() {
  // All-zero bytes are 0.0 in IEEE 754 floats, the only kind the module runs on.
  // cppcheck-suppress memsetClassFloat
  std::memset(&CameraSettings, 0, sizeof CameraSettings);
  Shell = {};
  ForgetHostAddresses();
  ForgetHostModules();
  ResetKeyboard();
  ResetFrameInput();
}

}  // namespace varolen
