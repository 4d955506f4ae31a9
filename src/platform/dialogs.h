// The system's open and save file dialogs.
#pragma once

#include <cstdint>

#include "platform/desktop.h"
#include "platform/process.h"

namespace varolen::platform {

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
