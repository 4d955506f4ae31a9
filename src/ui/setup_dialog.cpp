#include "ui/setup_dialog.h"

#include "host/module_state.h"
#include "ui/setup_model.h"

namespace varolen {

void ShowSetupDialog(platform::WindowHandle owner) {
  SetupForm form = FillSetupForm(CameraSettings);
  // Cancel changes nothing; OK stores the settings at once (they act from the next frame).
  if (platform::RunModalDialog(Shell.moduleInstance, VAROLEN_SETUP_DIALOG, owner, form.fields,
                               kSetupFieldCount, true) == platform::DialogResult::Accepted) {
    ApplySetupForm(form, CameraSettings);
  }
}

}  // namespace varolen
