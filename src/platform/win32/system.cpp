// Host variables, clock, random numbers and the module's file on Windows.
#include <windows.h>

#include <cstdlib>

#include "platform/clock.h"
#include "platform/host_memory.h"
#include "platform/host_variables.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/win32/linkage.h"

namespace varolen::platform {

namespace {
using VariableLookup = void(__stdcall*)(ModuleVariable* variable);
}  // namespace

bool LookupHostVariable(ModuleVariable& variable) {
  // The host links the table after loading the module; until then there is nothing to call.
  void* const table = ImportTable.entries[0].pointer;
  if (table == nullptr) return false;
  const auto lookup = static_cast<VariableLookup*>(table)[kPanelServiceLookupSlot];
  if (lookup == nullptr) return false;
  lookup(&variable);
  return true;
}

std::uint32_t TimeGetTime() { return timeGetTime(); }

void SleepMilliseconds(std::uint32_t milliseconds) { Sleep(milliseconds); }

int Rand() { return std::rand(); }

std::uint32_t ModuleFilePath(ModuleHandle module, char* buffer, std::uint32_t capacity) {
  if (capacity == 0) return 0;
  const DWORD length = GetModuleFileNameA(reinterpret_cast<HMODULE>(module), buffer, capacity);
  // Older systems leave a cut path unterminated.
  buffer[length < capacity ? length : capacity - 1] = '\0';
  return length < capacity ? length : capacity;
}

std::uint32_t CurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace varolen::platform
