// The substitute simulator's trace: one row a frame of what the host's memory
// held after the module's frame.
#pragma once

#include <string>
#include <vector>

namespace render {

struct TraceFrame {
  double time = 0;
  double latitude = 0, longitude = 0, altitude = 0;  // degrees, degrees, feet
  double groundElevation = 0;                        // feet
  double pitch = 0, bank = 0, heading = 0;           // degrees, as the host gives them
  double observerLatitude = 0, observerLongitude = 0, observerAltitude = 0;  // degrees, metres
  int viewKind = 0;
  double eye[3] = {};                                   // eye units, in the aircraft
  double viewPitch = 0, viewHeading = 0, viewBank = 0;  // the view record's rows, degrees
  double zoom = 1;
  int pointer = -1;
  double pilotLatitude = 0, pilotLongitude = 0, pilotAltitude = 0;  // the pilot's eye: degrees, metres
  bool flyBy = false, approach = false;
};

// Reads trace.csv; false with `error` set when it cannot.
bool ReadTrace(const std::string& path, std::vector<TraceFrame>& frames, std::string& error);

}  // namespace render
