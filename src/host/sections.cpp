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

}  // namespace varolen
