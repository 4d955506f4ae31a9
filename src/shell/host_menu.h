// The module's sub-menu in the host's menu bar and its commands.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

namespace varolen {

enum MenuCommand : std::uint16_t {
  kMenuFlyBy = 30720,
  kMenuApproachView = 30721,
  kMenuSetup = 30722,
  kMenuInternalView = 30723,
  kMenuExternalView = 30724,
  kMenuWheelZoom = 30725,
  kMenuMouseInSpot = 30726,
  kMenuSound = 30727,
  kMenuLoadViews = 30728,
  kMenuSaveViews = 30729,
  kMenuAbout = 30731,
  kMenuMotion = 30733,
  kMenuHeadTracker = 30732,
};

inline constexpr const char* kSubMenuText = "&Varolen 2004";
// The host pop-up that receives the module's sub-menu.
inline constexpr int kHostPopupPosition = 3;

// Rebuilds the sub-menu with the current check marks, replacing the one built last.
void BuildHostMenu();

// Takes the module's sub-menu out of the host's menu, as the module unloads: a
// host that loads the module again gets one sub-menu, not two.
void RemoveHostMenu();
// Forgets the menu built last without touching the host's menus, as a freshly
// loaded module has it.
void ForgetHostMenu();

// Carries out a menu command; the result is the router's (nonzero = consumed).
int RunMenuCommand(platform::WindowHandle window, std::uint16_t id);

}  // namespace varolen
