// Finding things in the host's memory: its loaded modules, the current view
// record, and sections of the user aircraft's model. Every block is tested for
// readability before it is read; what cannot be read counts as not there.
#pragma once

#include "host/host_layout.h"
#include "platform/host_memory.h"

namespace varolen {

// The host's data blocks, found again every frame.
struct HostDiscoveryRecord {
  HostAddress G3dModule;
  HostAddress GlobalModule;
  HostAddress ModuleList;
  HostAddress ViewSets;
  HostAddress ViewSetSelector;
  HostAddress HostObjectList;
  HostAddress HostViewMatrix;
  HostAddress HostViewPosition;
  HostAddress HostViewOrientation;
};

extern const HostDiscoveryRecord& HostDiscovery;

// Reads the host's fixed locations and finds "G3D.DLL" and "GLOBAL.DLL" in its
// module list. 1 when the list could be read, 0 when not.
int DiscoverHostModules();
// The blocks forgotten, as a freshly loaded module has them.
void ForgetHostModules();

// The host's current view record (kind 1, 2, 4 or 1250), or 0.
HostAddress FindCurrentView();

// The kind of a view record found by FindCurrentView.
std::int32_t ViewKindOf(HostAddress view);

// The views that the mouse and the pilot's keys belong to: the virtual
// cockpit, the spot view and the walking pilot's.
bool IsPilotView(std::int32_t kind);

// The section of the user aircraft's model with this four-character tag, or 0.
HostAddress FindModelSection(const char (&tag)[5]);
// The section with this tag in the model section table at `table` (a user
// aircraft's or a scenery object's), or 0. The entries are read in order
// until the tag is found or an entry cannot be read.
HostAddress FindSection(platform::HostReader& reader, HostAddress table, const char (&tag)[5]);

}  // namespace varolen
