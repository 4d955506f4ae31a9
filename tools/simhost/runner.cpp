#include "runner.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "host/host_layout.h"
#include "keyboard_writer.h"
#include "tracker_driver.h"
#include "ui/dialog_resources.h"

namespace simhost {

namespace {

// Check marks of the module's menu: the settings a user can see.
struct SettingColumn {
  const char* name;
  std::uint32_t id;
};
constexpr SettingColumn kSettingColumns[] = {
    {"fly_by", 30720},     {"approach", 30721},      {"internal_view", 30723}, {"external_view", 30724},
    {"wheel_zoom", 30725}, {"mouse_in_spot", 30726}, {"sound", 30727},         {"head_tracker", 30732},
};

std::intptr_t PointParameter(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}

class Player {
 public:
  Player(Host& host, RunSummary& summary, int currentView, bool numLock)
      : host_(host),
        summary_(summary),
        currentView_(currentView),
        keyboard_(
            [this](const KeyMessage& key) {
              Post(Target::ViewWindow, key.message, key.virtualKey, key.lParam);
            },
            [&host](int key, bool down) { host.SetKeyState(key, down); }) {
    keyboard_.SetNumLock(numLock);
    host_.SetKeyToggled(kNumLockKey, numLock);
  }

  void Deliver(const InputEvent& input) {
    ++summary_.inputs;
    switch (input.kind) {
      case InputKind::KeyTap:
        Key(input, true, true);
        break;
      case InputKind::KeyDown:
        Key(input, true, false);
        break;
      case InputKind::KeyUp:
        Key(input, false, true);
        break;
      case InputKind::MouseMove:
        x_ = input.x;
        y_ = input.y;
        host_.SetCursor(x_, y_);
        Post(Target::ViewWindow, kMouseMove, 0, PointParameter(x_, y_));
        break;
      case InputKind::Wheel:
        Post(Target::ViewWindow, kMouseWheel, static_cast<std::uint32_t>(input.notches * 120) << 16,
             PointParameter(x_, y_));
        break;
      case InputKind::ButtonDown:
      case InputKind::ButtonUp: {
        static constexpr std::uint32_t kDown[] = {0x201, 0x204, 0x207};
        const std::uint32_t message = kDown[input.button] + (input.kind == InputKind::ButtonUp ? 1 : 0);
        Post(Target::ViewWindow, message, 0, PointParameter(x_, y_));
        break;
      }
      case InputKind::MenuCommand:
        Menu(input);
        break;
      case InputKind::SwitchView:
        SwitchCurrentView(host_.Writer(), host_.Layout(), input.view);
        currentView_ = input.view;
        break;
    }
  }

  // The view record the host shows now.
  std::size_t CurrentView() const { return static_cast<std::size_t>(currentView_); }

  void Post(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
            bool sent = false) {
    const bool consumed =
        sent ? host_.Send(target, message, wParam, lParam) : host_.Post(target, message, wParam, lParam);
    if (consumed) ++summary_.consumed;
  }

 private:
  // The event's modifiers are pressed before it and let go after it, those
  // the user holds as keys of their own staying down.
  void Key(const InputEvent& input, bool press, bool release) {
    const struct {
      bool wanted;
      int key;
    } modifiers[] = {{input.control, kControlKey}, {input.shift, kShiftKey}, {input.alt, kAltKey}};
    bool pressed[3] = {};
    for (int index = 0; index < 3; ++index) {
      pressed[index] = modifiers[index].wanted && !keyboard_.Held(modifiers[index].key);
      if (pressed[index]) keyboard_.Press(modifiers[index].key);
    }
    if (press) keyboard_.Press(input.virtualKey);
    if (release) keyboard_.Release(input.virtualKey);
    for (int index = 2; index >= 0; --index) {
      if (pressed[index]) keyboard_.Release(modifiers[index].key);
    }
  }

  // A user opens the menu and clicks the item by its text.
  void Menu(const InputEvent& input) {
    for (const MenuEntry& entry : host_.OpenModuleMenu()) {
      if (!entry.separator && entry.text == input.menuText) {
        Post(Target::MainWindow, kCommand, entry.id, 0, input.sent);
        return;
      }
    }
    summary_.problems.push_back("no menu item \"" + input.menuText + "\" at " + std::to_string(input.time) +
                                " s");
  }

