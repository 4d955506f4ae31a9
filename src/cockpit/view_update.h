// The cockpit view update: finds the host's current view, takes over what the
// host or the user changed, moves the eye and the view angles, adds the head
// motion, and writes the record back.
#pragma once

#include <cstdint>

#include "cockpit/cockpit_controller.h"
#include "cockpit/motion.h"
#include "host/frame_input.h"
#include "host/host_layout.h"

namespace varolen {

// The virtual cockpit's and the spot camera's view as the module holds it.
struct CockpitViewRecord {
  std::uint8_t SavedView[kHostViewRecordSize];
  HostAddress SavedViewSource;  // the host record SavedView was taken over from; 0: none yet
  Vec3 EyePosition;             // host eye units (1/256 of the record's eye words)
  Vec3 TargetEyePosition;
  Vec3 EyePositionRate;
  Angles ViewAngles;
  Angles TargetViewAngles;
  Angles ViewAngleRate;
  Angles WrittenViewAngles;
  double Zoom;
  double TargetZoom;
  double ZoomRate;
  double SpotPitch;
  double SpotHeading;
  double SpotZoom;
  double SpotDistance;
  // The tracker's offset as it went into the record last written (taken out
  // again when the host's changes are taken over).
  Angles WrittenTrackerAngles;
  Vec3 WrittenTrackerEye;
  // The motion the module added to the view it wrote last: the head motion
  // with the motion options, without the tracked head; and the eye's move by
  // the body motion (taken out again, as the lean is, when the host's changes
  // are taken over).
  Angles WrittenMotion;
  Vec3 WrittenBodyEye;
};

// Written only by the view update and the verbs below.
extern const CockpitViewRecord& CockpitViewState;

// What a view update found and left: what the walking pilot and the frame's
// sounds go by.
struct CockpitViewUpdate {
  HostAddress view;    // the host's current view record, or 0
  bool processed;      // a virtual-cockpit or spot view was processed
  bool inCockpit;      // the host shows a cockpit view (the panel or the virtual cockpit)
  double buffetLevel;  // 0.0 to 1.0, as the head motion last worked it out
};

// The view moves on by the `tick`'s step with the `aircraft` as the host
// gives it: the frame's tick and snapshot (`detectHostChanges` true), or the
// last tick and a fresh snapshot right after the module changed the view
// between frames (false). While the pointer rests on a click area the head
// motion holds still.
CockpitViewUpdate UpdateCockpitView(const CockpitTickRecord& tick, const AircraftStateRecord& aircraft,
                                    bool detectHostChanges, bool pointerOnClickArea);

// With the module's cockpit view off ("Internal pilot view" unchecked), the
// tracked head alone goes onto the host's own virtual-cockpit view: the host's
// changes are followed, no head motion or keys are added, and the record is
// written only while the head's offset is not zero or the record still holds
// some of it. 1 when the record was written.
int UpdateTrackedHeadView();
// False while there is no head to put into the host's view or to take out of it.
bool TrackedHeadToWrite();

// Starts a move to the targets that arrives in the transition's time (0.5 s
// unless the motion options say otherwise), and runs one view update at once.
void BeginViewTransition(bool pointerOnClickArea);
// Sets the view's targets and moves there: at once when `atOnce`, else by a
// transition (a preset recalled).
void MoveCockpitViewTo(const ViewPlace& targets, bool atOnce, bool pointerOnClickArea);

// The pilot's own look, which the view holds (its targets follow, so that the
// view update does not glide back): the virtual cockpit's view turned by these
// degrees (its pitch within straight up and down) or zoomed to `zoom`, and the
// spot view's camera turned or zoomed likewise.
void TurnCockpitView(double heading, double pitch);
void ZoomCockpitView(double zoom);
void TurnSpotView(double heading, double pitch);
void ZoomSpotView(double zoom);

// The view as a freshly loaded module has it.
void ClearCockpitView();

}  // namespace varolen
