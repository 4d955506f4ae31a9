#include "shell/host_menu.h"

#include "host/module_state.h"
#include "host/settings.h"
#include "input/motion_dialog.h"
#include "input/toggles.h"
#include "input/view_presets.h"
#include "ui/about_dialog.h"
#include "ui/setup_dialog.h"

namespace varolen {

namespace {
// What the menu built last went into, so that the next opening replaces it.
struct HostMenuRecord {
  platform::MenuHandle builtMenu;
  platform::MenuHandle hostSubMenu;
};
HostMenuRecord hostMenu;

struct CheckedItem {
  MenuCommand id;
  const char* text;
  SettingFlag setting;
};

constexpr CheckedItem kCheckedItems[] = {
    {kMenuFlyBy, "Activate Fly-by", &CameraSettingsRecord::FlyByActive},
    {kMenuApproachView, "Activate Approach View", &CameraSettingsRecord::ApproachActive},
    {kMenuInternalView, "Internal pilot view", &CameraSettingsRecord::InternalViewActive},
    {kMenuExternalView, "External pilot view", &CameraSettingsRecord::ExternalViewActive},
    {kMenuWheelZoom, "Enable wheel zoom in VC", &CameraSettingsRecord::EnableWheelZoom},
    {kMenuMouseInSpot, "Use mouse in Spot view", &CameraSettingsRecord::UseMouseInSpot},
    {kMenuSound, "Sound on", &CameraSettingsRecord::SoundOn},
    {kMenuHeadTracker, "Head tracker", &CameraSettingsRecord::HeadTrackerOn},
};

// Takes the copy built at the last opening, and the separator before it, out of
// the host's menu, and destroys it. A copy the host already took out is
// destroyed all the same: taken out is not destroyed, and each opening would
// leave one menu behind.
void RemovePreviousMenu() {
  if (hostMenu.builtMenu == 0) return;
  const platform::MenuHandle host = hostMenu.hostSubMenu;
  for (int position = platform::MenuItemCount(host) - 1; position >= 0; --position) {
    if (platform::SubMenuAt(host, position) != hostMenu.builtMenu) continue;
    platform::RemoveMenuItem(host, position);
    if (position > 0 && platform::MenuItemIsSeparator(host, position - 1)) {
      platform::RemoveMenuItem(host, position - 1);
    }
    break;
  }
  platform::DestroyPopupMenu(hostMenu.builtMenu);
  hostMenu = {};
}

}  // namespace

void BuildHostMenu() {
  RemovePreviousMenu();

  const platform::MenuHandle menu = platform::CreatePopupMenu();
  for (const CheckedItem& item : kCheckedItems) {
    platform::AppendMenuText(menu, item.id, item.text, CameraSettings.*item.setting != 0);
  }
  platform::AppendMenuSeparator(menu);
  platform::AppendMenuText(menu, kMenuSaveViews, "Save view config...", false);
  platform::AppendMenuText(menu, kMenuLoadViews, "Load view config...", false);
  platform::AppendMenuSeparator(menu);
  platform::AppendMenuText(menu, kMenuSetup, "Setup...", false);
  platform::AppendMenuText(menu, kMenuMotion, "Motion...", false);
  platform::AppendMenuText(menu, kMenuAbout, "About...", false);

  const platform::MenuHandle host =
      platform::SubMenuAt(platform::WindowMenuBar(Shell.hostMainWindow), kHostPopupPosition);
  if (host == 0) {
    // A host menu bar without that pop-up has nowhere to put the copy.
    platform::DestroyPopupMenu(menu);
    return;
  }
  platform::AppendMenuSeparator(host);
  platform::AppendSubMenu(host, menu, kSubMenuText);
  hostMenu = {.builtMenu = menu, .hostSubMenu = host};
}

void RemoveHostMenu() { RemovePreviousMenu(); }

int RunMenuCommand(platform::WindowHandle window, std::uint16_t id) {
  for (const CheckedItem& item : kCheckedItems) {
    if (item.id == id) {
      ToggleSetting(item.setting);
      return 1;
    }
  }
  switch (id) {
    case kMenuSetup:
      ShowSetupDialog(window);
      return 1;
    case kMenuMotion:
      ShowMotionDialog(window);
      return 1;
    case kMenuLoadViews:
      LoadViewPresetsInteractive(window);
      return 0;
    case kMenuSaveViews:
      SaveViewPresetsInteractive(window);
      return 0;
    case kMenuAbout:
      ShowAboutDialog(window);
      return 1;
    default:
      return 0;
  }
}

void ForgetHostMenu() { hostMenu = {}; }

}  // namespace varolen
