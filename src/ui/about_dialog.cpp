#include "ui/about_dialog.h"

#include "host/module_state.h"
#include "platform/dialogs.h"
#include "ui/dialog_resources.h"

namespace varolen {

void ShowAboutDialog(platform::WindowHandle owner) {
  // "Close", Enter, Escape and the close box all close it.
  platform::RunModalDialog(Shell.moduleInstance, VAROLEN_ABOUT_DIALOG, owner, nullptr, 0, true);
}

}  // namespace varolen
