// Control of the simulated platform that native builds link in place of Windows:
// tests and the native substitute simulator script it through these functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/host_memory.h"
#include "platform/registry.h"
#include "platform/sound.h"

namespace varolen::sim {

using platform::HookKind;
using platform::HostAddress;
using platform::MenuHandle;
using platform::WindowHandle;

// Everything back to a fresh machine: no memory, windows, menus, registry keys,
// hooks or variables; clock 0; random seed 1; an empty event log.
void ResetPlatform();

// The log of the platform calls that have an order worth checking (registry,
// windows, message boxes, hooks, menus), one line each, for example
// "QueryRegistryValue FlyByActive".
const std::vector<std::string>& Events();
void ClearEvents();

// --- Host memory: a sparse 32-bit address space of regions ---
enum Access : unsigned { kNoAccess = 0, kReadable = 1, kWritable = 2, kReadWrite = 3 };
// Maps a zero-filled region; regions must not overlap.
void MapHostRegion(HostAddress base, std::uint32_t size, unsigned access = kReadWrite);
void UnmapHostRegion(HostAddress base);
void SetHostRegionAccess(HostAddress base, unsigned access);
// Direct access for a host builder, whatever the region's access; aborts outside mapped memory.
std::uint8_t* HostBytes(HostAddress address, std::uint32_t size);

// --- Host variables ---
void SetHostVariable(std::uint32_t id, double value);
// Whether the host has linked its panel-service table (it has, after a reset).
void SetHostVariablesLinked(bool linked);
std::uint64_t HostVariableLookups();

// --- Clock, random numbers, the module's file and thread ---
void SetClock(std::uint32_t milliseconds);
void AdvanceClock(std::uint32_t milliseconds);
void SeedRandom(unsigned seed);
void SetModuleFilePath(const std::string& path);
void SetThreadId(std::uint32_t id);

// --- Registry (HKEY_LOCAL_MACHINE; key paths ignore case, as Windows does) ---
void SetRegistryText(const std::string& keyPath, const std::string& name, const std::string& text);
void SetRegistryBytes(const std::string& keyPath, const std::string& name, std::vector<std::uint8_t> bytes);
std::optional<std::string> RegistryText(const std::string& keyPath, const std::string& name);
std::vector<std::string> RegistryValueNames(const std::string& keyPath);
bool RegistryKeyExists(const std::string& keyPath);
// A key that cannot be opened with full access (and so not created or written either).
void DenyRegistryAccess(const std::string& keyPath);

// --- Desktop ---
// A top-level window with a menu bar of `menuPopups` pop-ups (none when 0).
WindowHandle CreateHostWindow(const std::string& className, int menuPopups = 0);
MenuHandle MenuBar(WindowHandle window);
void FailHookInstallation(HookKind kind);
bool HookInstalled(HookKind kind);
// How often a hook passed a message on to the next hook.
int NextHookCalls(HookKind kind);
const std::vector<std::string>& MessageBoxes();

// Sends a message through the WH_CALLWNDPROC hook, as SendMessage does; returns
// the hook's record as the hook left it. (Windows hands the window procedure
// the message as it was sent, whatever the hook wrote into the record.)
platform::SentMessageRecord SendThroughHooks(WindowHandle window, std::uint32_t message,
                                             std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
// Takes a posted message from the queue through the WH_GETMESSAGE hook (or peeks
// at it, leaving it queued); returns the record as the host then receives it.
platform::QueuedMessageRecord TakeThroughHooks(WindowHandle window, std::uint32_t message,
                                               std::uintptr_t wParam = 0, std::intptr_t lParam = 0,
                                               bool remove = true);

// Keys the user holds down now (GetAsyncKeyState).
void SetKeyHeld(int virtualKey, bool held);
// A toggle key's state (Num Lock), as GetKeyState's low bit reads it.
void SetKeyToggled(int virtualKey, bool on);
// The pointer on the screen, and the view windows' client size (800 x 560 unless set).
void SetCursorPosition(std::int32_t x, std::int32_t y);
void SetClientSize(WindowHandle window, std::int32_t width, std::int32_t height);
// The pointer shape the module set last; -1 before it set any (Arrow 0, Hand 1, then 2 to 4).
int PointerShown();
// The window that has the mouse captured, 0 for none.
WindowHandle CapturedWindow();

// --- Files ---
// A full disk: files opened for writing take what is written and fail as they
// are flushed or closed.
void FillDisk(bool full);

// --- File dialogs ---
// The answer of the next file dialogs: the path the user chooses, or nothing (cancel).
void AnswerFileDialogs(std::optional<std::string> path);
struct FileDialogShown {
  bool save;
  std::string title, filter, defaultExtension, initialFolder;
  std::uint32_t flags;
  WindowHandle owner;
};
const std::vector<FileDialogShown>& FileDialogsShown();

// --- The module's modal dialogs ---
// What the user does in a dialog: types texts, clicks buttons (a check box
// flips, a radio button is selected), then gives commands: 1 is OK, Close or
// Enter; 2 is Cancel or Escape; kCloseBox the close box, which the dialog
// manager makes Cancel of.
inline constexpr int kCloseBox = 0xF060;  // the system command SC_CLOSE
struct DialogAnswer {
  std::vector<std::pair<int, std::string>> texts;
  std::vector<int> clicks;
  std::vector<int> commands;
};
// Answers for the next dialogs, in the order they open; a dialog with no answer
// left, or whose commands run out, is reported as left open and cancelled.
void AnswerModalDialogs(std::vector<DialogAnswer> answers);
struct ModalDialogShown {
  int templateId;
  std::string controls;  // the controls as they opened: "1000=10 1002=[x] 1003=[ ] ..."
  std::string outcome;   // for example "command 2 ignored, command 1 closed it"
};
const std::vector<ModalDialogShown>& ModalDialogsShown();
// The controls of a dialog as one line, by identifier.
std::string DescribeDialogControls(const platform::DialogField* fields, int count);

// --- The head tracker's block ---
// A tracker makes the named mapping (of `size` bytes; the protocol's is 108)
// and keeps it; stops holding it. While the module has it open the block
// lives on, as Windows keeps a mapping while any handle to it is open.
void StartHeadTracker(std::uint32_t size = 108);
void StopHeadTracker();
// A tracker's store of one 32-bit field.
void WriteHeadTrackerWord(std::uint32_t offset, std::uint32_t word);
// How often the module asked for the mapping while it had none.
int HeadTrackerOpenAttempts();
// The tracker stores these (offset, word) pairs right after the module's next
// `afterReads` + 1 reads of the block: a pose written while it is being read.
void WriteHeadTrackerDuringRead(int afterReads, std::vector<std::pair<std::uint32_t, std::uint32_t>> stores);

// --- The sound device (DirectSound) ---
void SetSoundDeviceAvailable(bool available);
// Buffers created from now on report that another 3-D algorithm was used.
void RefuseFull3DAlgorithm(bool refuse);
// Buffers created from now on are this many bytes larger than asked (DirectSound
// may round a size up).
void EnlargeSoundBuffers(std::uint32_t bytes);
// Every buffer is lost (and stops); each comes back after this many Restore calls.
void LoseSoundBuffers(int restoreCallsUntilBack);
struct SoundBufferSeen {
  std::uintptr_t handle;
  std::vector<std::uint8_t> bytes;
  bool playing, looping, lost;
  std::uint32_t position;
  float distance;  // the heard 3-D position's z: where the source stands before the listener
  std::uint32_t plays;
  std::vector<std::uint8_t> format;        // the wave format it was made with, its extra bytes included
  platform::Sound3DParameters parameters;  // as the listener hears them: deferred ones once committed
};
std::vector<SoundBufferSeen> SoundBuffers();
// How many buffers exist now, without copying them.
std::size_t SoundBufferCount();
int SoundCommits();

struct MenuItem {
  enum class Kind { Text, Separator, Popup } kind;
  std::uint32_t id;
  std::string text;
  bool checked;
  MenuHandle popup;
};
const std::vector<MenuItem>& MenuItems(MenuHandle menu);
// Menus created and not yet destroyed.
int LiveMenuCount();

}  // namespace varolen::sim