  Host& host_;
  RunSummary& summary_;
  int currentView_;
  int x_ = 0, y_ = 0;
  KeyboardWriter keyboard_;
};

// What the trace shows of one frame.
struct FrameRow {
  long frame;
  double time;
  std::uint32_t clock;
  FlightState state;
  ObserverPosition observer;
  ViewRecordState view;
  int pointer;
  HostViewPosition pilot;
  int settings[std::size(kSettingColumns)];
  long inputs, consumed;
  std::string sounds, pose, tracker;
};

// The trace's columns: each name (a group of names where the host hands the
// values over as one text) with how its value is written.
struct TraceColumn {
  const char* name;
  void (*put)(std::FILE* trace, const FrameRow& row);
};
constexpr TraceColumn kTraceColumns[] = {
    {"frame", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%ld", r.frame); }},
    {"time", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.4f", r.time); }},
    {"clock", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%u", r.clock); }},
    {"latitude", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.9f", r.state.latitude); }},
    {"longitude", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.9f", r.state.longitude); }},
    {"altitude", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.3f", r.state.altitude); }},
    {"ground_elevation",
     [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.3f", r.state.groundElevation); }},
    {"pitch", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.4f", r.state.pitch); }},
    {"bank", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.4f", r.state.bank); }},
    {"heading", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.4f", r.state.heading); }},
    {"speed", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.3f", r.state.speed); }},
    {"on_ground", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.state.onGround ? 1 : 0); }},
    {"observer_latitude",
     [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.9f", r.observer.latitude); }},
    {"observer_longitude",
     [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.9f", r.observer.longitude); }},
    {"observer_altitude",
     [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.0f", r.observer.altitude); }},
    {"view_kind", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.view.kind); }},
    {"eye_x", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.eye[0]); }},
    {"eye_y", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.eye[1]); }},
    {"eye_z", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.eye[2]); }},
    {"view_pitch", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.pitch); }},
    {"view_heading", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.heading); }},
    {"view_bank", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.bank); }},
    {"heading_word", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.headingWord); }},
    {"zoom", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.6f", r.view.zoom); }},
    {"pointer", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.pointer); }},
    {"pilot_latitude", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.9f", r.pilot.latitude); }},
    {"pilot_longitude", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.9f", r.pilot.longitude); }},
    {"pilot_altitude", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%.3f", r.pilot.altitude); }},
    {"fly_by", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[0]); }},
    {"approach", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[1]); }},
    {"internal_view", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[2]); }},
    {"external_view", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[3]); }},
    {"wheel_zoom", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[4]); }},
    {"mouse_in_spot", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[5]); }},
    {"sound", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[6]); }},
    {"head_tracker", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%d", r.settings[7]); }},
    {"inputs", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%ld", r.inputs); }},
    {"consumed", [](std::FILE* f, const FrameRow& r) { std::fprintf(f, "%ld", r.consumed); }},
    {"sounds", [](std::FILE* f, const FrameRow& r) { std::fputs(r.sounds.c_str(), f); }},
    {"head_yaw_left,head_pitch_down,head_roll_left,head_x_left,head_y_up,head_z_back",
     [](std::FILE* f, const FrameRow& r) { std::fputs(r.pose.c_str(), f); }},
    {"tracker_state,tracker_heading,tracker_pitch,tracker_bank,tracker_x,tracker_y,tracker_z",
     [](std::FILE* f, const FrameRow& r) { std::fputs(r.tracker.c_str(), f); }},
};
static_assert(std::size(kSettingColumns) == 8, "a trace column for each setting");

void WriteHeader(std::FILE* trace) {
  for (const TraceColumn& column : kTraceColumns)
    std::fprintf(trace, "%s%s", &column == kTraceColumns ? "" : ",", column.name);
  std::fputc('\n', trace);
}

void WriteRow(std::FILE* trace, const FrameRow& row) {
  for (const TraceColumn& column : kTraceColumns) {
    if (&column != kTraceColumns) std::fputc(',', trace);
    column.put(trace, row);
  }
  std::fputc('\n', trace);
}

// -1 for a setting whose menu item the host could not read.
void ReadSettings(Host& host, int (&settings)[std::size(kSettingColumns)]) {
  const std::vector<MenuEntry> menu = host.OpenModuleMenu();
  for (std::size_t index = 0; index < std::size(kSettingColumns); ++index) {
    settings[index] = -1;
    for (const MenuEntry& entry : menu) {
      if (entry.id == kSettingColumns[index].id) settings[index] = entry.checked ? 1 : 0;
    }
  }
}

}  // namespace

