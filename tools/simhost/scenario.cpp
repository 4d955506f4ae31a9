#include "scenario.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "scenario_items.h"
#include "toml_table.h"

namespace simhost {

namespace {

void ReadRun(const std::string& file, TableReader& top, Scenario& scenario) {
  const toml::table* run = SubTable(top, "run");
  if (run == nullptr) return;
  TableReader reader(file, *run, "run");
  reader.Number("duration", scenario.duration);
  reader.Number("frame_rate", scenario.frameRate);
  reader.Number("start_clock", scenario.startClock);
  reader.Boolean("real_time", scenario.realTime);
  if (scenario.duration <= 0 || scenario.duration > 7 * 24 * 3600) {
    reader.Fail(*reader.Find("duration"), "duration", "expected 0 to 604800 seconds");
  }
  if (scenario.frameRate < 1 || scenario.frameRate > 1000) {
    reader.Fail(*reader.Find("frame_rate"), "frame_rate", "expected 1 to 1000 frames per second");
  }
  reader.Done();
}

void ReadHost(const std::string& file, TableReader& top, Scenario& scenario) {
  if (const toml::table* host = SubTable(top, "host")) {
    TableReader reader(file, *host, "host");
    reader.Boolean("main_window", scenario.mainWindow);
    reader.Number("menu_popups", scenario.menuPopups);
    reader.Number("view_set_selector", scenario.viewSetSelector);
    reader.Number("current_view", scenario.currentView);
    reader.Boolean("num_lock", scenario.numLock);
    std::string answer;
    if (reader.Text("file_dialog_answer", answer)) scenario.fileDialogAnswer = answer;
    ReadArray(file, TableArray(reader, "view"), "host.view", scenario.views, ReadView);
    if (scenario.menuPopups < 0 || scenario.menuPopups > 16) {
      reader.Fail(*reader.Find("menu_popups"), "menu_popups", "expected 0 to 16");
    }
    if (scenario.views.size() > 64) reader.Fail(*reader.Find("view"), "view", "at most 64 view records");
    if (scenario.currentView < 0 ||
        scenario.currentView >= static_cast<int>(std::max<std::size_t>(1, scenario.views.size()))) {
      reader.Fail(*reader.Find("current_view"), "current_view", "no such view record");
    }
    reader.Done();
  }
  if (scenario.views.empty()) scenario.views.emplace_back();
}

void ReadRegistry(const std::string& file, TableReader& top, Scenario& scenario) {
  const toml::table* registry = SubTable(top, "registry");
  if (registry == nullptr) return;
  for (const auto& [key, node] : *registry) {
    auto text = node.value<std::string>();
    if (!text) TableReader(file, *registry, "registry").Fail(node, std::string(key.str()), "expected a text");
    scenario.registry.emplace_back(std::string(key.str()), *text);
  }
}

void ReadBindings(const std::string& file, TableReader& top, Scenario& scenario) {
  const toml::table* bindings = SubTable(top, "bindings");
  if (bindings == nullptr) return;
  TableReader reader(file, *bindings, "bindings");
  std::string text;
  if (reader.Text("text", text)) scenario.bindings = text;
  reader.Boolean("read_only", scenario.bindingsReadOnly);
  if (reader.Text("file", text)) {
    // A binding file next to the scenario, or relative to it.
    const std::filesystem::path path = std::filesystem::path(file).parent_path() / text;
    std::ifstream in(path, std::ios::binary);
    if (!in) reader.Fail(*reader.Find("file"), "file", "cannot read " + path.string());
    scenario.bindings = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  reader.Done();
}

void ReadPath(const std::string& file, TableReader& top, Scenario& scenario) {
  const toml::array* keyframes = TableArray(top, "aircraft");
  ReadArray(file, keyframes, "aircraft", scenario.path, ReadKeyframe);
  for (std::size_t index = 1; index < scenario.path.size(); ++index) {
    if (scenario.path[index].time > scenario.path[index - 1].time) continue;
    const toml::table& frame = *(*keyframes)[index].as_table();
    TableReader(file, frame, "aircraft[" + std::to_string(index) + "]")
        .Fail(frame.get("time") != nullptr ? *frame.get("time") : static_cast<const toml::node&>(frame),
              "time", "keyframes must follow each other in time");
  }
  if (scenario.path.empty()) scenario.path.emplace_back();
}

void ReadTracker(const std::string& file, TableReader& top, Scenario& scenario) {
  const toml::table* tracker = SubTable(top, "tracker");
  if (tracker == nullptr) return;
  TableReader reader(file, *tracker, "tracker");
  TrackerScript script;
  ReadArray(file, TableArray(reader, "pose"), "tracker.pose", script.poses, ReadHeadPose);
  ReadArray(file, TableArray(reader, "event"), "tracker.event", script.events, ReadTrackerEvent);
  reader.Done();
  const auto byTime = [](const auto& a, const auto& b) { return a.time < b.time; };
  std::stable_sort(script.poses.begin(), script.poses.end(), byTime);
  std::stable_sort(script.events.begin(), script.events.end(), byTime);
  scenario.tracker = std::move(script);
}

void ReadInputs(const std::string& file, TableReader& top, Scenario& scenario) {
  const toml::array* inputs = TableArray(top, "input");
  ReadArray(file, inputs, "input", scenario.inputs, ReadInput);
  for (std::size_t index = 0; index < scenario.inputs.size(); ++index) {
    const InputEvent& input = scenario.inputs[index];
    if (input.kind == InputKind::SwitchView &&
        (input.view < 0 || input.view >= static_cast<int>(scenario.views.size()))) {
      const toml::table& table = *(*inputs)[index].as_table();
      TableReader(file, table, "input[" + std::to_string(index) + "]")
          .Fail(*table.get("view"), "view", "no such view record");
    }
  }
  std::stable_sort(scenario.inputs.begin(), scenario.inputs.end(),
                   [](const InputEvent& a, const InputEvent& b) { return a.time < b.time; });
}

Scenario Read(const std::string& file) {
  toml::table root;
  try {
    root = toml::parse_file(file);
  } catch (const toml::parse_error& error) {
    std::ostringstream message;
    message << file << ':' << error.source().begin.line << ": " << error.description();
    throw ScenarioError{message.str()};
  }
  Scenario scenario;
  scenario.file = file;
  TableReader top(file, root, "");
  top.Text("title", scenario.title);
  ReadRun(file, top, scenario);
  ReadHost(file, top, scenario);
  ReadRegistry(file, top, scenario);
  ReadBindings(file, top, scenario);
  ReadPath(file, top, scenario);
  ReadArray(file, TableArray(top, "dialog"), "dialog", scenario.dialogs, ReadDialog);
  ReadArray(file, TableArray(top, "click_area"), "click_area", scenario.clickAreas, ReadClickArea);
  ReadArray(file, TableArray(top, "object"), "object", scenario.objects, ReadObject);
  if (scenario.clickAreas.size() > 10000 || scenario.objects.size() > 5000) {
    top.Fail(root, "", "at most 10000 click areas and 5000 objects");
  }
  ReadTracker(file, top, scenario);
  ReadInputs(file, top, scenario);
  top.Done();
  return scenario;
}

}  // namespace

std::optional<Scenario> LoadScenario(const std::string& path, std::string& error) {
  try {
    return Read(path);
  } catch (const ScenarioError& failure) {
    error = failure.message;
  }
  return std::nullopt;
}

int VirtualKeyOf(const std::string& name) {
  std::string key;
  for (char c : name) key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9')))
    return key[0];
  if (key.size() >= 2 && key[0] == 'F') {
    const int number = std::atoi(key.c_str() + 1);
    if (number >= 1 && number <= 12 && key == "F" + std::to_string(number)) return 0x6F + number;
  }
  if (key.rfind("NUMPAD_", 0) == 0 && key.size() == 8 && key[7] >= '0' && key[7] <= '9')
    return 0x60 + key[7] - '0';
  static const std::pair<const char*, int> kNamed[] = {
      {"TAB", 0x09},    {"RETURN", 0x0D}, {"SHIFT", 0x10},   {"CONTROL", 0x11},   {"ALT", 0x12},
      {"ESCAPE", 0x1B}, {"SPACE", 0x20},  {"PAGE_UP", 0x21}, {"PAGE_DOWN", 0x22}, {"END", 0x23},
      {"HOME", 0x24},   {"LEFT", 0x25},   {"UP", 0x26},      {"RIGHT", 0x27},     {"DOWN", 0x28},
  };
  for (const auto& [keyName, code] : kNamed) {
    if (key == keyName) return code;
  }
  return 0;
}

}  // namespace simhost
