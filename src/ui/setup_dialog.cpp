#include "ui/setup_dialog.h"

namespace varolen {

void ShowSetupDialog(platform::WindowHandle /*owner*/) {
  // The dialog comes with the user interface subsystem.
}

}  // namespace varolen
