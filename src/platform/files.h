// Files of the simulator's folder: the binding file, view files and sounds.
#pragma once

#include <cstdint>
#include <cstdio>

namespace varolen::platform {

// fopen with the module's Windows paths (backslashes). Null when it cannot be opened.
std::FILE* OpenFile(const char* path, const char* mode);

// Puts the file `replacement` in the place of `path` in one step, replacing
// the file there; false, both left as they were, when it cannot.
bool ReplaceFileWith(const char* path, const char* replacement);
// Deletes a file; false when it cannot.
bool RemoveFile(const char* path);

// A file read in place through the system, without the C runtime's buffers:
// opening and reading one touches no heap, so the module can open its sounds
// on the frame path.
class FileReader {
 public:
  FileReader() = default;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader() { Close(); }

  // The module's Windows path; false when the file cannot be opened.
  bool Open(const char* path);
  void Close();
  bool IsOpen() const { return handle_ != kClosed; }
  // Its size in bytes; -1 when it cannot be told.
  std::int64_t Size();
  // Up to `size` bytes from `offset`; how many it read.
  std::uint32_t ReadAt(std::uint64_t offset, void* destination, std::uint32_t size);

 private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
};

}  // namespace varolen::platform
