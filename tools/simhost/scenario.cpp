#include "scenario.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#define TOML_HEADER_ONLY 1
#define TOML_ENABLE_FORMATTERS 0
#include <toml++/toml.h>

namespace simhost {

namespace {

struct ScenarioError {
  std::string message;
};

// Reads the keys of one table, naming the file, line and key in every error,
// and refuses keys it does not know (a misspelt key would otherwise be ignored).
class TableReader {
 public:
  TableReader(const std::string& file, const toml::table& table, std::string where)
      : file_(file), table_(table), where_(std::move(where)) {}

  ~TableReader() noexcept(false) {
    if (std::uncaught_exceptions() > 0) return;
    for (const auto& [key, node] : table_) {
      if (!known_.count(std::string(key.str()))) Fail(node, std::string(key.str()), "unknown key");
    }
  }

  template <typename Value>
  void Number(const char* key, Value& out) {
    if (const toml::node* node = Find(key)) {
      if (auto value = node->value<double>()) {
        out = static_cast<Value>(*value);
      } else {
        Fail(*node, key, "expected a number");
      }
    }
  }
  void Boolean(const char* key, bool& out) {
    if (const toml::node* node = Find(key)) {
      if (auto value = node->value<bool>())
        out = *value;
      else
        Fail(*node, key, "expected true or false");
    }
  }
  bool Text(const char* key, std::string& out) {
    if (const toml::node* node = Find(key)) {
      if (auto value = node->value<std::string>()) {
        out = *value;
        return true;
      }
      Fail(*node, key, "expected a text");
    }
    return false;
  }
  void Triple(const char* key, double (&out)[3]) {
    if (const toml::node* node = Find(key)) {
      const toml::array* array = node->as_array();
      if (array == nullptr || array->size() != 3) Fail(*node, key, "expected three numbers");
      for (std::size_t index = 0; index < 3; ++index) {
        auto value = (*array)[index].value<double>();
        if (!value) Fail(*node, key, "expected three numbers");
        out[index] = *value;
      }
    }
  }
  void Pair(const char* key, int& first, int& second) {
    double values[3] = {};
    if (const toml::node* node = Find(key)) {
      const toml::array* array = node->as_array();
      if (array == nullptr || array->size() != 2) Fail(*node, key, "expected two numbers");
      for (std::size_t index = 0; index < 2; ++index) {
        auto value = (*array)[index].value<double>();
        if (!value) Fail(*node, key, "expected two numbers");
        values[index] = *value;
      }
      first = static_cast<int>(values[0]);
      second = static_cast<int>(values[1]);
    }
  }
  const toml::node* Find(const char* key) {
    known_.insert(key);
    return table_.get(key);
  }
  [[noreturn]] void Fail(const toml::node& node, const std::string& key, const std::string& what) const {
    std::ostringstream message;
    message << file_ << ':' << node.source().begin.line << ": " << where_
            << (where_.empty() || key.empty() ? "" : ".") << key << ": " << what;
    throw ScenarioError{message.str()};
  }

