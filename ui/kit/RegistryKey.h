// One key of the current user's registry, opened (or created when it is
// missing) for the values of one operation and closed again.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tuho {

class RegistryKey {
 public:
  // Opens HKEY_CURRENT_USER\path with full access, creating it if need be.
  // When neither works the key is invalid: it reads nothing and writes
  // nothing.
  explicit RegistryKey(const char* path);
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool valid() const { return key_ != nullptr; }
  // A DWORD value; absent unless it is stored as REG_DWORD of 4 bytes.
  std::optional<DWORD> dword(const char* name) const;
  bool setDword(const char* name, DWORD value);
  // Whether the value exists; a value longer than `capacity` bytes counts.
  bool hasValue(const char* name, DWORD capacity) const;
  // A REG_SZ or REG_EXPAND_SZ value whole (not expanded), however long;
  // absent when missing or of another type.
  std::optional<std::string> string(const char* name) const;
  bool setString(const char* name, const std::string& value);
  // True when the value is gone afterwards (also when it never was).
  bool deleteValue(const char* name);

 private:
  HKEY key_ = nullptr;
};

}  // namespace tuho
