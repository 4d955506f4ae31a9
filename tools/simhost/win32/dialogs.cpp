#include "win32/dialogs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host.h"

namespace simhost::win32 {

DialogUser User;

namespace {

constexpr int kMessageBoxText = 0xFFFF;
constexpr int kFileNameBox = 0x47C;  // the explorer-style dialog's file name combo box

std::size_t nextScript = 0;
HWND scriptedDialog = nullptr;

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
  for (const auto& [id, text] : controls) {
    if (!line.empty()) line += ' ';
    line += std::to_string(id);
    line += '=';
    line += text;
  }
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
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
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
  const std::string picture = User.screenshotFolder + "\\" + caption + ".bmp";
  if (!User.screenshotFolder.empty() && GetFileAttributesA(picture.c_str()) == INVALID_FILE_ATTRIBUTES) {
    SaveScreenshot(dialog, picture);
  }
  std::string outcome;
  bool closed = false;
  if (nextScript < User.scripts.size()) {
    const DialogScript& script = User.scripts[nextScript++];
    for (const auto& [id, text] : script.texts) SetDlgItemTextA(dialog, id, text.c_str());
    for (int id : script.clicks) SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    for (int command : script.commands) {
      if (!outcome.empty()) outcome += ", ";
      if (command == kCloseBox) {
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        // The dialog manager posts the Cancel it makes of the close box.
        MSG message;
        while (PeekMessageA(&message, dialog, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      } else {
        SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(command), 0);
      }
      // A dialog that ends hides itself; the modal loop then returns.
      closed = !IsWindowVisible(dialog);
      outcome += (command == kCloseBox ? "close box" : "command " + std::to_string(command)) +
                 (closed ? " closed it" : " ignored");
      if (closed) break;
    }
  }
  if (!closed) {
    outcome += outcome.empty() ? "left open" : ", left open";
    EndDialog(dialog, 0);
  }
  User.dialogLines.push_back(DialogLine(caption, controls, outcome));
}

LRESULT CALLBACK AnswerDialogs(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    char className[16] = "";
    GetClassNameA(box, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
      char text[512] = "";
      if (GetDlgItem(box, kMessageBoxText) != nullptr) {
        GetDlgItemTextA(box, kMessageBoxText, text, sizeof text);
        User.messageBoxes.emplace_back(text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      } else if (GetDlgItem(box, kFileNameBox) == nullptr) {
        scriptedDialog = box;
        SetTimer(nullptr, 0, 1, UseDialog);
      } else {
        GetWindowTextA(box, text, sizeof text);
        User.messageBoxes.push_back(std::string("file dialog ") + text);
        if (!User.fileDialogAnswer.empty()) SetDlgItemTextA(box, kFileNameBox, User.fileDialogAnswer.c_str());
        PostMessageA(box, WM_COMMAND, User.fileDialogAnswer.empty() ? IDCANCEL : IDOK, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

HHOOK StartAnsweringDialogs() {
  return SetWindowsHookExA(WH_CBT, AnswerDialogs, nullptr, GetCurrentThreadId());
}

void StopAnsweringDialogs(HHOOK hook) {
  if (hook != nullptr) UnhookWindowsHookEx(hook);
}

}  // namespace simhost::win32
