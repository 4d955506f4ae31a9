// A scratch folder of this process's own, removed with it: tests, the soak run
// and the benchmarks may run side by side, and twice at once, on one machine.
#pragma once

#include <filesystem>
#include <string>

namespace simhost {

class ScratchFolder {
 public:
  // A new folder "<system temporary folder>/varolen-<what>-XXXXXX".
  explicit ScratchFolder(const std::string& what);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace simhost
