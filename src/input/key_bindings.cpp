#include "input/key_bindings.h"

namespace varolen {

namespace {
KeyBinding bindingStorage[kBindingCapacity];
}  // namespace

KeyBindingTable KeyBindings = {kBindingCapacity, 0, bindingStorage};

int ReadKeyBindings(const char* /*path*/, const char* /*section*/, KeyBindingTable& /*table*/) {
  // The binding file reader comes with the input subsystem; until then no file is read.
  return 0;
}

}  // namespace varolen
