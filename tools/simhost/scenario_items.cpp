#include "scenario_items.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

namespace simhost {

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
  reader.Number("rudder", frame.rudder);
  reader.Done();
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
  reader.Done();
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
  reader.Done();
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
  reader.Done();
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
  reader.Done();
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
  reader.Done();
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
  reader.Done();
}

void ReadTrackerEvent(const std::string& file, const toml::table& table, const std::string& where,
                      TrackerEventAt& event) {
  TableReader reader(file, table, where);
  reader.Number("time", event.time);
  std::string name;
  reader.Text("event", name);
  reader.Done();
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

}  // namespace simhost
