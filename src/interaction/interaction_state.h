// The interaction folder's state as a whole.
#pragma once

namespace varolen {

// The walking pilot's and the mouse's records zeroed, as start-up has them.
void ClearInteractionRecords();
// Those, the walking pilot's variable records and the ground probe's store of
// placements as a freshly loaded module has them.
void ResetInteractionState();

}  // namespace varolen
