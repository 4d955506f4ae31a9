// Files and file dialogs through the C runtime and COMDLG32.
#include <windows.h>
// commdlg.h after windows.h
#include <commdlg.h>

#include <cstdio>

#include "platform/dialogs.h"
#include "platform/files.h"

namespace varolen::platform {

std::FILE* OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }

bool ReplaceFileWith(const char* path, const char* replacement) {
  // A read-only file is the pilot's to keep: Windows will not replace it, and
  // neither may Wine, which would.
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  return MoveFileExA(replacement, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const char* path) { return DeleteFileA(path) != 0; }

bool FileReader::Open(const char* path) {
  Close();
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

void FileReader::Close() {
  if (handle_ != kClosed) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kClosed;
}

std::int64_t FileReader::Size() {
  LARGE_INTEGER size;
  if (handle_ == kClosed || !GetFileSizeEx(reinterpret_cast<HANDLE>(handle_), &size)) return -1;
  return size.QuadPart;
}

std::uint32_t FileReader::ReadAt(std::uint64_t offset, void* destination, std::uint32_t size) {
  if (handle_ == kClosed) return 0;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  DWORD read = 0;
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), at, nullptr, FILE_BEGIN) ||
      !ReadFile(reinterpret_cast<HANDLE>(handle_), destination, size, &read, nullptr)) {
    return 0;
  }
  return read;
}

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
