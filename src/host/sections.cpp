#include "host/sections.h"

#include <cmath>
#include <cstring>

#include "host/text.h"

namespace varolen {

void ReadSectionValues(std::FILE* file, const char* header, SectionValue take, void* context) {
  char line[256];
  bool inSection = false;
  while (std::fgets(line, sizeof line, file) != nullptr) {
    // A line longer than the buffer goes on in the next reads: it is skipped
    // whole rather than read in part.
    if (std::strchr(line, '\n') == nullptr && !std::feof(file)) {
      while (std::fgets(line, sizeof line, file) != nullptr && std::strchr(line, '\n') == nullptr) {
      }
      continue;
    }
    if (char* comment = std::strstr(line, "//")) *comment = '\0';
    char* text = line;
    while (*text == ' ' || *text == '\t') ++text;
    if (*text == '[') {
      char* end = std::strchr(text, ']');
      if (end != nullptr) end[1] = '\0';
      inSection = EqualIgnoringCase(text, header);
    } else if (inSection) {
      char* equals = std::strchr(text, '=');
      if (equals != nullptr) {
        char* nameEnd = equals;
        while (nameEnd > text && (nameEnd[-1] == ' ' || nameEnd[-1] == '\t')) --nameEnd;
        *nameEnd = '\0';
        char* value = equals + 1;
        while (*value == ' ' || *value == '\t') ++value;
        char* valueEnd = value + std::strlen(value);
        while (valueEnd > value && static_cast<unsigned char>(valueEnd[-1]) <= ' ') --valueEnd;
        *valueEnd = '\0';
        take(context, text, value);
      }
    }
  }
}

bool SectionNumber(const char* value, double& number) {
  const char* end = nullptr;
  const double read = ParseDecimal(value, &end);
  if (end == value || !std::isfinite(read)) return false;
  number = read;
  return true;
}

namespace {

constexpr int kMostSections = 4;
constexpr int kMostOptions = 16;

struct Line {
  const char* start;
  std::size_t length;        // without its end
  std::size_t endingLength;  // "\n", "\r\n" or none at the end of the file
};

// A line's text without its comment, blanks trimmed, into `buffer`.
void Bare(const Line& line, char (&buffer)[256]) {
  std::size_t length = line.length < sizeof buffer - 1 ? line.length : sizeof buffer - 1;
  std::memcpy(buffer, line.start, length);
  buffer[length] = '\0';
  if (char* comment = std::strstr(buffer, "//")) *comment = '\0';
  char* text = buffer;
  while (*text == ' ' || *text == '\t') ++text;
  std::memmove(buffer, text, std::strlen(text) + 1);
  std::size_t end = std::strlen(buffer);
  while (end > 0 && static_cast<unsigned char>(buffer[end - 1]) <= ' ') buffer[--end] = '\0';
}

class SectionWriter {
 public:
  SectionWriter(const SectionOptions* sections, int count, std::FILE* out, const char* newline)
      : sections_(sections),
        count_(count < kMostSections ? count : kMostSections),
        out_(out),
        newline_(newline) {}

  void Take(const Line& line) {
    char bare[256];
    Bare(line, bare);
    if (line.length < 256 && bare[0] == '[') {
      Close();
      Put(line.start, line.length + line.endingLength);
      current_ = -1;
      if (char* end = std::strchr(bare, ']')) end[1] = '\0';
      for (int index = 0; index < count_; ++index) {
        if (EqualIgnoringCase(bare, sections_[index].header)) current_ = index;
      }
      return;
    }
    if (current_ < 0) {
      Put(line.start, line.length + line.endingLength);
      return;
    }
    if (bare[0] == '\0') {  // blank or a comment: held until the section goes on or ends
      if (pendingLength_ == 0) pendingStart_ = line.start;
      pendingLength_ += line.length + line.endingLength;
      return;
    }
    Flush();
    const int option = line.length < 256 ? OptionOf(bare) : -1;
    if (option < 0) {
      Put(line.start, line.length + line.endingLength);
      return;
    }
    const SectionOptions& section = sections_[current_];
    PutOption(section, option, line.start + line.length, line.endingLength);  // its own end, or none
    written_[current_][option] = true;
  }

