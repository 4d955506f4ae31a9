#include "scratch_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace simhost {

ScratchFolder::ScratchFolder(const std::string& what) {
  const std::string pattern =
      (std::filesystem::temp_directory_path() / ("varolen-" + what + "-XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder " + pattern);
  path_ = std::string(name.data());
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace simhost
