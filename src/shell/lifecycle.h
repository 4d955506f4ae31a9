// Start-up and shut-down of the module, and the one reset of everything it
// keeps for its lifetime.
#pragma once

namespace varolen {

int ModuleStartup();
void ModuleShutdown();

// Returns every piece of module-lifetime state of every subsystem to what a
// freshly loaded module has, so that a process can play one flight after
// another (the native host, tests, fuzzing, benchmarks and the soak run).
void ResetModuleState();

}  // namespace varolen
