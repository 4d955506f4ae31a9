#include "win32/report.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "host/settings.h"
#include "win32/win32_host.h"

namespace simhost::win32 {

std::vector<std::string> FrameCost::Lines(bool moduleLoaded) const {
  if (microseconds.empty()) return {};
  std::vector<double> sorted = microseconds;
  std::sort(sorted.begin(), sorted.end());
  double total = 0.0;
  for (double time : sorted) total += time;
  long allQueries = 0;
  for (long count : queries) allQueries += count;
  char line[200];
  std::snprintf(line, sizeof line,
                "frame_cost: %zu frame messages, mean %.1f us, median %.1f us, max %.1f us, %s",
                sorted.size(), total / static_cast<double>(sorted.size()), sorted[sorted.size() / 2],
                sorted.back(), moduleLoaded ? "module loaded" : "no module");
  std::vector<std::string> lines = {line};
  if (moduleLoaded) {
    std::snprintf(line, sizeof line, "virtual_query: mean %.2f per frame message, max %ld",
                  static_cast<double>(allQueries) / static_cast<double>(queries.size()),
                  *std::max_element(queries.begin(), queries.end()));
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> RegistryLines() {
  std::vector<std::string> lines;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, varolen::kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return lines;
  for (DWORD index = 0;; ++index) {
    char name[300] = "";
    char text[300] = "";
    DWORD nameSize = sizeof name;
    DWORD textSize = sizeof text - 1;
    if (RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                      &textSize) != ERROR_SUCCESS) {
      break;
    }
    lines.push_back(std::string("registry: ") + name + "=" + text);
  }
  RegCloseKey(key);
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> Reload(Win32Host& host, int times) {
  std::vector<MenuEntry> menu;
  const auto flyBy = [&host, &menu]() -> const MenuEntry* {
    menu = host.OpenModuleMenu();
    for (const MenuEntry& entry : menu)
      if (entry.text == "Activate Fly-by") return &entry;
    return nullptr;
  };
  const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  const int itemsBefore = host.HostPopupItemCount();
  int kept = 0;
  for (int time = 0; time < times; ++time) {
    const MenuEntry* item = flyBy();
    if (item == nullptr) break;
    const bool wanted = !item->checked;
    host.Post(Target::MainWindow, kCommand, item->id, 0);
    host.Unload();
    host.Load();
    item = flyBy();
    if (item != nullptr && item->checked == wanted) ++kept;
  }
  char line[160];
  std::snprintf(line, sizeof line,
                "reloads: %d, settings read back %d, menu items %d then %d, USER objects %lu then %lu", times,
                kept, itemsBefore, host.HostPopupItemCount(), objectsBefore,
                GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  return {line};
}

}  // namespace simhost::win32
