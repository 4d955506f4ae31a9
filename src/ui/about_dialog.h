// The About dialog.
#pragma once

#include "platform/desktop.h"

namespace varolen {

// Modal; returns when the dialog closes.
void ShowAboutDialog(platform::WindowHandle owner);

}  // namespace varolen
