// The Setup dialog.
#pragma once

#include "platform/desktop.h"

namespace varolen {

// Modal; returns when the dialog closes.
void ShowSetupDialog(platform::WindowHandle owner);

}  // namespace varolen
