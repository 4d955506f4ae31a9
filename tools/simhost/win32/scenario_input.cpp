#include "win32/scenario_input.h"

#include <cstring>

#include "host.h"
#include "platform/host_variables.h"

namespace simhost::win32 {

ScenarioInput Input;

void LookupStack::Note(const void* record, std::uintptr_t depth) {
  ++calls;
  // A table's records, looked up in one loop, meet the look-up at one depth
  // while the stack stays balanced. Two tables the linker laid side by side,
  // looked up from two places, make one step of depth between them; a drift
  // makes every step of the loop one.
  const bool neighbour =
      static_cast<const std::uint8_t*>(record) == static_cast<const std::uint8_t*>(lastRecord) + 28;
  const bool moved = neighbour && depth != lastDepth;
  if (neighbour) ++neighbours;
  if (moved && lastMoved) ++unbalanced;
  lastMoved = moved;
  lastRecord = record;
  lastDepth = depth;
}

namespace {

DWORD WINAPI VirtualTimeGetTime() { return Input.clock; }

// The key's state: the top bit while it is down, the low bit while a toggle key is on.
SHORT WINAPI VirtualGetAsyncKeyState(int key) {
  return key >= 0 && key < 256 ? static_cast<SHORT>(Input.keys[key] & 0x8000) : 0;
}
SHORT WINAPI VirtualGetKeyState(int key) { return key >= 0 && key < 256 ? Input.keys[key] : 0; }

BOOL WINAPI VirtualGetCursorPos(POINT* point) {
  if (point == nullptr) return FALSE;
  *point = {Input.cursor.x + kScreenOffset, Input.cursor.y + kScreenOffset};
  return TRUE;
}

// The cursors the module may set, in the order of the trace's pointer codes.
HCURSOR knownCursors[5];

HCURSOR WINAPI RecordingSetCursor(HCURSOR cursor) {
  for (int index = 0; index < 5; ++index) {
    if (cursor == knownCursors[index]) Input.pointerShown = index;
  }
  return SetCursor(cursor);
}

// Each readability test of host memory the module makes is a VirtualQuery.
SIZE_T WINAPI CountingVirtualQuery(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T size) {
  ++Input.virtualQueries;
  return VirtualQuery(address, info, size);
}

void __stdcall LookupVariable(varolen::platform::ModuleVariable* variable) {
  Input.lookups.Note(variable, reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)));
  variable->SetValue(HostVariable(Input.flight, variable->id));
}

void* panelServices[64];

// Points the module's import of `function` from `library` at `replacement`.
bool PatchImport(HMODULE module, const char* library, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return false;
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       entry->Name != 0; ++entry) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + entry->Name), library) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

}  // namespace

void LinkPanelServices(varolen::ImportTableRecord& imports) {
  panelServices[varolen::platform::kPanelServiceLookupSlot] = reinterpret_cast<void*>(LookupVariable);
  imports.entries[0].pointer = panelServices;
}

std::vector<std::string> RedirectImports(HMODULE module) {
  const struct {
    const char* library;
    const char* function;
    void* replacement;
  } patches[] = {
      {"WINMM.DLL", "timeGetTime", reinterpret_cast<void*>(VirtualTimeGetTime)},
      {"USER32.DLL", "GetAsyncKeyState", reinterpret_cast<void*>(VirtualGetAsyncKeyState)},
      {"USER32.DLL", "GetKeyState", reinterpret_cast<void*>(VirtualGetKeyState)},
      {"USER32.DLL", "GetCursorPos", reinterpret_cast<void*>(VirtualGetCursorPos)},
      {"USER32.DLL", "SetCursor", reinterpret_cast<void*>(RecordingSetCursor)},
      {"KERNEL32.DLL", "VirtualQuery", reinterpret_cast<void*>(CountingVirtualQuery)},
  };
  const LPCSTR cursors[5] = {IDC_ARROW, IDC_HAND, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL};
  for (int index = 0; index < 5; ++index) knownCursors[index] = LoadCursorA(nullptr, cursors[index]);
  std::vector<std::string> patched;
  for (const auto& patch : patches) {
    if (PatchImport(module, patch.library, patch.function, patch.replacement))
      patched.push_back(patch.function);
  }
  return patched;
}

}  // namespace simhost::win32
