// Minimal JSON output for tuhodb: strings (given as ANSI, written as UTF-8),
// numbers and null.
#pragma once

#include <optional>
#include <string>

namespace tuho::tuhodb {

// A JSON string literal, quotes included, of an ANSI text.
std::string jsonString(const std::string& ansi);
// jsonString of the value, or null when absent.
std::string jsonOptional(const std::optional<std::string>& ansi);

}  // namespace tuho::tuhodb
