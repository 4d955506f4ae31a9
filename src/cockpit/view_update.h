// The cockpit view update: finds the host's current view, takes over what the
// host or the user changed, moves the eye and the view angles, adds the head
// motion, and writes the record back.
#pragma once

#include <cstdint>
#include <cstring>

#include "cockpit/cockpit_controller.h"

namespace varolen {

// 1 when a virtual-cockpit or spot view was processed, else 0. `detectHostChanges`
// is 1 for the frame's tick, 0 for calls right after the module changed the view.
int UpdateCockpitView(CockpitControllerRecord& controller, int detectHostChanges);

// With the module's cockpit view off ("Internal pilot view" unchecked), the
// tracked head alone goes onto the host's own virtual-cockpit view: the host's
// changes are followed, no head motion or keys are added, and the record is
// written only while the head's offset is not zero or the record still holds
// some of it. 1 when the record was written.
int UpdateTrackedHeadView(CockpitControllerRecord& controller);
// False while there is no head to put into the host's view or to take out of it.
bool TrackedHeadToWrite(const CockpitControllerRecord& controller);

// The view update's host variable records as a freshly loaded module has them.
void ResetViewVariables();

// Starts a move to the controller's targets that arrives in 0.5 s of frames.
void BeginViewTransition(CockpitControllerRecord& controller);

// A field of a view record held in the module's memory.
template <typename Value>
Value RecordField(const std::uint8_t* record, std::uint32_t offset) {
  Value value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

template <typename Value>
void SetRecordField(std::uint8_t* record, std::uint32_t offset, Value value) {
  std::memcpy(record + offset, &value, sizeof value);
}

}  // namespace varolen
