#include "ui/about_dialog.h"

#include "host/module_state.h"
#include "platform/dialogs.h"
#include "ui/dialog_resources.h"

namespace varolen {

void ShowAboutDialog(platform::WindowHandle owner) {
  // Only "Close" (or Enter) closes it; Escape and the close box do nothing.
  platform::RunModalDialog(Shell.moduleInstance, VAROLEN_ABOUT_DIALOG, owner, nullptr, 0, false);
}

}  // namespace varolen
