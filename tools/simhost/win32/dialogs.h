// The user at the host: answers the module's message boxes and file dialogs,
// and works its own dialogs by the scenario's scripts, through a CBT hook on
// the host's thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace simhost::win32 {

struct DialogUser {
  std::string fileDialogAnswer;       // the path typed into file dialogs; empty: cancel
  std::vector<DialogScript> scripts;  // the module's own dialogs, used in order
  std::string screenshotFolder;       // where a picture of each dialog goes; empty: none
  // What happened:
  std::vector<std::string> messageBoxes;  // texts, and "file dialog <title>"
  std::vector<std::string> dialogLines;   // as the native host describes them
};

// The one user the hook serves.
extern DialogUser User;

// Starts and stops answering on this thread.
HHOOK StartAnsweringDialogs();
void StopAnsweringDialogs(HHOOK hook);

}  // namespace simhost::win32
