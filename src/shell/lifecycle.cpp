#include "shell/lifecycle.h"

#include <cstdio>
#include <cstring>

#include "camera/camera_state.h"
#include "cockpit/cockpit_state.h"
#include "cockpit/motion.h"
#include "host/host_layout.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "input/binding_matcher.h"
#include "input/input_state.h"
#include "input/view_presets.h"
#include "interaction/interaction_state.h"
#include "platform/files.h"
#include "shell/hooks.h"
#include "shell/host_menu.h"
#include "sound/sound_effects.h"
#include "tracker/head_tracker.h"

namespace varolen {

namespace {

// The module file lies in a sub-folder of the simulator's folder: drop the file
// name, then the sub-folder.
void DeriveSimulatorFolder() {
  const std::uint32_t length =
      platform::ModuleFilePath(Shell.moduleInstance, Shell.simulatorFolder, kPathCapacity);
  Shell.simulatorFolderComplete = length < kPathCapacity;
  CutAtLastBackslash(Shell.simulatorFolder);
  CutAtLastBackslash(Shell.simulatorFolder);
}

// The [HeadTracker] and [Motion] sections of the binding file; a file that is
// not there leaves the scales at 1 and the motion as it always was.
void ReadSectionsFile(const char* path) {
  HeadTracker.scales = {};
  MotionOptions = DefaultMotionOptions();
  std::FILE* file = platform::OpenFile(path, "r");
  if (file == nullptr) return;
  ReadTrackerScales(file, HeadTracker.scales);
  std::rewind(file);
  ReadMotionOptions(file, MotionOptions);
  std::fclose(file);
}

void InstallHooks() {
  Shell.callWndProcHook =
      platform::InstallThreadHook(platform::HookKind::CallWndProc, CallWndProcHook, Shell.hostThreadId);
  Shell.getMessageHook =
      platform::InstallThreadHook(platform::HookKind::GetMessage, GetMessageHook, Shell.hostThreadId);
  if (Shell.callWndProcHook == 0) platform::ShowMessageBox("Varolen: Unable to set hook");
  if (Shell.getMessageHook == 0) platform::ShowMessageBox("Varolen: Unable to set hook");
}

}  // namespace

int ModuleStartup() {
  DeriveSimulatorFolder();
  SetDefaultSettings();
  LoadSettings();

  Shell.hostMainWindow = platform::FindTopLevelWindow(kHostMainWindowClass);
  if (Shell.hostMainWindow == 0) platform::ShowMessageBox("FS window not found");

  Shell.hostThreadId = platform::CurrentThreadId();
  UseHostAddresses();
  InstallHooks();

  ClearViewPresets();
  // The cockpit's records and the walking pilot's and mouse's, zeroed.
  ResetCockpitState();
  ClearInteractionRecords();

  char configurationPath[kPathCapacity];
  if (SimulatorFilePath(configurationPath, "Varolen2004.cfg")) {
    ReadModuleKeyBindings(configurationPath);
    ReadSectionsFile(configurationPath);
  }

  CopyText(Shell.viewFolder, sizeof Shell.viewFolder, Shell.simulatorFolder);
  return 1;
}

void ModuleShutdown(Departure departure) {
  SaveSettings();
  if (departure == Departure::ProcessEnding) return;
  CloseHeadTracker();
  if (Shell.callWndProcHook != 0) platform::RemoveThreadHook(Shell.callWndProcHook);
  if (Shell.getMessageHook != 0) platform::RemoveThreadHook(Shell.getMessageHook);
  Shell.callWndProcHook = 0;
  Shell.getMessageHook = 0;
  RemoveHostMenu();
}

void ResetModuleState() {
  ResetHostState();
  ResetCameraState();
  ResetCockpitState();
  ResetInputState();
  ResetInteractionState();
  ResetSoundEffects();
  ResetHeadTrackerState();
  ForgetHostMenu();
}

}  // namespace varolen
