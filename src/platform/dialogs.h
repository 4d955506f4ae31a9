// The system's dialogs: the module's own modal dialogs, and the open and save
// file dialogs.
#pragma once

#include <cstdint>

#include "platform/desktop.h"
#include "platform/process.h"

namespace varolen::platform {

// One control of a modal dialog: an edit's text (at most 31 characters are read
// back) or a button's check mark.
struct DialogField {
  int id;
  bool isText;
  char text[32];
  bool checked;
  int radioGroup;  // radio buttons of one group share a number; 0 for other controls
};

enum class DialogResult { Cancelled, Accepted };

// Runs the dialog of the module's template `templateId` modally. The fields go
// into their controls when it opens; command 1 (OK, Close, Enter) reads them
// back and closes it as accepted; command 2 (Cancel, Escape, the close box)
// closes it as cancelled when `cancelCloses`, and is ignored otherwise.
DialogResult RunModalDialog(ModuleHandle instance, int templateId, WindowHandle owner, DialogField* fields,
                            int fieldCount, bool cancelCloses);

struct FileDialogRequest {
  WindowHandle owner;
  ModuleHandle instance;
  bool save;
  const char* filter;  // pairs of description and pattern, each zero-terminated, then an empty text
  const char* defaultExtension;
  const char* title;
  std::uint32_t flags;
  const char* initialFolder;
};

// Shows the dialog; true when the user chose a file, whose full path is then in `path`.
bool RunFileDialog(const FileDialogRequest& request, char* path, std::uint32_t capacity);

}  // namespace varolen::platform
