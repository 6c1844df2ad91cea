#include "platform/Ansi.h"

#include <windows.h>

#include "platform/Backend.h"

namespace tuho {

std::string ansiFromUtf16(const std::u16string& text) {
  std::u16string clean = withoutSurrogates(text);
  if (clean.empty()) return std::string();
  const auto* wide = reinterpret_cast<const wchar_t*>(clean.data());
  int length = static_cast<int>(clean.size());
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, "?", nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), size, "?", nullptr);
  return out;
}

std::string utf8FromAnsi(const std::string& text) {
  if (text.empty()) return std::string();
  int length = static_cast<int>(text.size());
  int wideSize = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(wideSize > 0 ? wideSize : 0), L'\0');
  if (wideSize > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideSize);
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, out.data(), size, nullptr, nullptr);
  return out;
}

std::string consoleText(const std::string& ansi) { return ansi; }

}  // namespace tuho
