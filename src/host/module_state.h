// What the module knows of its own place in the host: its instance, the host's
// window and thread, its hooks, and the folders it reads and writes files in.
// Start-up fills it in; every subsystem may read it.
#pragma once

#include <cstdint>

#include "host/text.h"
#include "platform/desktop.h"
#include "platform/process.h"

namespace varolen {

struct ShellRecord {
  platform::ModuleHandle moduleInstance;
  platform::WindowHandle hostMainWindow;  // 0 when no host window was found
  std::uint32_t hostThreadId;
  platform::HookHandle callWndProcHook;
  platform::HookHandle getMessageHook;
  // False when the module's path did not fit its buffer: simulatorFolder is then
  // a cut text that may name another folder, so no file path is built from it.
  bool simulatorFolderComplete;
  char simulatorFolder[kPathCapacity];  // the folder above the module's "Modules"
  char viewFolder[kPathCapacity];       // where the view-file dialogs open
};

extern ShellRecord Shell;

// Builds "<simulatorFolder>\<relative>" into `path`. False, with `path` empty,
// when the simulator folder is not known in full or the result would not fit:
// a cut path could name some other file.
bool SimulatorFilePath(char (&path)[kPathCapacity], const char* relative);

// The state of this leaf as a freshly loaded module has it: the settings, the
// shell record, the folders, the host addresses and blocks, the keys held and
// the frame input.
void ResetHostState();

}  // namespace varolen
