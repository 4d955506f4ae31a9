// The DLL's entry. The host loads the module on its user-interface thread, so
// start-up runs here: it installs the thread hooks on that same thread.
#include <windows.h>

#include "host/module_state.h"
#include "shell/lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  try {
    if (reason == DLL_PROCESS_ATTACH) {
      varolen::Shell.moduleInstance = reinterpret_cast<std::uintptr_t>(instance);
      DisableThreadLibraryCalls(instance);
      varolen::ModuleStartup();
    } else if (reason == DLL_PROCESS_DETACH) {
      // A non-null `reserved` means the process is ending rather than unloading us.
      varolen::ModuleShutdown(reserved != nullptr ? varolen::Departure::ProcessEnding
                                                  : varolen::Departure::Unloaded);
    }
  } catch (...) {
    // Nothing may unwind into the loader.
  }
  return TRUE;
}
