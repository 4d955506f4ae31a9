// Files and file dialogs through the C runtime and COMDLG32.
#include <windows.h>
// commdlg.h after windows.h
#include <commdlg.h>

#include <cstdio>

#include "platform/dialogs.h"
#include "platform/files.h"

namespace varolen::platform {

std::FILE* OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }

bool RunFileDialog(const FileDialogRequest& request, char* path, std::uint32_t capacity) {
  OPENFILENAMEA dialog = {};
  // The 76-byte form of the record, which every version of Windows accepts.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
  dialog.hInstance = reinterpret_cast<HINSTANCE>(request.instance);
  dialog.lpstrFilter = request.filter;
  dialog.nFilterIndex = 0;
  path[0] = '\0';
  dialog.lpstrFile = path;
  dialog.nMaxFile = capacity;
  dialog.lpstrInitialDir = request.initialFolder;
  dialog.lpstrTitle = request.title;
  dialog.Flags = request.flags;
  dialog.lpstrDefExt = request.defaultExtension;
  return (request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) != 0;
}

}  // namespace varolen::platform
