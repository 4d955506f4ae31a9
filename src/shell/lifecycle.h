// Start-up and shut-down of the module, and the module-wide state they set up.
#pragma once

#include <cstdint>

#include "platform/desktop.h"
#include "platform/process.h"
#include "shell/text.h"

namespace varolen {

struct ShellRecord {
  platform::ModuleHandle moduleInstance;
  platform::WindowHandle hostMainWindow;  // 0 when no host window was found
  std::uint32_t hostThreadId;
  platform::HookHandle callWndProcHook;
  platform::HookHandle getMessageHook;
  // False when the module's path did not fit its buffer: SimulatorFolder is then
  // a cut text that may name another folder, so no file path is built from it.
  bool simulatorFolderComplete;
};

extern ShellRecord Shell;
extern char SimulatorFolder[kPathCapacity];
extern char ViewFolder[kPathCapacity];

int ModuleStartup();
void ModuleShutdown();

// Builds "<SimulatorFolder>\<relative>" into `path`. False, with `path` empty,
// when the simulator folder is not known in full or the result would not fit:
// a cut path could name some other file.
bool SimulatorFilePath(char (&path)[kPathCapacity], const char* relative);

}  // namespace varolen
