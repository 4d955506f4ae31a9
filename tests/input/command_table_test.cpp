// The binding file names the commands as it always has: the mouse and the
// walking pilot's by the whole name (case counts), the module's others by
// their word anywhere in the name, the first found in a fixed order, a
// preset's digit at a fixed place of the name. The rule is written out here
// from the binding file's format and held against what the reader resolves,
// for every command name dressed in every way, and for the fuzz corpus.
#include "input/command_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "input/key_bindings.h"

namespace varolen {
namespace {

const std::pair<const char*, Command> kWholeNames[] = {
    {"ButtonClickLeft", Command::ButtonClickLeft},
    {"ButtonClickRight", Command::ButtonClickRight},
    {"ToggleMouseLook", Command::ToggleMouseLook},
    {"PilotForward", Command::PilotForward},
    {"PilotBackward", Command::PilotBackward},
    {"PilotStepRight", Command::PilotStepRight},
    {"PilotStepLeft", Command::PilotStepLeft},
    {"PilotHeadRight", Command::PilotHeadRight},
    {"PilotHeadLeft", Command::PilotHeadLeft},
    {"PilotHeadUp", Command::PilotHeadUp},
    {"PilotHeadDown", Command::PilotHeadDown},
    {"PilotCrouch", Command::PilotCrouch},
    {"PilotUp", Command::PilotUp},
    {"PilotDown", Command::PilotDown},
    {"TogglePilot", Command::TogglePilot},
};
// In the order they are looked for.
const std::pair<const char*, Command> kWords[] = {
    {"ToggleFlyBy", Command::ToggleFlyBy},
    {"ToggleHeadLatency", Command::ToggleHeadLatency},
    {"ToggleGroundTurbulence", Command::ToggleGroundTurbulence},
    {"ToggleBuffeting", Command::ToggleBuffeting},
    {"ToggleInternalView", Command::ToggleInternalView},
    {"ToggleExternalView", Command::ToggleExternalView},
    {"ToggleApproachView", Command::ToggleApproachView},
    {"ToggleWheelZoom", Command::ToggleWheelZoom},
    {"ToggleUseMouseInSpot", Command::ToggleUseMouseInSpot},
    {"ToggleHeadTracker", Command::ToggleHeadTracker},
    {"CentreHeadTracker", Command::CentreHeadTracker},
    {"Setup", Command::Setup},
    {"LoadPreset", Command::LoadPreset},
    {"SetCockpitView", Command::SetCockpitView},
    {"CockpitView", Command::CockpitView},
};

// The format's rule, on the name as a binding keeps it (at most 31 characters).
ResolvedCommand ByTheRule(const char (&name)[kCommandNameCapacity]) {
  for (const auto& [whole, command] : kWholeNames) {
    if (std::string(name) == whole) return {command, 0};
  }
  for (const auto& [word, command] : kWords) {
    if (std::string(name).find(word) == std::string::npos) continue;
    // SetCockpitView's digit is the name's 15th character, CockpitView's its 12th.
    const int at = command == Command::SetCockpitView ? 14 : command == Command::CockpitView ? 11 : -1;
    if (at < 0) return {command, 0};
    const int digit = static_cast<signed char>(name[at]) - '0';
    return {command, digit < 0 ? 0 : digit > 9 ? 9 : digit};
  }
  return {Command::None, 0};
}

void ExpectResolvedByTheRule(const KeyBinding& binding, const std::string& from) {
  const ResolvedCommand expected = ByTheRule(binding.commandName);
  EXPECT_EQ(binding.command, expected.command) << from << " (kept as " << binding.commandName << ")";
  EXPECT_EQ(binding.preset, expected.preset) << from;
}

TEST(CommandTable, EveryNameInEveryDressResolvesAsTheFormatSays) {
  std::vector<std::string> names;
  for (const auto& [name, command] : kWholeNames) names.emplace_back(name);
  for (const auto& [name, command] : kWords) names.emplace_back(name);
  for (int digit = 0; digit <= 9; ++digit) {
    names.push_back("CockpitView" + std::to_string(digit));
    names.push_back("SetCockpitView" + std::to_string(digit));
  }
  int checked = 0;
  for (const std::string& name : names) {
    std::string lower = name, upper = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string dresses[] = {
        name,
        "X" + name,
        name + "X",
        "Set" + name,
        name + "Setup",
        lower,
        upper,
        ",," + name,
        name + ",DOUBLE",
        "\x01\x02" + name,
        name + "\x7f",
        "My" + name + "7",
        std::string(20, 'Z') + name,  // cut at 31 characters
        name.substr(0, name.size() - 1),
    };
    for (const std::string& dressed : dresses) {
      ExpectResolvedByTheRule(ParseBinding((dressed + "=F1").c_str()), dressed);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 50 * 14);
}

TEST(CommandTable, TheFuzzCorpusAndTheShippedFileResolveAsTheFormatSays) {
  std::vector<std::filesystem::path> files = {VAROLEN_SOURCE_DIR "/data/Varolen2004.cfg"};
  for (const auto& entry :
       std::filesystem::directory_iterator(VAROLEN_SOURCE_DIR "/fuzz/corpus/binding_file"))
    files.push_back(entry.path());
  static KeyBinding storage[kBindingCapacity];
  int bindings = 0;
  for (const auto& path : files) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    KeyBindingTable table = {kBindingCapacity, 0, storage};
    ReadKeyBindingsFrom(file, "Keyboard", table);
    std::fclose(file);
    for (int index = 0; index < table.count; ++index) ExpectResolvedByTheRule(storage[index], path.string());
    bindings += table.count;
  }
  EXPECT_GT(bindings, 60);
}

}  // namespace
}  // namespace varolen
