// The scenario's records, each from its table: keyframes, views, inputs,
// dialogs, click areas, objects and the head tracker's poses and events.
#pragma once

#include <string>

#include "scenario.h"
#include "toml_table.h"

namespace simhost {

void ReadKeyframe(const std::string& file, const toml::table& table, const std::string& where,
                  Keyframe& frame);
void ReadView(const std::string& file, const toml::table& table, const std::string& where,
              ViewRecordSpec& view);
void ReadInput(const std::string& file, const toml::table& table, const std::string& where,
               InputEvent& input);
void ReadDialog(const std::string& file, const toml::table& table, const std::string& where,
                DialogScript& dialog);
void ReadClickArea(const std::string& file, const toml::table& table, const std::string& where,
                   ClickAreaSpec& area);
void ReadObject(const std::string& file, const toml::table& table, const std::string& where,
                SceneryObject& object);
void ReadHeadPose(const std::string& file, const toml::table& table, const std::string& where,
                  HeadPose& pose);
void ReadTrackerEvent(const std::string& file, const toml::table& table, const std::string& where,
                      TrackerEventAt& event);

}  // namespace simhost
