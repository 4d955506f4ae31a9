// Files with the module's Windows paths over this machine's files, and file
// dialogs that give the answer a test or scenario scripted.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/sim/sim_state.h"

namespace varolen {

namespace sim {
namespace {

struct FilesState {
  bool diskFull = false;
  std::optional<std::string> answer;
  std::vector<FileDialogShown> shown;
  std::vector<DialogAnswer> dialogAnswers;
  std::size_t nextDialogAnswer = 0;
  std::vector<ModalDialogShown> dialogsShown;
};

FilesState& State() {
  static FilesState state;
  return state;
}

}  // namespace

void ResetFiles() { State() = FilesState{}; }

void AnswerFileDialogs(std::optional<std::string> path) { State().answer = std::move(path); }

void FillDisk(bool full) { State().diskFull = full; }

const std::vector<FileDialogShown>& FileDialogsShown() { return State().shown; }

void AnswerModalDialogs(std::vector<DialogAnswer> answers) {
  State().dialogAnswers = std::move(answers);
  State().nextDialogAnswer = 0;
}

const std::vector<ModalDialogShown>& ModalDialogsShown() { return State().dialogsShown; }

std::string DescribeDialogControls(const platform::DialogField* fields, int count) {
  std::vector<const platform::DialogField*> sorted;
  sorted.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int index = 0; index < count; ++index) sorted.push_back(&fields[index]);
  std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->id < b->id; });
  std::string line;
  for (const platform::DialogField* field : sorted) {
    if (!line.empty()) line += ' ';
    line += std::to_string(field->id) + "=" +
            (field->isText    ? std::string(field->text)
             : field->checked ? "[x]"
                              : "[ ]");
  }
  return line;
}

}  // namespace sim

namespace platform {

namespace {

// Backslashes to this machine's slashes, without touching the heap.
void LocalPath(const char* path, char (&local)[4096]) {
  std::size_t length = 0;
  for (; path[length] != '\0' && length + 1 < sizeof local; ++length)
    local[length] = path[length] == '\\' ? '/' : path[length];
  local[length] = '\0';
}

}  // namespace

std::FILE* OpenFile(const char* path, const char* mode) {
  char local[4096];
  LocalPath(path, local);
  // A full disk takes what is written and fails as it is flushed, as a real one does.
  if (sim::State().diskFull && std::strpbrk(mode, "wa+") != nullptr) return std::fopen("/dev/full", mode);
  return std::fopen(local, mode);
}

bool ReplaceFileWith(const char* path, const char* replacement) {
  char local[4096];
  char localReplacement[4096];
  LocalPath(path, local);
  LocalPath(replacement, localReplacement);
  sim::detail::LogEvent(std::string("ReplaceFileWith ") + path);
  // As Windows' MoveFileEx, which will not replace a read-only file.
  struct stat target;
  if (::stat(local, &target) == 0 && (target.st_mode & S_IWUSR) == 0) return false;
  return std::rename(localReplacement, local) == 0;
}

bool RemoveFile(const char* path) {
  char local[4096];
  LocalPath(path, local);
  return std::remove(local) == 0;
}

bool FileReader::Open(const char* path) {
  Close();
  char local[4096];
  LocalPath(path, local);
  const int descriptor = ::open(local, O_RDONLY | O_CLOEXEC);
  struct stat status;
  if (descriptor < 0) return false;
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return false;
  }
  handle_ = descriptor;
  return true;
}

void FileReader::Close() {
  if (handle_ != kClosed) ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

std::int64_t FileReader::Size() {
  struct stat status;
  if (handle_ == kClosed || ::fstat(static_cast<int>(handle_), &status) != 0) return -1;
  return status.st_size;
}

std::uint32_t FileReader::ReadAt(std::uint64_t offset, void* destination, std::uint32_t size) {
  if (handle_ == kClosed || offset > static_cast<std::uint64_t>(INT64_MAX)) return 0;
  std::uint32_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(static_cast<int>(handle_), static_cast<char*>(destination) + done,
                                size - done, static_cast<off_t>(offset + done));
    if (got <= 0) break;
    done += static_cast<std::uint32_t>(got);
  }
  return done;
}

DialogResult RunModalDialog(ModuleHandle /*instance*/, int templateId, WindowHandle /*owner*/,
                            DialogField* fields, int fieldCount, bool cancelCloses) {
  auto& state = sim::State();
  sim::ModalDialogShown shown = {templateId, sim::DescribeDialogControls(fields, fieldCount), ""};
  sim::detail::LogEvent("RunModalDialog " + std::to_string(templateId));
  // The controls hold what the user makes of them until a command reads them back.
  std::vector<DialogField> controls(fields, fields + fieldCount);
  const auto control = [&controls](int id) -> DialogField* {
    for (DialogField& field : controls) {
      if (field.id == id) return &field;
    }
    return nullptr;
  };
  DialogResult result = DialogResult::Cancelled;
  bool closed = false;
  if (state.nextDialogAnswer < state.dialogAnswers.size()) {
    const sim::DialogAnswer& answer = state.dialogAnswers[state.nextDialogAnswer++];
    for (const auto& [id, text] : answer.texts) {
      if (DialogField* field = control(id))
        std::snprintf(field->text, sizeof field->text, "%s", text.c_str());
    }
    for (int id : answer.clicks) {
      DialogField* field = control(id);
      if (field == nullptr || field->isText) continue;
      if (field->radioGroup == 0) {
        field->checked = !field->checked;
        continue;
      }
      for (DialogField& other : controls) {
        if (other.radioGroup == field->radioGroup) other.checked = &other == field;
      }
    }
    for (int command : answer.commands) {
      if (!shown.outcome.empty()) shown.outcome += ", ";
      if (command == 1) {
        std::copy(controls.begin(), controls.end(), fields);
        result = DialogResult::Accepted;
        closed = true;
      } else if ((command == 2 || command == sim::kCloseBox) && cancelCloses) {
        closed = true;
      }
      shown.outcome += (command == sim::kCloseBox ? "close box" : "command " + std::to_string(command)) +
                       (closed ? " closed it" : " ignored");
      if (closed) break;
    }
  }
  if (!closed) shown.outcome += shown.outcome.empty() ? "left open" : ", left open";
  state.dialogsShown.push_back(shown);
  return result;
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