 private:
  const std::string& file_;
  const toml::table& table_;
  std::string where_;
  std::set<std::string> known_;
};

const toml::table* SubTable(TableReader& reader, const char* key) {
  const toml::node* node = reader.Find(key);
  if (node == nullptr) return nullptr;
  if (!node->is_table()) reader.Fail(*node, key, "expected a table");
  return node->as_table();
}

const toml::array* TableArray(TableReader& reader, const char* key) {
  const toml::node* node = reader.Find(key);
  if (node == nullptr) return nullptr;
  const toml::array* array = node->as_array();
  if (array == nullptr || !array->is_array_of_tables())
    reader.Fail(*node, key, "expected [[" + std::string(key) + "]] tables");
  return array;
}

void ReadKeyframe(const std::string& file, const toml::table& table, const std::string& where,
                  Keyframe& frame) {
  TableReader reader(file, table, where);
  reader.Number("time", frame.time);
  reader.Number("latitude", frame.latitude);
  reader.Number("longitude", frame.longitude);
  reader.Number("altitude", frame.altitude);
  reader.Number("pitch", frame.pitch);
  reader.Number("bank", frame.bank);
  reader.Number("heading", frame.heading);
  reader.Triple("velocity", frame.velocity);
  reader.Number("ground_elevation", frame.groundElevation);
  reader.Boolean("on_ground", frame.onGround);
  reader.Number("speed", frame.speed);
  reader.Number("wind", frame.wind);
  reader.Number("buffet", frame.buffet);
}

void ReadView(const std::string& file, const toml::table& table, const std::string& where,
              ViewRecordSpec& view) {
  TableReader reader(file, table, where);
  reader.Number("kind", view.kind);
  reader.Triple("eye_base", view.eyeBase);
  reader.Triple("eye_offset", view.eyeOffset);
  reader.Number("zoom", view.zoom);
  reader.Number("pitch", view.pitch);
  reader.Number("heading", view.heading);
}

void ReadInput(const std::string& file, const toml::table& table, const std::string& where,
               InputEvent& input) {
  TableReader reader(file, table, where);
  reader.Number("time", input.time);
  std::string text;
  int kinds = 0;
  const auto key = [&](const char* name, InputKind kind) {
    if (!reader.Text(name, text)) return;
    ++kinds;
    input.kind = kind;
    input.virtualKey = VirtualKeyOf(text);
    if (input.virtualKey == 0) reader.Fail(*reader.Find(name), name, "unknown key name '" + text + "'");
  };
  key("key", InputKind::KeyTap);
  key("key_down", InputKind::KeyDown);
  key("key_up", InputKind::KeyUp);
  if (reader.Find("mouse_move") != nullptr) {
    ++kinds;
    input.kind = InputKind::MouseMove;
    reader.Pair("mouse_move", input.x, input.y);
  }
  if (reader.Find("wheel") != nullptr) {
    ++kinds;
    input.kind = InputKind::Wheel;
    reader.Number("wheel", input.notches);
  }
  for (const char* name : {"button_down", "button_up"}) {
    if (!reader.Text(name, text)) continue;
    ++kinds;
    input.kind = name[7] == 'd' ? InputKind::ButtonDown : InputKind::ButtonUp;
    if (text == "left")
      input.button = 0;
    else if (text == "right")
      input.button = 1;
    else if (text == "middle")
      input.button = 2;
    else
      reader.Fail(*reader.Find(name), name, "expected left, right or middle");
  }
  if (reader.Text("menu", input.menuText)) {
    ++kinds;
    input.kind = InputKind::MenuCommand;
  }
  if (reader.Find("view") != nullptr) {
    ++kinds;
    input.kind = InputKind::SwitchView;
    reader.Number("view", input.view);
  }
  reader.Boolean("sent", input.sent);
  reader.Boolean("shift", input.shift);
  reader.Boolean("control", input.control);
  reader.Boolean("alt", input.alt);
  if (kinds != 1)
    reader.Fail(table, "",
                "expected exactly one of key, key_down, key_up, mouse_move, wheel, "
                "button_down, button_up, menu, view");
}

void ReadDialog(const std::string& file, const toml::table& table, const std::string& where,
                DialogScript& dialog) {
  TableReader reader(file, table, where);
  if (const toml::node* texts = reader.Find("texts")) {
    if (!texts->is_table()) reader.Fail(*texts, "texts", "expected a table of control identifiers and texts");
    for (const auto& [key, node] : *texts->as_table()) {
      const int id = std::atoi(std::string(key.str()).c_str());
      auto text = node.value<std::string>();
      if (id <= 0 || !text) reader.Fail(node, "texts", "expected \"identifier\" = \"text\"");
      dialog.texts.emplace_back(id, *text);
    }
  }
  if (const toml::node* clicks = reader.Find("clicks")) {
    const toml::array* array = clicks->as_array();
    if (array == nullptr) reader.Fail(*clicks, "clicks", "expected a list of control identifiers");
    for (const toml::node& click : *array) {
      auto id = click.value<int64_t>();
      if (!id) reader.Fail(click, "clicks", "expected a list of control identifiers");
      dialog.clicks.push_back(static_cast<int>(*id));
    }
  }
  if (const toml::node* commands = reader.Find("commands")) {
    const toml::array* array = commands->as_array();
    if (array == nullptr) reader.Fail(*commands, "commands", "expected a list such as [\"OK\"]");
    for (const toml::node& command : *array) {
      const std::string name = command.value<std::string>().value_or("");
      if (name == "OK" || name == "Close" || name == "Enter") {
        dialog.commands.push_back(1);
      } else if (name == "Cancel" || name == "Escape") {
        dialog.commands.push_back(2);
      } else if (name == "CloseBox") {
        dialog.commands.push_back(kCloseBox);
      } else {
        reader.Fail(command, "commands", "expected OK, Close, Enter, Cancel, Escape or CloseBox");
      }
    }
  }
}

void ReadClickArea(const std::string& file, const toml::table& table, const std::string& where,
                   ClickAreaSpec& area) {
  TableReader reader(file, table, where);
  reader.Triple("centre", area.centre);
  reader.Number("radius", area.radius);
  reader.Number("kind", area.kind);
  reader.Number("shape", area.shape);
  double events[3] = {1, 0, 0};
  reader.Triple("events", events);
  for (int index = 0; index < 3; ++index) area.events[index] = static_cast<std::uint32_t>(events[index]);
}

void ReadObject(const std::string& file, const toml::table& table, const std::string& where,
                SceneryObject& object) {
  TableReader reader(file, table, where);
  reader.Number("latitude", object.latitude);
  reader.Number("longitude", object.longitude);
  reader.Number("base", object.base);
  reader.Number("heading", object.heading);
  if (reader.Find("box") != nullptr) reader.Triple("box", object.size);
  if (reader.Find("ramp") != nullptr) {
    reader.Triple("ramp", object.size);
    object.ramp = true;
  }
  double grid = 1;
  reader.Number("grid", grid);
  if (!(grid >= 1 && grid <= 100)) reader.Fail(*reader.Find("grid"), "grid", "from 1 to 100");
  object.grid = static_cast<int>(grid);
}

void ReadHeadPose(const std::string& file, const toml::table& table, const std::string& where,
                  HeadPose& pose) {
  TableReader reader(file, table, where);
  reader.Number("time", pose.time);
  reader.Number("turned_left", pose.head.turnedLeft);
  reader.Number("looking_up", pose.head.lookingUp);
  reader.Number("tilted_left", pose.head.tiltedLeft);
  reader.Number("moved_left", pose.head.movedLeft);
  reader.Number("moved_up", pose.head.movedUp);
  reader.Number("moved_back", pose.head.movedBack);
}

void ReadTrackerEvent(const std::string& file, const toml::table& table, const std::string& where,
                      TrackerEventAt& event) {
  TableReader reader(file, table, where);
  reader.Number("time", event.time);
  std::string name;
  reader.Text("event", name);
  static const std::pair<const char*, TrackerEvent> kEvents[] = {{"started", TrackerEvent::Started},
                                                                 {"crashed", TrackerEvent::Crashed},
                                                                 {"stopped", TrackerEvent::Stopped},
                                                                 {"closed", TrackerEvent::Closed}};
  for (const auto& [text, value] : kEvents) {
    if (name == text) {
      event.event = value;
      return;
    }
  }
  reader.Fail(reader.Find("event") != nullptr ? *reader.Find("event") : static_cast<const toml::node&>(table),
              "event", "one of started, crashed, stopped, closed");
}

template <typename Item, typename ReadItem>
void ReadArray(const std::string& file, const toml::array* array, const char* name, std::vector<Item>& items,
               ReadItem read) {
  if (array == nullptr) return;
  for (std::size_t index = 0; index < array->size(); ++index) {
    items.emplace_back();
    read(file, *(*array)[index].as_table(), std::string(name) + "[" + std::to_string(index) + "]",
         items.back());
  }
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

  if (const toml::table* run = SubTable(top, "run")) {
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
  }

  if (const toml::table* host = SubTable(top, "host")) {
    TableReader reader(file, *host, "host");
    reader.Boolean("main_window", scenario.mainWindow);
    reader.Number("menu_popups", scenario.menuPopups);
    reader.Number("view_set_selector", scenario.viewSetSelector);
    reader.Number("current_view", scenario.currentView);
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
  }
  if (scenario.views.empty()) scenario.views.emplace_back();

  if (const toml::table* registry = SubTable(top, "registry")) {
    for (const auto& [key, node] : *registry) {
      auto text = node.value<std::string>();
      if (!text)
        TableReader(file, *registry, "registry").Fail(node, std::string(key.str()), "expected a text");
      scenario.registry.emplace_back(std::string(key.str()), *text);
    }
  }

  if (const toml::table* bindings = SubTable(top, "bindings")) {
    TableReader reader(file, *bindings, "bindings");
    std::string text;
    if (reader.Text("text", text)) scenario.bindings = text;
    if (reader.Text("file", text)) {
      // A binding file next to the scenario, or relative to it.
      const std::filesystem::path path = std::filesystem::path(file).parent_path() / text;
      std::ifstream in(path, std::ios::binary);
      if (!in) reader.Fail(*reader.Find("file"), "file", "cannot read " + path.string());
      scenario.bindings = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }

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

  ReadArray(file, TableArray(top, "dialog"), "dialog", scenario.dialogs, ReadDialog);
  ReadArray(file, TableArray(top, "click_area"), "click_area", scenario.clickAreas, ReadClickArea);
  ReadArray(file, TableArray(top, "object"), "object", scenario.objects, ReadObject);
  if (scenario.clickAreas.size() > 10000 || scenario.objects.size() > 5000) {
    top.Fail(root, "", "at most 10000 click areas and 5000 objects");
  }
  if (const toml::table* tracker = SubTable(top, "tracker")) {
    TableReader reader(file, *tracker, "tracker");
    TrackerScript script;
    ReadArray(file, TableArray(reader, "pose"), "tracker.pose", script.poses, ReadHeadPose);
    ReadArray(file, TableArray(reader, "event"), "tracker.event", script.events, ReadTrackerEvent);
    const auto byTime = [](const auto& a, const auto& b) { return a.time < b.time; };
    std::stable_sort(script.poses.begin(), script.poses.end(), byTime);
    std::stable_sort(script.events.begin(), script.events.end(), byTime);
    scenario.tracker = std::move(script);
  }
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
