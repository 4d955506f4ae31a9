// The substitute simulator answers the module's look-ups in the host's units
// and signs, as the host-facts page gives them from the host's panel SDK.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "flight.h"

namespace simhost {
namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The page's table of variables: the rows after its marker, up to the first blank line.
std::vector<std::vector<std::string>> PageRows() {
  std::ifstream page(VAROLEN_SOURCE_DIR "/docs/host-facts.md");
  std::vector<std::vector<std::string>> rows;
  std::string line;
  bool inTable = false;
  while (std::getline(page, line)) {
    if (line.rfind("<!-- host-variables", 0) == 0) {
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    if (line.empty()) break;
    std::vector<std::string> cells;
    std::stringstream cellsOfLine(line.substr(1));
    for (std::string cell; std::getline(cellsOfLine, cell, '|');) cells.push_back(Trimmed(cell));
    if (cells.size() == 5 && cells[0] != "id" && cells[0].find("---") == std::string::npos)
      rows.push_back(cells);
  }
  return rows;
}

TEST(HostFacts, TheSimulatorsVariablesAreThePages) {
  const auto rows = PageRows();
  ASSERT_EQ(rows.size(), kHostVariables.size());
  std::set<std::uint32_t> seen;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const HostVariableFact& fact = kHostVariables[row];
    SCOPED_TRACE(rows[row][1]);
    EXPECT_EQ(rows[row][0], std::to_string(fact.id));
    EXPECT_EQ(rows[row][1], fact.token);
    EXPECT_EQ(rows[row][2], fact.unit);
    EXPECT_EQ(rows[row][3], fact.sign);
    EXPECT_TRUE(seen.insert(fact.id).second) << "one row per id";
  }
}

// A keyframe in a scenario's words gives the host's numbers: a right bank is
// negative, 100 knots over the ground are 51.44 m/s, 1000 feet are 304.8 m.
TEST(HostFacts, AKeyframeIsAnsweredInTheHostsUnits) {
  Keyframe state;
  state.bank = -20;  // banked right, as the host counts it
  state.speed = 100;
  state.altitude = 1000;
  state.groundElevation = 1000;
  state.rudder = 0.05;
  const struct {
    std::uint32_t id;
    double value;
  } cases[] = {{79, -20}, {832, 51.444444}, {73, 304.8}, {2, 304.8 * 256}, {786, 0.05}, {9999, 0}};
  for (const auto& c : cases) EXPECT_NEAR(HostVariable(state, c.id), c.value, 1e-6) << c.id;
}

}  // namespace
}  // namespace simhost
