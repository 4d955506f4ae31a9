#include "ui/about_dialog.h"

namespace varolen {

void ShowAboutDialog(platform::WindowHandle /*owner*/) {
  // The dialog comes with the user interface subsystem.
}

}  // namespace varolen
