// The one cockpit controller: everything the module knows about the host's
// current view, the head effects, mouse look and the walking pilot.
#pragma once

#include <cstdint>

#include "host/host_layout.h"
#include "input/key_bindings.h"

namespace varolen {

// Pitch, heading, bank in degrees.
struct Angles {
  double pitch;
  double heading;
  double bank;
};

struct Point3 {
  double x;
  double y;
  double z;
};

using CommandHandler = int (*)(int, int, KeyBinding* binding);

struct CockpitControllerRecord {
  // Host data blocks, found every frame.
  HostAddress G3dModule;
  HostAddress GlobalModule;
  HostAddress ModuleList;
  HostAddress ViewSets;
  HostAddress ViewSetSelector;
  HostAddress HostObjectList;
  HostAddress HostViewMatrix;
  HostAddress HostViewPosition;
  HostAddress HostViewOrientation;

  // Commands and clock.
  KeyBindingTable* ConfigBindingTable;
  CommandHandler CommandCallback;
  double TickTime;            // seconds
  double TickStep;            // seconds, at most 1.0
  std::uint32_t TickReading;  // the clock reading of the last tick, milliseconds

  // View state.
  std::uint8_t SavedView[kHostViewRecordSize];
  HostAddress SavedViewSource;  // the host record SavedView was taken over from; 0: none yet
  Point3 EyePosition;           // host eye units (1/256 of the record's eye words)
  Point3 TargetEyePosition;
  Point3 EyePositionRate;
  Angles ViewAngles;
  Angles TargetViewAngles;
  Angles ViewAngleRate;
  Angles WrittenViewAngles;
  Angles AircraftAttitude;
  Angles PrevAircraftAttitude;
  Angles LatencyOffset;
  Angles TurbOffset;
  Angles TurbTarget;
  Angles TurbRate;  // degrees per second
  double Zoom;
  double TargetZoom;
  double ZoomRate;
  double TurbTimer;    // seconds
  double BuffetLevel;  // 0.0 to 1.0
  double SpotPitch;
  double SpotHeading;
  double SpotZoom;
  double SpotDistance;

  // Walking pilot, mouse and input.
  std::uint8_t SavedCameraRecord[kHostViewRecordSize];
  std::int32_t PilotActive;
  std::int32_t PilotViewEntered;
  std::int32_t PilotPositionFromPreset;
  std::int32_t PilotRunning;
  double PilotLatitude;
  double PilotLongitude;
  double PilotAltitude;
  double PilotPitch;
  double PilotHeading;
  double PilotBank;
  double PilotHeadPitch;
  double PilotEyeHeight;
  double PilotZoom;
  double AircraftGroundAltitude;
  double PilotHeadBob;
  double PilotForwardSpeed;
  double PilotSideSpeed;
  double PilotRunSpeed;  // metres per second
  std::int32_t PilotForward;
  std::int32_t PilotBackward;
  std::int32_t PilotStepRight;
  std::int32_t PilotStepLeft;
  std::int32_t PilotHeadUp;
  std::int32_t PilotHeadDown;
  std::int32_t PilotHeadRight;
  std::int32_t PilotHeadLeft;
  std::int32_t PilotUp;
  std::int32_t PilotDown;
  std::int32_t PilotCrouch;
  double LatencyGain;
  double GroundTurbGain;
  double BuffetGain;
  double PickRay[6];  // origin x, y, z, unit direction x, y, z
  std::int32_t MouseLookOn;
  std::int32_t UseMouseInSpot;
  std::int32_t EnableWheelZoom;
  std::int32_t CursorOverClickArea;
  std::int32_t LastCursorX;  // screen pixels
  std::int32_t LastCursorY;
  std::int32_t InCockpitView;

  // Head tracking: the setting, and the tracker's offset as it went into the
  // record last written (taken out again when the host's changes are taken over).
  std::int32_t HeadTrackerOn;
  Angles WrittenTrackerAngles;
  Point3 WrittenTrackerEye;
};

extern CockpitControllerRecord CockpitController;

// The per-frame tick of the cockpit view and the walking pilot. Returns 1.
int TickCockpitController(CockpitControllerRecord& controller);

// The per-frame tick while the module's cockpit view is off: the tracked head
// alone, on the host's own view. Returns 1.
int TickTrackedHead(CockpitControllerRecord& controller);

// The controller and the view update's variable records as a freshly loaded
// module has them.
void ResetCockpitState();

}  // namespace varolen
