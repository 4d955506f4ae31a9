#include "native_host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cockpit/body_motion.h"
#include "cockpit/view_update.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "platform/desktop.h"
#include "platform/sim/sim_platform.h"
#include "shell/lifecycle.h"
#include "simulator_folder.h"
#include "sound/sound_effects.h"
#include "tracker/head_tracker.h"

namespace simhost {

namespace {

namespace sim = varolen::sim;

class NativeHost : public Host {
 public:
  NativeHost(const Scenario& scenario, const std::string& folder) {
    ResetModuleAndPlatform();
    PrepareSimulatorFolder(folder, {.module = std::nullopt,
                                    .bindings = scenario.bindings,
                                    .sounds = std::string(VAROLEN_SOUND_FOLDER),
                                    .bindingsReadOnly = scenario.bindingsReadOnly});
    // Windows paths inside the module, over a real folder of this machine.
    sim::SetModuleFilePath(folder + "\\Modules\\Varolen2004.dll");
    for (const auto& [name, text] : scenario.registry)
      sim::SetRegistryText(varolen::kSettingsKeyPath, name, text);
    sim::AnswerFileDialogs(scenario.fileDialogAnswer);
    std::vector<sim::DialogAnswer> answers;
    for (const DialogScript& script : scenario.dialogs)
      answers.push_back({script.texts, script.clicks, script.commands});
    sim::AnswerModalDialogs(std::move(answers));
    if (scenario.mainWindow) main_ = sim::CreateHostWindow("FS98MAIN", scenario.menuPopups);
    view_ = sim::CreateHostWindow("FS98CHILD");
    layout_ = BuildHostMemory(scenario, memory_);
  }

  HostMemoryReader& Memory() override { return memory_; }
  HostMemoryWriter& Writer() override { return memory_; }
  const HostLayout& Layout() const override { return layout_; }
  bool HasMainWindow() const override { return main_ != 0; }
  void SetClock(std::uint32_t milliseconds) override { sim::SetClock(milliseconds); }
  void SetFlightState(const FlightState& state) override {
    for (const HostVariableFact& variable : kHostVariables)
      sim::SetHostVariable(variable.id, variable.value(state));
  }
  void SetKeyState(int virtualKey, bool down) override { sim::SetKeyHeld(virtualKey, down); }
  void SetKeyToggled(int virtualKey, bool on) override { sim::SetKeyToggled(virtualKey, on); }
  void SetCursor(int x, int y) override { sim::SetCursorPosition(x + kScreenOffset, y + kScreenOffset); }
  int PointerShape() override { return sim::PointerShown(); }

  bool Post(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    const auto window = target == Target::MainWindow ? main_ : view_;
    return sim::TakeThroughHooks(window, message, wParam, lParam).message == 0;
  }

  // As on Windows, a sent message reaches the window whatever the
  // WH_CALLWNDPROC hook did to its record: the host never sees it consumed.
  bool Send(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    sim::SendThroughHooks(target == Target::MainWindow ? main_ : view_, message, wParam, lParam);
    return false;
  }

  std::vector<MenuEntry> OpenModuleMenu() override {
    std::vector<MenuEntry> entries;
    if (main_ == 0) return entries;
    sim::SendThroughHooks(main_, kInitMenu, sim::MenuBar(main_));
    const auto popup = varolen::platform::SubMenuAt(sim::MenuBar(main_), 3);
    if (popup == 0 || sim::MenuItems(popup).empty()) return entries;
    const auto& last = sim::MenuItems(popup).back();
    if (last.kind != sim::MenuItem::Kind::Popup) return entries;
    for (const sim::MenuItem& item : sim::MenuItems(last.popup)) {
      entries.push_back({item.id, item.text, item.checked, item.kind == sim::MenuItem::Kind::Separator});
    }
    return entries;
  }

  int HostPopupItemCount() override {
    const auto popup = varolen::platform::SubMenuAt(sim::MenuBar(main_), 3);
    return popup != 0 ? varolen::platform::MenuItemCount(popup) : 0;
  }

  std::string SoundsPlaying() override {
    std::string playing;
    for (int slot = 0; slot < varolen::kSoundSlotCount; ++slot) {
      const varolen::SoundSlot& entry = varolen::SoundSlots[slot];
      if (!entry.playing || !varolen::CameraSettings.SoundOn) continue;
      char text[32];
      std::snprintf(text, sizeof text, "%s%d:%.2f", playing.empty() ? "" : " ", slot, entry.volume);
      playing += text;
    }
    return playing;
  }

  std::vector<std::string> MessageBoxes() const override {
    std::vector<std::string> shown = sim::MessageBoxes();
    for (const auto& dialog : sim::FileDialogsShown()) shown.push_back("file dialog " + dialog.title);
    return shown;
  }

  void HoldTrackerBlock(bool hold) override {
    if (hold) {
      sim::StartHeadTracker();
    } else {
      sim::StopHeadTracker();
    }
  }
  void StoreTrackerWord(std::uint32_t offset, std::uint32_t word) override {
    sim::WriteHeadTrackerWord(offset, word);
  }
  std::string TrackerSeen() override {
    const varolen::HeadTrackerRecord& t = varolen::HeadTracker;
    const varolen::TrackerOffset& a = t.applied;
    char text[200];
    std::snprintf(text, sizeof text, "%d,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f", static_cast<int>(t.state), a.heading,
                  a.pitch, a.bank, a.x, a.y, a.z);
    return text;
  }
  std::string MotionAdded() override {
    const varolen::Angles& added = varolen::CockpitViewState.WrittenMotion;
    const varolen::Vec3& eye = varolen::CockpitViewState.WrittenBodyEye;
    char text[160];
    std::snprintf(text, sizeof text, "%.6f,%.6f,%.6f,%.5f,%.5f,%.4f", added.pitch, added.heading, added.bank,
                  eye.x, eye.y, varolen::BodyMotion.loadFactor);
    return text;
  }

  std::vector<std::string> DialogLines() const override {
    std::vector<std::string> lines;
    for (const sim::ModalDialogShown& dialog : sim::ModalDialogsShown()) {
      lines.push_back(DialogLine(DialogCaption(dialog.templateId), dialog.controls, dialog.outcome));
    }
    return lines;
  }

 private:
  SimulatedHostMemory memory_;
  HostLayout layout_;
  sim::WindowHandle main_ = 0;
  sim::WindowHandle view_ = 0;
};

}  // namespace

void SimulatedHostMemory::Map(HostAddress base, std::uint32_t size) { sim::MapHostRegion(base, size); }

void SimulatedHostMemory::Write(HostAddress address, const void* bytes, std::uint32_t size) {
  std::memcpy(sim::HostBytes(address, size), bytes, size);
}

void SimulatedHostMemory::Read(HostAddress address, void* bytes, std::uint32_t size) {
  std::memcpy(bytes, sim::HostBytes(address, size), size);
}

void ResetModuleAndPlatform() {
  varolen::ResetModuleState();
  sim::ResetPlatform();
}

std::unique_ptr<Host> StartNativeHost(const Scenario& scenario, const std::string& folder) {
  auto host = std::make_unique<NativeHost>(scenario, folder);
  varolen::ModuleStartup();
  return host;
}

void StopNativeHost(Host& /*host*/) { varolen::ModuleShutdown(); }

std::vector<std::string> RegistryLines() {
  std::vector<std::string> lines;
  for (const std::string& name : sim::RegistryValueNames(varolen::kSettingsKeyPath)) {
    lines.push_back("registry: " + name + "=" +
                    sim::RegistryText(varolen::kSettingsKeyPath, name).value_or(""));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace simhost
