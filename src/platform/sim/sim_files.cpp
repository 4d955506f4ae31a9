// Files with the module's Windows paths over this machine's files, and file
// dialogs that give the answer a test or scenario scripted.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/sim/sim_state.h"

namespace varolen {

namespace sim {
namespace {

struct FilesState {
  std::optional<std::string> answer;
  std::vector<FileDialogShown> shown;
};

FilesState& State() {
  static FilesState state;
  return state;
}

}  // namespace

void ResetFiles() { State() = FilesState{}; }

void AnswerFileDialogs(std::optional<std::string> path) { State().answer = std::move(path); }

const std::vector<FileDialogShown>& FileDialogsShown() { return State().shown; }

}  // namespace sim

namespace platform {

std::FILE* OpenFile(const char* path, const char* mode) {
  std::string local(path);
  std::replace(local.begin(), local.end(), '\\', '/');
  return std::fopen(local.c_str(), mode);
}

bool RunFileDialog(const FileDialogRequest& request, char* path, std::uint32_t capacity) {
  std::string filter;
  for (const char* part = request.filter; *part != '\0'; part += std::strlen(part) + 1)
    filter += part + std::string("|");
  sim::State().shown.push_back({request.save, request.title, filter, request.defaultExtension,
                                request.initialFolder, request.flags, request.owner});
  sim::detail::LogEvent(std::string("RunFileDialog ") + request.title);
  const auto& answer = sim::State().answer;
  if (!answer || answer->size() >= capacity) return false;
  std::memcpy(path, answer->c_str(), answer->size() + 1);
  return true;
}

}  // namespace platform
}  // namespace varolen
