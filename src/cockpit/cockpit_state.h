// The cockpit's records all together, for start-up and a reset: it stands
// above every part of the cockpit, as it resets them all.
#pragma once

namespace varolen {

// The cockpit's records and the view update's variable records as a freshly
// loaded module has them.
void ResetCockpitState();

}  // namespace varolen
