#include "tools/tuhodb/Json.h"

#include <cstdio>

#include "platform/Ansi.h"

namespace tuho::tuhodb {

std::string jsonString(const std::string& ansi) {
  std::string out = "\"";
  for (unsigned char c : utf8FromAnsi(ansi)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string jsonOptional(const std::optional<std::string>& ansi) {
  return ansi ? jsonString(*ansi) : "null";
}

}  // namespace tuho::tuhodb
