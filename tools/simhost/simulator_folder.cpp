#include "simulator_folder.h"

#include <fstream>
#include <stdexcept>

namespace simhost {

namespace {

namespace fs = std::filesystem;

// Through streams: mingw's std::filesystem::copy_file refuses to overwrite,
// whatever its options say.
void CopyFile(const fs::path& from, const fs::path& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  if (!in || !(out << in.rdbuf()) || !out.flush()) throw std::runtime_error("cannot copy " + from.string());
}

}  // namespace

void PrepareSimulatorFolder(const fs::path& folder, const SimulatorFolderContents& contents) {
  std::error_code error;
  // A read-only binding file of an earlier run would stop Windows clearing the folder.
  fs::permissions(folder / "Varolen2004.cfg", fs::perms::owner_read | fs::perms::owner_write, error);
  fs::remove_all(folder, error);
  if (error) throw std::runtime_error("cannot clear the simulator folder " + folder.string());
  fs::create_directories(folder / "Modules");
  if (contents.module) CopyFile(*contents.module, folder / "Modules" / "Varolen2004.dll");
  if (contents.bindings) {
    std::ofstream(folder / "Varolen2004.cfg") << *contents.bindings;
    if (contents.bindingsReadOnly) {
      fs::permissions(folder / "Varolen2004.cfg",
                      fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
  }
  if (contents.sounds) {
    const fs::path target = folder / "Varolen" / "Sound";
    fs::create_directories(target);
    for (const auto& file : fs::directory_iterator(*contents.sounds)) {
      CopyFile(file.path(), target / file.path().filename());
    }
  }
}

}  // namespace simhost
