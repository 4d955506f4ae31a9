// What the scenario gives the module through its redirected imports and the
// host's variable look-up: the virtual clock, the flight, held keys and the
// pointer; and what the module did with them (pointer shapes, memory queries).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "flight.h"
#include "platform/win32/linkage.h"

namespace simhost::win32 {

// The host's variable look-up is stdcall: it pops its argument itself. The
// module looks its variables up table by table, in loops, a record every 28
// bytes (the SDK's record); a caller that popped the argument as well, or not
// at all, would meet the look-up 4 bytes further off at each turn of a loop.
struct LookupStack {
  const void* lastRecord = nullptr;
  std::uintptr_t lastDepth = 0;
  long calls = 0;
  long neighbours = 0;  // calls for the record 28 bytes after the one before
  long unbalanced = 0;  // of those, calls that met the look-up at another depth, as the one before did
  bool lastMoved = false;

  void Note(const void* record, std::uintptr_t depth);
};

struct ScenarioInput {
  DWORD clock = 0;
  FlightState flight;
  SHORT keys[256] = {};  // GetKeyState's bits: 0x8000 down, 1 toggled on
  POINT cursor = {};
  // Seen from the module's side:
  int pointerShown = -1;    // the trace's pointer code the module set last
  long virtualQueries = 0;  // readability tests of host memory so far
  LookupStack lookups;
};

// The one instance the redirected imports answer from.
extern ScenarioInput Input;

// Links the host's panel-service table into the module's ImportTable, with the
// variable look-up answering from Input.flight.
void LinkPanelServices(varolen::ImportTableRecord& imports);

// Points the module's clock, key-state, pointer and memory-query imports at
// Input; returns the names of the functions redirected.
std::vector<std::string> RedirectImports(HMODULE module);

}  // namespace simhost::win32
