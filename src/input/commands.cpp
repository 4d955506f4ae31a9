#include "input/commands.h"

namespace varolen {

int HandleCommand(int, int, KeyBinding* /*binding*/) {
  // The command table comes with the input subsystem; no command is carried out yet.
  return 0;
}

}  // namespace varolen
