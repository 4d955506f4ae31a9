// The simulator folder both hosts lay out for a run: the module, its key
// bindings and its sounds where the module looks for them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace simhost {

struct SimulatorFolderContents {
  std::optional<std::string> module;    // the module file to put into Modules, if any
  std::optional<std::string> bindings;  // the text of Varolen2004.cfg; none: no binding file
  std::optional<std::string> sounds;    // a folder of wave files for Varolen\Sound, if any
  bool bindingsReadOnly = false;        // the binding file read-only, as a pilot may have left it
};

// Lays the folder out afresh: whatever an earlier run left there (a binding
// file, view files, sounds) is removed first, so that a rerun plays the same
// flight. Throws std::runtime_error when it cannot.
void PrepareSimulatorFolder(const std::filesystem::path& folder, const SimulatorFolderContents& contents);

}  // namespace simhost
