// simhost.exe: the substitute simulator as a real Win32 program. It lays the
// host's memory out at the host's fixed addresses, loads the module from
// Modules\Varolen2004.dll with LoadLibrary, links its panel-service table,
// points the module's clock, key-state and pointer imports at the scenario,
// and plays the scenario through real windows, menus, hooks and messages.
#include <windows.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "host.h"
#include "module/linkage.h"
#include "platform/host_variables.h"
#include "runner.h"
#include "scenario.h"
#include "shell/host_layout.h"
#include "shell/settings.h"

namespace simhost {
namespace {

using varolen::platform::ModuleVariable;

// The host's fixed block: 0x470000..0x48FFFF lies inside this section, since the
// program keeps its default image base and no relocation.
__attribute__((section(".hostmem"), used, aligned(4096))) unsigned char hostBlock[0x90000];

// --- What the module's patched imports and the variable look-up answer from ---
struct VirtualWorld {
  DWORD clock = 0;
  FlightState flight;
  SHORT keys[256] = {};
  POINT cursor = {};
  HWND view = nullptr;
};
VirtualWorld world;

DWORD WINAPI VirtualTimeGetTime() { return world.clock; }
SHORT WINAPI VirtualGetAsyncKeyState(int key) { return key >= 0 && key < 256 ? world.keys[key] : 0; }
BOOL WINAPI VirtualGetCursorPos(POINT* point) {
  if (point == nullptr) return FALSE;
  *point = {world.cursor.x + kScreenOffset, world.cursor.y + kScreenOffset};
  return TRUE;
}

// The cursors the module may set, in the order of the trace's pointer codes.
HCURSOR knownCursors[5];
int pointerShown = -1;

HCURSOR WINAPI RecordingSetCursor(HCURSOR cursor) {
  for (int index = 0; index < 5; ++index) {
    if (cursor == knownCursors[index]) pointerShown = index;
  }
  return SetCursor(cursor);
}

// Each readability test of host memory the module makes is a VirtualQuery.
long virtualQueries = 0;

SIZE_T WINAPI CountingVirtualQuery(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T size) {
  ++virtualQueries;
  return VirtualQuery(address, info, size);
}

// What the frame messages cost: the time from posting one to the host's window
// procedure having it (the module's hook in between), and the module's queries.
struct FrameCost {
  std::vector<double> microseconds;
  std::vector<long> queries;

