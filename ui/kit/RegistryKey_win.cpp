#include "ui/kit/RegistryKey.h"

#include <vector>

namespace tuho {

RegistryKey::RegistryKey(const char* path) {
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key_) == ERROR_SUCCESS) return;
  key_ = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) !=
      ERROR_SUCCESS) {
    key_ = nullptr;
  }
}

RegistryKey::~RegistryKey() {
  if (key_) RegCloseKey(key_);
}

std::optional<DWORD> RegistryKey::dword(const char* name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  LONG status = RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

bool RegistryKey::setDword(const char* name, DWORD value) {
  return key_ && RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
                     ERROR_SUCCESS;
}

bool RegistryKey::hasValue(const char* name, DWORD capacity) const {
  if (!key_) return false;
  std::vector<BYTE> buffer(capacity);
  DWORD size = capacity;
  LONG status = RegQueryValueExA(key_, name, nullptr, nullptr, buffer.data(), &size);
  return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

std::optional<std::string> RegistryKey::string(const char* name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<char> data(size + 1, '\0');  // room for a terminator the value may lack
  if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(data.data());
}

bool RegistryKey::setString(const char* name, const std::string& value) {
  return key_ && RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryKey::deleteValue(const char* name) {
  if (!key_) return false;
  LONG status = RegDeleteValueA(key_, name);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace tuho
