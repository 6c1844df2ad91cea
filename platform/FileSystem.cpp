#include "platform/FileSystem.h"

#include "platform/Ansi.h"

namespace tuho {

std::optional<std::string> ansiEntryName(const std::u16string& longName, const std::u16string& shortName) {
  if (std::optional<std::string> name = exactAnsiFromUtf16(longName)) return name;
  if (shortName.empty()) return std::nullopt;
  return exactAnsiFromUtf16(shortName);
}

}  // namespace tuho