RunSummary RunScenario(const Scenario& scenario, Host& host, std::FILE* trace,
                       const std::function<void(double)>& progress, std::FILE* motion) {
  RunSummary summary;
  Player player(host, summary, scenario.currentView, scenario.numLock);
  WriteHeader(trace);
  if (motion != nullptr)
    std::fputs("frame,time,added_pitch,added_heading,added_bank,added_eye_x,added_eye_y,load_factor\n",
               motion);
  const long frames = std::lround(scenario.duration * scenario.frameRate);
  int settings[std::size(kSettingColumns)];
  ReadSettings(host, settings);
  std::size_t nextInput = 0;
  TrackerDriver tracker(scenario.tracker, host);

  for (long frame = 0; frame < frames; ++frame) {
    const double time = static_cast<double>(frame) / scenario.frameRate;
    const auto elapsed = static_cast<std::uint32_t>(std::llround(time * 1000.0));
    host.SetClock(scenario.startClock + elapsed);
    const FlightState state = FlightStateAt(scenario, time);
    host.SetFlightState(state);

    const long consumedBefore = summary.consumed;
    const long inputsBefore = summary.inputs;
    bool delivered = false;
    while (nextInput < scenario.inputs.size() && scenario.inputs[nextInput].time <= time) {
      player.Deliver(scenario.inputs[nextInput++]);
      delivered = true;
    }
    if (delivered) ReadSettings(host, settings);
    tracker.RunUntil(time);

    player.Post(host.HasMainWindow() ? Target::MainWindow : Target::ViewWindow, kFrame, 0, 0);

    FrameRow row = {frame,
                    time,
                    scenario.startClock + elapsed,
                    state,
                    ReadObserver(host.Memory()),
                    ReadViewRecord(host.Memory(), host.Layout().viewRecords[player.CurrentView()]),
                    host.PointerShape(),
                    ReadHostViewPosition(host.Memory()),
                    {},
                    summary.inputs - inputsBefore,
                    summary.consumed - consumedBefore,
                    host.SoundsPlaying(),
                    tracker.PoseColumns(),
                    host.TrackerSeen()};
    std::copy(std::begin(settings), std::end(settings), std::begin(row.settings));
    WriteRow(trace, row);
    if (motion != nullptr) std::fprintf(motion, "%ld,%.4f,%s\n", frame, time, host.MotionAdded().c_str());

    ++summary.frames;
    if (progress && frame % 256 == 0) progress(static_cast<double>(frame) / static_cast<double>(frames));
  }
  summary.finalMenu = host.OpenModuleMenu();
  summary.hostPopupItems = host.HostPopupItemCount();
  if (progress) progress(1.0);
  return summary;
}

std::string DialogCaption(int templateId) {
  return templateId == VAROLEN_SETUP_DIALOG    ? VAROLEN_SETUP_CAPTION
         : templateId == VAROLEN_ABOUT_DIALOG  ? VAROLEN_ABOUT_CAPTION
         : templateId == VAROLEN_MOTION_DIALOG ? VAROLEN_MOTION_CAPTION
                                               : "dialog " + std::to_string(templateId);
}

std::string DialogLine(const std::string& caption, const std::string& controls, const std::string& outcome) {
  return "dialog: " + caption + " shows " + (controls.empty() ? "-" : controls) + "; " + outcome;
}

void WriteSummary(const Scenario& scenario, const RunSummary& run,
                  const std::vector<std::string>& messageBoxes, const std::vector<std::string>& extraLines,
                  std::FILE* out) {
  std::fprintf(out, "scenario: %s\n", scenario.file.c_str());
  std::fprintf(out, "frames: %ld\n", run.frames);
  std::fprintf(out, "duration: %.3f\n", static_cast<double>(run.frames) / scenario.frameRate);
  std::fprintf(out, "inputs: %ld\n", run.inputs);
  std::fprintf(out, "consumed: %ld\n", run.consumed);
  for (const std::string& text : messageBoxes) std::fprintf(out, "message_box: %s\n", text.c_str());
  for (const MenuEntry& entry : run.finalMenu) {
    if (entry.separator) {
      std::fputs("menu: -\n", out);
    } else {
      std::fprintf(out, "menu: %u %s%s\n", entry.id, entry.text.c_str(), entry.checked ? " [checked]" : "");
    }
  }
  std::fprintf(out, "host_popup_items: %d\n", run.hostPopupItems);
  for (const std::string& line : extraLines) std::fprintf(out, "%s\n", line.c_str());
  for (const std::string& problem : run.problems) std::fprintf(out, "problem: %s\n", problem.c_str());
}

}  // namespace simhost