  // The section under way ends: the options it did not set follow its last
  // setting (or its header), the first time its header is met; the blank and
  // comment lines after that stay after them.
  void Close() {
    if (current_ >= 0 && !closed_[current_]) {
      const SectionOptions& section = sections_[current_];
      for (int option = 0; option < section.count && option < kMostOptions; ++option) {
        if (written_[current_][option]) continue;
        if (!lastEnded_) Put(newline_, std::strlen(newline_));
        PutOption(section, option, newline_, std::strlen(newline_));
        written_[current_][option] = true;
      }
      closed_[current_] = true;
    }
    Flush();
  }

  // The sections the file has not got, at its end.
  void AddMissing() {
    for (int index = 0; index < count_; ++index) {
      if (closed_[index]) continue;
      if (!lastEnded_) Put(newline_, std::strlen(newline_));  // the file's last line ended
      if (wroteAny_) Put(newline_, std::strlen(newline_));    // a blank line before the header
      Put(sections_[index].header, std::strlen(sections_[index].header));
      Put(newline_, std::strlen(newline_));
      current_ = index;
      Close();
    }
  }

  bool Failed() const { return std::ferror(out_) != 0; }

 private:
  int OptionOf(const char* bare) const {
    const char* equals = std::strchr(bare, '=');
    if (equals == nullptr) return -1;
    char name[256];
    std::size_t length = static_cast<std::size_t>(equals - bare);
    while (length > 0 && (bare[length - 1] == ' ' || bare[length - 1] == '\t')) --length;
    std::memcpy(name, bare, length);
    name[length] = '\0';
    const SectionOptions& section = sections_[current_];
    for (int option = 0; option < section.count && option < kMostOptions; ++option) {
      if (EqualIgnoringCase(name, section.names[option])) return option;
    }
    return -1;
  }
  void PutOption(const SectionOptions& section, int option, const char* ending, std::size_t endingLength) {
    Put(section.names[option], std::strlen(section.names[option]));
    Put("=", 1);
    Put(section.values[option], std::strlen(section.values[option]));
    Put(ending, endingLength);
  }
  void Flush() {
    if (pendingLength_ != 0) Put(pendingStart_, pendingLength_);
    pendingLength_ = 0;
  }
  void Put(const char* bytes, std::size_t length) {
    if (length == 0) return;
    std::fwrite(bytes, 1, length, out_);
    lastEnded_ = bytes[length - 1] == '\n';
    wroteAny_ = true;
  }

  const SectionOptions* sections_;
  int count_;
  std::FILE* out_;
  const char* newline_;
  int current_ = -1;
  bool written_[kMostSections][kMostOptions] = {};
  bool closed_[kMostSections] = {};
  const char* pendingStart_ = nullptr;
  std::size_t pendingLength_ = 0;
  bool lastEnded_ = true;
  bool wroteAny_ = false;
};

}  // namespace

bool RewriteSections(const char* text, std::size_t size, const SectionOptions* sections, int sectionCount,
                     std::FILE* out) {
  // New lines end as the file's first line does (a file with none: as Windows ends them).
  const char* firstEnd = static_cast<const char*>(std::memchr(text, '\n', size));
  const char* newline =
      firstEnd == nullptr ? "\r\n" : (firstEnd > text && firstEnd[-1] == '\r' ? "\r\n" : "\n");
  SectionWriter writer(sections, sectionCount, out, newline);
  std::size_t at = 0;
  while (at < size) {
    const char* start = text + at;
    const char* end = static_cast<const char*>(std::memchr(start, '\n', size - at));
    Line line = {start, end == nullptr ? size - at : static_cast<std::size_t>(end - start), 0};
    if (end != nullptr) {
      line.endingLength = 1;
      if (line.length > 0 && start[line.length - 1] == '\r') {
        --line.length;
        line.endingLength = 2;
      }
    }
    writer.Take(line);
    at += line.length + line.endingLength;
  }
  writer.Close();
  writer.AddMissing();
  return !writer.Failed();
}

}  // namespace varolen
