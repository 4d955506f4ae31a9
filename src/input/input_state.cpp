#include "input/input_state.h"

#include "input/binding_matcher.h"
#include "input/view_presets.h"

namespace varolen {

void ResetInputState() {
  ClearKeyBindings();
  ClearViewPresets();
}

}  // namespace varolen
