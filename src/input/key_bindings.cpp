#include "input/key_bindings.h"

#include <cctype>
#include <cstring>

#include "host/text.h"
#include "input/key_names.h"
#include "platform/files.h"

namespace varolen {

namespace {

constexpr std::size_t kTokenCapacity = 1024;  // 1023 characters and the end

// Characters as the file's signed 8-bit codes: anything at or below a blank,
// bytes above 127 included, separates.
bool IsBlank(char c) { return static_cast<signed char>(c) <= 32; }

// The file as a sequence of tokens: maximal runs of characters that are not
// white space.
class TokenReader {
 public:
  explicit TokenReader(std::FILE* file) : file_(file) {}

  // The next token, or false at the end of the file. A token longer than the
  // buffer is skipped whole; a token beginning with "//" takes the rest of its
  // line with it.
  bool Next(char (&token)[kTokenCapacity]) {
    for (;;) {
      int c = std::fgetc(file_);
      while (c != EOF && std::isspace(c)) c = std::fgetc(file_);
      if (c == EOF) return false;
      std::size_t length = 0;
      bool tooLong = false;
      while (c != EOF && !std::isspace(c)) {
        if (length + 1 < kTokenCapacity) {
          token[length++] = static_cast<char>(c);
        } else {
          tooLong = true;
        }
        c = std::fgetc(file_);
      }
      token[length] = '\0';
      if (length >= 2 && token[0] == '/' && token[1] == '/') {
        while (c != EOF && c != '\n') c = std::fgetc(file_);
        continue;
      }
      if (!tooLong) return true;
    }
  }

 private:
  std::FILE* file_;
};

void ApplyItem(KeyBinding& binding, const char* item) {
  if (std::strcmp(item, "SHIFT") == 0) {
    binding.modifiers |= kModifierShift;
  } else if (std::strcmp(item, "CONTROL") == 0) {
    binding.modifiers |= kModifierControl;
  } else if (std::strcmp(item, "ALT") == 0) {
    binding.modifiers |= kModifierAlt;
  } else if (std::strcmp(item, "INVERSE") == 0) {
    binding.modifiers |= kModifierInverse;
  } else if (std::strcmp(item, "DOUBLE") == 0) {
    binding.isDouble = true;
  } else if (item[0] == 'N' && item[1] == 'Z') {
    const std::int32_t zone = ParseInteger(item + 2);
    binding.nullZone = zone < 0 ? 0 : (zone > 100 ? 100 : zone);
  } else {
    std::uint32_t code = 0;
    // A name missing from the table stands for its first character: a letter
    // is its own virtual-key code.
    binding.keyCode =
        FindKeyCode(item, code) ? static_cast<std::int32_t>(code) : static_cast<signed char>(item[0]);
  }
}

}  // namespace

KeyBinding ParseBinding(const char* token) {
  char text[kTokenCapacity];
  CopyText(text, sizeof text, token);
  char* equals = std::strchr(text, '=');
  // The items are read in upper case; the command keeps its case.
  for (char* c = equals; c != nullptr && *c != '\0'; ++c) {
    if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
  }

  KeyBinding binding = {};
  const char* c = text;
  while (*c != '\0' && (*c == ',' || static_cast<signed char>(*c) < 33)) ++c;
  int length = 0;
  while (*c != '\0' && !IsBlank(*c) && *c != ',' && *c != '=') {
    // A longer name is cut to what the field holds.
    if (length < kCommandNameCapacity - 1) binding.commandName[length++] = *c;
    ++c;
  }

  const ResolvedCommand resolved = ResolveCommand(binding.commandName);
  binding.command = resolved.command;
  binding.preset = resolved.preset;
  if (equals == nullptr) return binding;
  c = equals + 1;
  char item[kTokenCapacity];
  for (;;) {
    // A further "=" separates items like a ",".
    while (*c != '\0' && (*c == ',' || *c == '=' || IsBlank(*c))) ++c;
    if (*c == '\0') break;
    std::size_t itemLength = 0;
    while (*c != '\0' && *c != ',' && *c != '=' && !IsBlank(*c)) item[itemLength++] = *c++;
    item[itemLength] = '\0';
    ApplyItem(binding, item);
  }
  return binding;
}

void ReadKeyBindingsFrom(std::FILE* file, const char* section, KeyBindingTable& table) {
  char header[kTokenCapacity];
  FormatText(header, sizeof header, "[%s]", section);
  TokenReader tokens(file);
  char token[kTokenCapacity];
  bool inSection = false;
  while (tokens.Next(token)) {
    if (!inSection) {
      inSection = EqualIgnoringCase(token, header);
      continue;
    }
    if (std::strchr(token, '[') != nullptr) {
      // Another section; the same header again simply goes on with it.
      inSection = EqualIgnoringCase(token, header);
      continue;
    }
    if (std::strchr(token, '=') == nullptr || std::strlen(token) < 2) continue;
    if (table.count < table.capacity) table.entries[table.count++] = ParseBinding(token);
  }
}

int ReadKeyBindings(const char* path, const char* section, KeyBindingTable& table) {
  std::FILE* file = platform::OpenFile(path, "r");
  if (file == nullptr) return 0;
  ReadKeyBindingsFrom(file, section, table);
  std::fclose(file);
  return 1;
}

}  // namespace varolen
