#include "win32/win32_host.h"

#include <cstdio>
#include <stdexcept>

#include "host/settings.h"
#include "simulator_folder.h"
#include "win32/dialogs.h"
#include "win32/scenario_input.h"

namespace simhost::win32 {

namespace {

void PrepareRegistry(const Scenario& scenario, bool keep) {
  if (!keep) RegDeleteKeyA(HKEY_LOCAL_MACHINE, varolen::kSettingsKeyPath);
  if (scenario.registry.empty()) return;
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, varolen::kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  for (const auto& [name, text] : scenario.registry) {
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size()) + 1);
  }
  RegCloseKey(key);
}

}  // namespace

Win32Host::Win32Host(const Scenario& scenario, const std::string& folder, const std::string& modulePath,
                     bool installed, bool keepRegistry, const std::string& sounds)
    : folder_(folder), realTime_(scenario.realTime), windows_(scenario.mainWindow, scenario.menuPopups) {
  User.fileDialogAnswer = scenario.fileDialogAnswer.value_or("");
  User.scripts = scenario.dialogs;
  PrepareRegistry(scenario, keepRegistry);
  // An installed folder (from the release archive) is left as it is, bindings and all.
  if (installed) {
    if (scenario.bindings) throw std::runtime_error("an installed folder keeps its own bindings");
  } else {
    PrepareSimulatorFolder(folder_,
                           {.module = modulePath,
                            .bindings = scenario.bindings,
                            .sounds = sounds.empty() ? std::nullopt : std::optional<std::string>(sounds),
                            .bindingsReadOnly = scenario.bindingsReadOnly});
  }
  layout_ = BuildHostMemory(scenario, memory_);
}

void Win32Host::Load() {
  patched_.clear();
  const HHOOK answerer = StartAnsweringDialogs();
  module_ = LoadLibraryA((folder_ + "\\Modules\\Varolen2004.dll").c_str());
  if (module_ == nullptr) throw std::runtime_error("LoadLibrary failed: " + std::to_string(GetLastError()));
  StopAnsweringDialogs(answerer);
  answerer_ = StartAnsweringDialogs();

  auto* imports = reinterpret_cast<varolen::ImportTableRecord*>(GetProcAddress(module_, "ImportTable"));
  linkage_ = reinterpret_cast<varolen::LinkageRecord*>(GetProcAddress(module_, "Linkage"));
  if (imports == nullptr || linkage_ == nullptr)
    throw std::runtime_error("the module does not export its linkage");
  LinkPanelServices(*imports);
  std::snprintf(linkageWords_, sizeof linkageWords_, "linkage: %#x %#x %#x %#x", linkage_->moduleId,
                linkage_->flags, linkage_->reserved, linkage_->version);
  linkage_->init();
  patched_ = RedirectImports(module_);
}

void Win32Host::Unload() {
  if (linkage_ == nullptr) return;
  linkage_->deinit();
  FreeLibrary(module_);
  linkage_ = nullptr;
  StopAnsweringDialogs(answerer_);
  answerer_ = nullptr;
}

std::vector<std::string> Win32Host::ReportLines() const {
  std::vector<std::string> lines = {"host: win32", linkageWords_};
  for (const std::string& name : patched_) lines.push_back("patched: " + name);
  for (const std::string& line : frameCost_.Lines(module_ != nullptr)) lines.push_back(line);
  const LookupStack& lookups = Input.lookups;
  lines.push_back("lookup_stack: " + std::string(lookups.unbalanced == 0 ? "balanced" : "unbalanced") + ", " +
                  std::to_string(lookups.calls) + " calls, " + std::to_string(lookups.neighbours) +
                  " for neighbouring records, " + std::to_string(lookups.unbalanced) + " off");
  return lines;
}

void Win32Host::SetClock(std::uint32_t milliseconds) {
  // In real time the frames keep pace with the wall clock, so that sounds play out.
  if (realTime_ && Input.clock != 0 && milliseconds > Input.clock) Sleep(milliseconds - Input.clock);
  Input.clock = milliseconds;
}

void Win32Host::SetFlightState(const FlightState& state) { Input.flight = state; }

void Win32Host::SetKeyState(int virtualKey, bool down) {
  SHORT& state = Input.keys[virtualKey & 0xFF];
  state = static_cast<SHORT>((down ? 0x8000 : 0) | (state & 1));
}

void Win32Host::SetKeyToggled(int virtualKey, bool on) {
  SHORT& state = Input.keys[virtualKey & 0xFF];
  state = static_cast<SHORT>((state & 0x8000) | (on ? 1 : 0));
}

void Win32Host::SetCursor(int x, int y) { Input.cursor = {x, y}; }

int Win32Host::PointerShape() { return Input.pointerShown; }

bool Win32Host::Post(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  LARGE_INTEGER start, end, frequency;
  const long queries = Input.virtualQueries;
  QueryPerformanceCounter(&start);
  const bool consumed = windows_.Post(target, message, wParam, lParam);
  QueryPerformanceCounter(&end);
  if (message == kFrame) {
    QueryPerformanceFrequency(&frequency);
    frameCost_.microseconds.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                      static_cast<double>(frequency.QuadPart));
    frameCost_.queries.push_back(Input.virtualQueries - queries);
  }
  return consumed;
}

bool Win32Host::Send(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return windows_.Send(target, message, wParam, lParam);
}

std::vector<std::string> Win32Host::MessageBoxes() const { return User.messageBoxes; }

std::vector<std::string> Win32Host::DialogLines() const { return User.dialogLines; }

}  // namespace simhost::win32
