#include "trace.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace render {

namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
  return fields;
}

}  // namespace

bool ReadTrace(const std::string& path, std::vector<TraceFrame>& frames, std::string& error) {
  std::ifstream file(path);
  std::string line;
  if (!file || !std::getline(file, line)) {
    error = "cannot read " + path;
    return false;
  }
  std::map<std::string, std::size_t> column;
  const std::vector<std::string> names = Split(line);
  for (std::size_t index = 0; index < names.size(); ++index) column[names[index]] = index;
  for (const char* needed : {"time", "latitude", "view_kind", "eye_x", "view_heading", "pilot_latitude"}) {
    if (column.count(needed) == 0) {
      error = path + ": no column " + needed;
      return false;
    }
  }
  while (std::getline(file, line)) {
    const std::vector<std::string> fields = Split(line);
    const auto value = [&](const char* name) {
      const auto found = column.find(name);
      return found == column.end() || found->second >= fields.size()
                 ? 0.0
                 : std::atof(fields[found->second].c_str());
    };
    TraceFrame frame;
    frame.time = value("time");
    frame.latitude = value("latitude");
    frame.longitude = value("longitude");
    frame.altitude = value("altitude");
    frame.groundElevation = value("ground_elevation");
    frame.pitch = value("pitch");
    frame.bank = value("bank");
    frame.heading = value("heading");
    frame.observerLatitude = value("observer_latitude");
    frame.observerLongitude = value("observer_longitude");
    frame.observerAltitude = value("observer_altitude");
    frame.viewKind = static_cast<int>(value("view_kind"));
    frame.eye[0] = value("eye_x");
    frame.eye[1] = value("eye_y");
    frame.eye[2] = value("eye_z");
    frame.viewPitch = value("view_pitch");
    frame.viewHeading = value("view_heading");
    frame.viewBank = value("view_bank");
    frame.zoom = value("zoom");
    frame.pointer = static_cast<int>(value("pointer"));
    frame.pilotLatitude = value("pilot_latitude");
    frame.pilotLongitude = value("pilot_longitude");
    frame.pilotAltitude = value("pilot_altitude");
    frame.flyBy = value("fly_by") == 1.0;
    frame.approach = value("approach") == 1.0;
    frames.push_back(frame);
  }
  if (frames.empty()) {
    error = path + ": no frames";
    return false;
  }
  return true;
}

}  // namespace render
