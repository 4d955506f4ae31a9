// The input folder's state as a whole.
#pragma once

namespace varolen {

// The binding table and the preset table as a freshly loaded module has them.
void ResetInputState();

}  // namespace varolen