  std::vector<std::string> Lines(bool moduleLoaded) const {
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
                  sorted.size(), total / sorted.size(), sorted[sorted.size() / 2], sorted.back(),
                  moduleLoaded ? "module loaded" : "no module");
    std::vector<std::string> lines = {line};
    if (moduleLoaded) {
      std::snprintf(line, sizeof line, "virtual_query: mean %.2f per frame message, max %ld",
                    static_cast<double>(allQueries) / static_cast<double>(queries.size()),
                    *std::max_element(queries.begin(), queries.end()));
      lines.push_back(line);
    }
    return lines;
  }
};

void __stdcall LookupVariable(ModuleVariable* variable) {
  variable->SetValue(HostVariable(world.flight, variable->id));
}

void* panelServices[64];

// --- Message boxes and file dialogs are answered by the host, not a person ---
std::vector<std::string> messageBoxes;
// The module's own dialogs are used by the scenario's scripts, in order.
std::vector<DialogScript> dialogScripts;
std::size_t nextDialogScript = 0;
std::vector<std::string> dialogLines;
HWND scriptedDialog = nullptr;
std::string screenshotFolder;

// The dialog's edits and check or radio buttons, by identifier, as the native
// host describes them.
BOOL CALLBACK CollectControl(HWND control, LPARAM list) {
  char className[32] = "";
  GetClassNameA(control, className, sizeof className);
  const int id = GetDlgCtrlID(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE) & 0xF;
  auto& out = *reinterpret_cast<std::vector<std::pair<int, std::string>>*>(list);
  if (lstrcmpiA(className, "Edit") == 0) {
    char text[64] = "";
    GetWindowTextA(control, text, sizeof text);
    out.emplace_back(id, text);
  } else if (lstrcmpiA(className, "Button") == 0 &&
             (style == BS_AUTOCHECKBOX || style == BS_AUTORADIOBUTTON)) {
    out.emplace_back(id, SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "[x]" : "[ ]");
  }
  return TRUE;
}

std::string DescribeControls(HWND dialog) {
  std::vector<std::pair<int, std::string>> controls;
  EnumChildWindows(dialog, CollectControl, reinterpret_cast<LPARAM>(&controls));
  std::sort(controls.begin(), controls.end());
  std::string line;
  for (const auto& [id, text] : controls) line += (line.empty() ? "" : " ") + std::to_string(id) + "=" + text;
  return line;
}

// A picture of the dialog for the user's guide, as a bitmap file.
void SaveScreenshot(HWND dialog, const std::string& path) {
  RECT frame;
  GetWindowRect(dialog, &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // Painted, then copied from the screen as the user sees it.
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  GdiFlush();
  Sleep(200);
  BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {
      0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageSize), 0, 0,
      sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  info.bmiHeader.biHeight = -height;
  if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(pixels, 1, imageSize, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// Runs inside the dialog's modal loop: what the scenario's user does.
void CALLBACK UseDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND dialog = scriptedDialog;
  char caption[128] = "";
  GetWindowTextA(dialog, caption, sizeof caption);
  const std::string controls = DescribeControls(dialog);
  // The first time each dialog opens, as it shows the settings it was given.
  const std::string picture = screenshotFolder + "\\" + caption + ".bmp";
  if (!screenshotFolder.empty() && GetFileAttributesA(picture.c_str()) == INVALID_FILE_ATTRIBUTES) {
    SaveScreenshot(dialog, picture);
  }
  std::string outcome;
  bool closed = false;
  if (nextDialogScript < dialogScripts.size()) {
    const DialogScript& script = dialogScripts[nextDialogScript++];
    for (const auto& [id, text] : script.texts) SetDlgItemTextA(dialog, id, text.c_str());
    for (int id : script.clicks) SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    for (int command : script.commands) {
      if (!outcome.empty()) outcome += ", ";
      SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(command), 0);
      // A dialog that ends hides itself; the modal loop then returns.
      closed = !IsWindowVisible(dialog);
      outcome += "command " + std::to_string(command) + (closed ? " closed it" : " ignored");
      if (closed) break;
    }
  }
  if (!closed) {
    outcome += outcome.empty() ? "left open" : ", left open";
    EndDialog(dialog, 0);
  }
  dialogLines.push_back(DialogLine(caption, controls, outcome));
}
std::string fileDialogAnswer;  // empty: cancel
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kFileNameBox = 0x47C;  // the explorer-style dialog's file name combo box

LRESULT CALLBACK AnswerDialogs(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    char className[16] = "";
    GetClassNameA(box, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
      char text[512] = "";
      if (GetDlgItem(box, kMessageBoxText) != nullptr) {
        GetDlgItemTextA(box, kMessageBoxText, text, sizeof text);
        messageBoxes.emplace_back(text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      } else if (GetDlgItem(box, kFileNameBox) == nullptr) {
        scriptedDialog = box;
        SetTimer(nullptr, 0, 1, UseDialog);
      } else {
        GetWindowTextA(box, text, sizeof text);
        messageBoxes.push_back(std::string("file dialog ") + text);
        if (!fileDialogAnswer.empty()) SetDlgItemTextA(box, kFileNameBox, fileDialogAnswer.c_str());
        PostMessageA(box, WM_COMMAND, fileDialogAnswer.empty() ? IDCANCEL : IDOK, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// --- The host's windows ---
struct Delivery {
  UINT message = 0;
  bool arrived = false;
};
Delivery delivery;

LRESULT CALLBACK HostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (delivery.message != 0 && message == delivery.message) delivery.arrived = true;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Points the module's import of `function` from `library` at `replacement`.
bool PatchImport(HMODULE module, const char* library, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return false;
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       entry->Name != 0; ++entry) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + entry->Name), library) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

class ProcessMemory : public HostMemoryWriter, public HostMemoryReader {
 public:
  void Map(HostAddress base, std::uint32_t size) override {
    const auto block = reinterpret_cast<std::uintptr_t>(hostBlock);
    if (base >= block && base + size <= block + sizeof hostBlock) {
      std::memset(Pointer(base), 0, size);
      return;
    }
    if (VirtualAlloc(Pointer(base), size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) != Pointer(base)) {
      throw std::runtime_error("cannot lay out host memory at " + std::to_string(base));
    }
  }
  void Write(HostAddress address, const void* bytes, std::uint32_t size) override {
    std::memcpy(Pointer(address), bytes, size);
  }
  void Read(HostAddress address, void* bytes, std::uint32_t size) override {
    std::memcpy(bytes, Pointer(address), size);
  }

 private:
  static void* Pointer(HostAddress address) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(address));
  }
};

class Win32Host : public Host {
 public:
  Win32Host(const Scenario& scenario, const std::string& folder, const std::string& modulePath,
            bool keepRegistry, const std::string& sounds)
      : folder_(folder) {
    InstallSounds(sounds);
    fileDialogAnswer = scenario.fileDialogAnswer.value_or("");
    realTime_ = scenario.realTime;
    dialogScripts = scenario.dialogs;
    PrepareRegistry(scenario, keepRegistry);
    PrepareFolder(scenario, modulePath);
    CreateWindows(scenario);
    layout_ = BuildHostMemory(scenario, memory_);
  }

  // Loads and links the module as the host does.
  void Load() {
    patched_.clear();
    const HHOOK answerer = SetWindowsHookExA(WH_CBT, AnswerDialogs, nullptr, GetCurrentThreadId());
    module_ = LoadLibraryA((folder_ + "\\Modules\\Varolen2004.dll").c_str());
    if (module_ == nullptr) throw std::runtime_error("LoadLibrary failed: " + std::to_string(GetLastError()));
    UnhookWindowsHookEx(answerer);
    answerer_ = SetWindowsHookExA(WH_CBT, AnswerDialogs, nullptr, GetCurrentThreadId());

    auto* imports = reinterpret_cast<varolen::ImportTableRecord*>(GetProcAddress(module_, "ImportTable"));
    linkage_ = reinterpret_cast<varolen::LinkageRecord*>(GetProcAddress(module_, "Linkage"));
    if (imports == nullptr || linkage_ == nullptr)
      throw std::runtime_error("the module does not export its linkage");
    panelServices[varolen::kPanelServiceLookupSlot] = reinterpret_cast<void*>(LookupVariable);
    imports->entries[0].pointer = panelServices;
    std::snprintf(linkageWords_, sizeof linkageWords_, "linkage: %#x %#x %#x %#x", linkage_->moduleId,
                  linkage_->flags, linkage_->reserved, linkage_->version);
    linkage_->init();

    const struct {
      const char* library;
      const char* function;
      void* replacement;
    } patches[] = {
        {"WINMM.DLL", "timeGetTime", reinterpret_cast<void*>(VirtualTimeGetTime)},
        {"USER32.DLL", "GetAsyncKeyState", reinterpret_cast<void*>(VirtualGetAsyncKeyState)},
        {"USER32.DLL", "GetCursorPos", reinterpret_cast<void*>(VirtualGetCursorPos)},
        {"USER32.DLL", "SetCursor", reinterpret_cast<void*>(RecordingSetCursor)},
        {"KERNEL32.DLL", "VirtualQuery", reinterpret_cast<void*>(CountingVirtualQuery)},
    };
    const LPCSTR cursors[5] = {IDC_ARROW, IDC_HAND, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL};
    for (int index = 0; index < 5; ++index) knownCursors[index] = LoadCursorA(nullptr, cursors[index]);
    for (const auto& patch : patches) {
      if (PatchImport(module_, patch.library, patch.function, patch.replacement))
        patched_.push_back(patch.function);
    }
  }

  void Unload() {
    if (linkage_ == nullptr) return;
    linkage_->deinit();
    FreeLibrary(module_);
    linkage_ = nullptr;
    UnhookWindowsHookEx(answerer_);
  }

  std::vector<std::string> ReportLines() const {
    std::vector<std::string> lines = {"host: win32", linkageWords_};
    for (const std::string& name : patched_) lines.push_back("patched: " + name);
    for (const std::string& line : frameCost_.Lines(module_ != nullptr)) lines.push_back(line);
    return lines;
  }

  HostMemoryReader& Memory() override { return memory_; }
  HostMemoryWriter& Writer() override { return memory_; }
  const HostLayout& Layout() const override { return layout_; }
  bool HasMainWindow() const override { return main_ != nullptr; }
  void SetClock(std::uint32_t milliseconds) override {
    // In real time the frames keep pace with the wall clock, so that sounds play out.
    if (realTime_ && world.clock != 0 && milliseconds > world.clock) Sleep(milliseconds - world.clock);
    world.clock = milliseconds;
  }
  void SetFlightState(const FlightState& state) override { world.flight = state; }
  void SetKeyState(int virtualKey, bool down) override {
    world.keys[virtualKey & 0xFF] = static_cast<SHORT>(down ? 0x8000 : 0);
  }
  void SetCursor(int x, int y) override { world.cursor = {x, y}; }
  int PointerShape() override { return pointerShown; }

  bool Post(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    delivery = {message, false};
    LARGE_INTEGER start, end, frequency;
    const long queries = virtualQueries;
    QueryPerformanceCounter(&start);
    PostMessageA(Window(target), message, wParam, lParam);
    Pump();
    QueryPerformanceCounter(&end);
    if (message == kFrame) {
      QueryPerformanceFrequency(&frequency);
      frameCost_.microseconds.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                        static_cast<double>(frequency.QuadPart));
      frameCost_.queries.push_back(virtualQueries - queries);
    }
    const bool consumed = !delivery.arrived;
    delivery = {};
    return consumed;
  }

  bool Send(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    delivery = {message, false};
    SendMessageA(Window(target), message, wParam, lParam);
    Pump();
    const bool consumed = !delivery.arrived;
    delivery = {};
    return consumed;
  }

  std::vector<MenuEntry> OpenModuleMenu() override {
    std::vector<MenuEntry> entries;
    if (main_ == nullptr) return entries;
    SendMessageA(main_, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(main_)), 0);
    const HMENU popup = GetSubMenu(GetMenu(main_), 3);
    const int count = popup != nullptr ? GetMenuItemCount(popup) : 0;
    const HMENU module = count > 0 ? GetSubMenu(popup, count - 1) : nullptr;
    if (module == nullptr) return entries;
    for (int position = 0; position < GetMenuItemCount(module); ++position) {
      const UINT state = GetMenuState(module, static_cast<UINT>(position), MF_BYPOSITION);
      char text[128] = "";
      GetMenuStringA(module, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
      entries.push_back(
          {GetMenuItemID(module, position), text, (state & MF_CHECKED) != 0, (state & MF_SEPARATOR) != 0});
    }
    return entries;
  }

  int HostPopupItemCount() override {
    const HMENU popup = main_ != nullptr ? GetSubMenu(GetMenu(main_), 3) : nullptr;
    return popup != nullptr ? GetMenuItemCount(popup) : 0;
  }

  // DirectSound plays inside the module; the host does not see which sounds.
  std::string SoundsPlaying() override { return "-"; }
  std::vector<std::string> MessageBoxes() const override { return messageBoxes; }
  std::vector<std::string> DialogLines() const override { return dialogLines; }

 private:
  static void PrepareRegistry(const Scenario& scenario, bool keep) {
    if (!keep) RegDeleteKeyA(HKEY_LOCAL_MACHINE, varolen::kSettingsKeyPath);
    if (scenario.registry.empty()) return;
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, varolen::kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    for (const auto& [name, text] : scenario.registry) {
      RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    }
    RegCloseKey(key);
  }

  // Lays out the module and its bindings; with no module file the folder is
  // taken as installed (from the release archive) and left as it is.
  void PrepareFolder(const Scenario& scenario, const std::string& modulePath) {
    if (modulePath.empty()) {
      if (scenario.bindings) throw std::runtime_error("an installed folder keeps its own bindings");
      return;
    }
    std::filesystem::create_directories(folder_ + "\\Modules");
    if (!CopyFileA(modulePath.c_str(), (folder_ + "\\Modules\\Varolen2004.dll").c_str(), FALSE)) {
      throw std::runtime_error("cannot copy the module " + modulePath);
    }
    const std::string configuration = folder_ + "\\Varolen2004.cfg";
    DeleteFileA(configuration.c_str());
    if (scenario.bindings) std::ofstream(configuration) << *scenario.bindings;
  }

  // The module's sounds where it looks for them, when the run has them.
  void InstallSounds(const std::string& sounds) {
    if (sounds.empty()) return;
    const std::filesystem::path target = std::filesystem::path(folder_) / "Varolen" / "Sound";
    std::filesystem::create_directories(target);
    // CopyFile: mingw's std::filesystem::copy_file refuses to overwrite a file
    // that exists, whatever the options say.
    for (const auto& file : std::filesystem::directory_iterator(sounds)) {
      const std::string to = (target / file.path().filename()).string();
      if (!CopyFileA(file.path().string().c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy the sound " + file.path().string());
    }
  }

  void CreateWindows(const Scenario& scenario) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FS98MAIN";
    RegisterClassA(&windowClass);
    windowClass.lpszClassName = "FS98CHILD";
    RegisterClassA(&windowClass);
    if (scenario.mainWindow) {
      HMENU bar = CreateMenu();
      for (int index = 0; index < scenario.menuPopups; ++index) {
        HMENU popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, 100 + index, "Host item");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                    ("Host pop-up " + std::to_string(index)).c_str());
      }
      main_ = CreateWindowA("FS98MAIN", "Substitute simulator", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                            bar, windowClass.hInstance, nullptr);
    }
    view_ = CreateWindowA("FS98CHILD", "View", main_ != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW,
                          0, 0, 800, 560, main_, nullptr, windowClass.hInstance, nullptr);
    world.view = view_;
  }

  HWND Window(Target target) const { return target == Target::MainWindow ? main_ : view_; }

  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  std::string folder_;
  bool realTime_ = false;
  ProcessMemory memory_;
  HostLayout layout_;
  HWND main_ = nullptr;
  HWND view_ = nullptr;
  HMODULE module_ = nullptr;
  FrameCost frameCost_;
  HHOOK answerer_ = nullptr;
  varolen::LinkageRecord* linkage_ = nullptr;
  char linkageWords_[96] = "linkage: none";
  std::vector<std::string> patched_;
};

// The module's registry values after it was unloaded, by name.
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

// The module loaded and unloaded again and again in this one process, as a
// host that reloads its modules would: before each unload the fly-by setting is
// switched through the menu; after each load it must read back as it was left.
std::vector<std::string> Reload(Win32Host& host, int times) {
  const auto flyBy = [&host]() -> const MenuEntry* {
    static std::vector<MenuEntry> menu;
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

}  // namespace
}  // namespace simhost

int main(int argc, char** argv) {
  CLI::App app{
      "Substitute simulator for Varolen 2004 (Win32, run under Wine).\n"
      "Loads FOLDER\\Modules\\Varolen2004.dll, plays a scenario through real windows,\n"
      "hooks and messages, and writes OUT\\trace.csv and OUT\\summary.txt."};
  std::string scenarioPath, out = "out", folder = "simulator", module = "Varolen2004.dll";
  bool keepRegistry = false, installed = false, withoutModule = false;
  int reloads = 0;
  std::string screenshots, sounds;
  app.add_option("scenario", scenarioPath, "Scenario file (TOML)")->required();
  app.add_option("-o,--out", out, "Output folder");
  app.add_option("-f,--folder", folder, "The simulator folder to lay out");
  app.add_option("-m,--module", module, "The module file to install into FOLDER\\Modules");
  app.add_flag("--installed", installed,
               "Run the module as installed in FOLDER (by the release archive): lay nothing out");
  app.add_flag("--keep-registry", keepRegistry, "Start from the registry as the last run left it");
  app.add_option("--reloads", reloads, "After the scenario, unload and load the module this many times");
  app.add_flag("--without-module", withoutModule,
               "Do not load the module: what the frame messages cost the host alone (summary: frame_cost)");
  app.add_option("--dialog-screenshots", screenshots, "Save a picture of each of the module's dialogs here");
  app.add_option("--sounds", sounds, "The module's wave files, to install into FOLDER\\Varolen\\Sound");
  CLI11_PARSE(app, argc, argv);

  std::string error;
  const auto scenario = simhost::LoadScenario(scenarioPath, error);
  if (!scenario) {
    std::fprintf(stderr, "simhost: %s\n", error.c_str());
    return 2;
  }
  try {
    std::filesystem::create_directories(out);
    if (!screenshots.empty()) {
      std::filesystem::create_directories(screenshots);
      simhost::screenshotFolder = screenshots;
    }
    simhost::Win32Host host(*scenario, std::filesystem::absolute(folder).string(), installed ? "" : module,
                            keepRegistry, installed ? "" : sounds);
    if (!withoutModule) host.Load();
    std::FILE* trace = std::fopen((out + "\\trace.csv").c_str(), "w");
    std::FILE* summary = std::fopen((out + "\\summary.txt").c_str(), "w");
    if (trace == nullptr || summary == nullptr) throw std::runtime_error("cannot write to " + out);
    const DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const auto run = simhost::RunScenario(*scenario, host, trace);
    auto lines = host.DialogLines();
    lines.push_back("user_objects: " + std::to_string(userObjects) + " at the start, " +
                    std::to_string(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) + " at the end");
    if (reloads > 0 && !withoutModule) {
      for (const std::string& line : simhost::Reload(host, reloads)) lines.push_back(line);
    }
    host.Unload();
    for (const std::string& line : host.ReportLines()) lines.push_back(line);
    for (const std::string& line : simhost::RegistryLines()) lines.push_back(line);
    simhost::WriteSummary(*scenario, run, host.MessageBoxes(), lines, summary);
    std::fclose(trace);
    std::fclose(summary);
    for (const std::string& problem : run.problems) std::fprintf(stderr, "simhost: %s\n", problem.c_str());
    return run.problems.empty() ? 0 : 1;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "simhost: %s\n", failure.what());
    return 2;
  }
}
