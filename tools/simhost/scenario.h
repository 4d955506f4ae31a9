// A scenario: what the substitute simulator plays for the module: the run's
// length and frame rate, the aircraft's path, the host's windows and view
// records, what the registry and the binding file hold at start, and the
// user's input over time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "opentrack_writer.h"

namespace simhost {

// One point of the aircraft's path. Between keyframes every number is
// interpolated linearly (heading the short way round); the on-ground flag
// holds from one keyframe to the next.
struct Keyframe {
  double time = 0.0;             // seconds from the start of the run
  double latitude = 0.0;         // degrees, north positive
  double longitude = 0.0;        // degrees, east positive
  double altitude = 0.0;         // feet above sea level
  double pitch = 0.0;            // degrees, as the host gives it: positive nose down
  double bank = 0.0;             // degrees, as the host gives it: positive left wing down
  double heading = 0.0;          // degrees true
  double velocity[3] = {};       // body axes x right, y up, z forward; feet per second
  double groundElevation = 0.0;  // feet
  bool onGround = false;
  double speed = 0.0;       // knots
  double wind = 0.0;        // knots
  double buffet = 32767.0;  // the host's buffeting input; below 9830 the airframe buffets
  double rudder = 0.0;      // radians, positive right rudder
};

// One host view record, in the order of the host's window list.
struct ViewRecordSpec {
  std::int32_t kind = 2;   // 1 cockpit panel, 2 virtual cockpit, 4 spot, others the host's
  double eyeBase[3] = {};  // host eye units: x right, y up, z forward
  double eyeOffset[3] = {};
  double zoom = 1.0;
  double pitch = 0.0;    // degrees, positive down
  double heading = 0.0;  // degrees, to the right
};

enum class InputKind {
  KeyTap,
  KeyDown,
  KeyUp,
  MouseMove,
  Wheel,
  ButtonDown,
  ButtonUp,
  MenuCommand,
  SwitchView
};

struct InputEvent {
  double time = 0.0;
  InputKind kind = InputKind::KeyTap;
  int virtualKey = 0;
  bool shift = false, control = false, alt = false;
  int x = 0, y = 0;      // pointer, client pixels of the view window
  int notches = 0;       // wheel: positive away from the user
  int button = 0;        // 0 left, 1 right, 2 middle
  std::string menuText;  // the module's menu item to choose
  bool sent = false;     // delivered by SendMessage instead of through the queue
  int view = 0;          // the host makes this view record current
};

// A click area of the cockpit model (the "EVNT" list): a sphere in the cockpit
// frame (host eye units) that answers the mouse when it has a button event.
struct ClickAreaSpec {
  double centre[3] = {};
  double radius = 0.05;
  int kind = 1;                         // only kind 1 is clickable
  std::uint32_t events[3] = {1, 0, 0};  // host events of the left, right and third button
  std::uint32_t shape = 0;              // pointer-shape code; nonzero makes the 42-byte record
};

// A scenery object with collision geometry (a "BLCK" list): a box, or a ramp
// that rises from its south edge to its north edge, turned by its heading.
struct SceneryObject {
  double latitude = 0.0;  // degrees, the centre of its footprint
  double longitude = 0.0;
  double base = 0.0;             // metres above sea level
  double size[3] = {10, 3, 10};  // metres: east-west, height, north-south
  double heading = 0.0;          // degrees
  bool ramp = false;
  int grid = 1;  // the top as grid x grid squares, two triangles each
};

// The pilot's head at a moment, in words (see opentrack_writer.h): degrees
// turned left, looking up, tilted left; centimetres moved left, up, back.
// The scenario's tracker writes it into its block as opentrack does, 250
// poses a second.
struct HeadPose {
  double time = 0.0;
  HeadInWords head;
};

// What happens to the tracker: tracking starts (the block made if need be,
// its id 1, then poses); it crashes or hangs, its last pose and id standing
// still; it is stopped, one all-zero pose written; the tracker program is
// closed and lets its block go.
enum class TrackerEvent { Started, Crashed, Stopped, Closed };
struct TrackerEventAt {
  double time = 0.0;
  TrackerEvent event = TrackerEvent::Started;
};

struct TrackerScript {
  std::vector<HeadPose> poses;  // by time; the pose between them is interpolated
  std::vector<TrackerEventAt> events;
};

// The dialog's close box (the system command SC_CLOSE), which the dialog
// manager turns into Cancel; the simulated desktop knows it by the same number.
inline constexpr int kCloseBox = 0xF060;

// What the user does in one of the module's dialogs, in the order they open:
// types texts into edits, clicks buttons, then gives commands (1: OK, Close,
// Enter; 2: Cancel, Escape).
struct DialogScript {
  std::vector<std::pair<int, std::string>> texts;
  std::vector<int> clicks;
  std::vector<int> commands;  // 1, 2, or kCloseBox
};

struct Scenario {
  std::string file;
  std::string title;
  double duration = 10.0;            // seconds
  int frameRate = 30;                // frames per second
  std::uint32_t startClock = 60000;  // the multimedia clock at the first frame, ms
  bool realTime = false;             // the Win32 host keeps pace with the clock (for sound)
  bool mainWindow = true;            // a window of class FS98MAIN exists
  int menuPopups = 4;                // pop-ups in its menu bar
  std::int32_t viewSetSelector = 4;
  int currentView = 0;                          // index into views
  bool numLock = true;                          // the keyboard's Num Lock, on as a desktop usually starts
  std::optional<std::string> fileDialogAnswer;  // what the user picks in file dialogs; none: cancel
  std::vector<ViewRecordSpec> views;
  std::vector<std::pair<std::string, std::string>> registry;  // value name, text
  std::optional<std::string> bindings;                        // text of Varolen2004.cfg
  bool bindingsReadOnly = false;                              // the binding file read-only
  std::vector<Keyframe> path;
  std::vector<InputEvent> inputs;  // by time
  std::vector<DialogScript> dialogs;
  std::vector<ClickAreaSpec> clickAreas;
  std::vector<SceneryObject> objects;
  std::optional<TrackerScript> tracker;  // a head tracker beside the simulator
};

// Reads a scenario file. On failure returns nothing and sets `error` to a
// message naming the file, the line and the key.
std::optional<Scenario> LoadScenario(const std::string& path, std::string& error);

// Virtual-key code of a key name ("F1", "A", "NUMPAD_3", "SPACE", ...), 0 if unknown.
int VirtualKeyOf(const std::string& name);

}  // namespace simhost
