// Start-up and shut-down of the module, and the one reset of everything it
// keeps for its lifetime.
#pragma once

namespace varolen {

int ModuleStartup();

// How the module leaves: unloaded by the host (FreeLibrary), or with the whole
// process, when the other threads are gone and the loader lock is held.
enum class Departure { Unloaded, ProcessEnding };

// Writes the settings; on an unload also removes the hooks and the module's
// sub-menu. A process that is ending takes hooks and menus with it, and
// touching its windows then could wait on threads that no longer run.
void ModuleShutdown(Departure departure = Departure::Unloaded);

// Returns every piece of module-lifetime state of every subsystem to what a
// freshly loaded module has, so that a process can play one flight after
// another (the native host, tests, fuzzing, benchmarks and the soak run).
void ResetModuleState();

}  // namespace varolen
