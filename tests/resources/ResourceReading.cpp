#include "ResourceReading.h"

#include <cstring>

namespace {

// The resource's bytes in this module, or an empty view.
std::pair<const uint8_t*, size_t> resourceView(LPCSTR name, LPCSTR type) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return {nullptr, 0};
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return {nullptr, 0};
  return {static_cast<const uint8_t*>(LockResource(loaded)), SizeofResource(module, found)};
}

// Walks a dialog template with bounds checks; any overrun sets failed.
class TemplateReader {
 public:
  TemplateReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool failed() const { return failed_; }

  uint16_t word() {
    uint16_t v = 0;
    take(&v, 2);
    return v;
  }
  uint32_t dword() {
    uint32_t v = 0;
    take(&v, 4);
    return v;
  }
  uint8_t byte() {
    uint8_t v = 0;
    take(&v, 1);
    return v;
  }
  void alignDword() { at_ = (at_ + 3) & ~size_t(3); }

  // A zero-terminated UTF-16 string, narrowed (the texts are ASCII).
  std::string text() {
    std::string out;
    for (uint16_t c = word(); c != 0 && !failed_; c = word()) out += c < 128 ? char(c) : '?';
    return out;
  }

  // A string, or 0xFFFF followed by an ordinal, written as "#n".
  std::string textOrOrdinal() {
    if (peekWord() == 0xFFFF) {
      word();
      return "#" + std::to_string(word());
    }
    return text();
  }

 private:
  uint16_t peekWord() {
    uint16_t v = 0;
    if (at_ + 2 <= size_) std::memcpy(&v, data_ + at_, 2);
    return v;
  }
  void take(void* out, size_t n) {
    if (at_ + n > size_) {
      failed_ = true;
      return;
    }
    std::memcpy(out, data_ + at_, n);
    at_ += n;
  }

  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  bool failed_ = false;
};

// Class atoms and names (which are case-insensitive) in one spelling.
std::string canonicalClass(const std::string& cls) {
  static const char* const kNames[][2] = {{"#128", "Button"}, {"#129", "Edit"},      {"#130", "Static"},
                                          {"#131", "ListBox"}, {"#132", "ScrollBar"}, {"#133", "ComboBox"}};
  for (const auto& name : kNames)
    if (cls == name[0] || lstrcmpiA(cls.c_str(), name[1]) == 0) return name[1];
  return cls;
}

DialogItem readItem(TemplateReader& r) {
  DialogItem item;
  r.alignDword();
  r.dword();  // help id
  r.dword();  // extended style
  item.style = r.dword();
  item.x = static_cast<int16_t>(r.word());
  item.y = static_cast<int16_t>(r.word());
  item.cx = static_cast<int16_t>(r.word());
  item.cy = static_cast<int16_t>(r.word());
  item.id = static_cast<int32_t>(r.dword());
  item.windowClass = canonicalClass(r.textOrOrdinal());
  item.text = r.textOrOrdinal();
  uint16_t extra = r.word();
  for (uint16_t i = 0; i < extra; ++i) r.byte();
  return item;
}

}  // namespace

uint32_t LoadedBitmap::pixel(int x, int y) const {
  size_t at = (size_t(y) * width + x) * 3;
  return uint32_t(rgb[at]) << 16 | uint32_t(rgb[at + 1]) << 8 | rgb[at + 2];
}

const DialogItem* DialogTemplate::item(int id) const {
  for (const DialogItem& i : items)
    if (i.id == id) return &i;
  return nullptr;
}

const DialogItem* DialogTemplate::itemWithText(const std::string& text) const {
  for (const DialogItem& i : items)
    if (i.text == text) return &i;
  return nullptr;
}

std::optional<LoadedBitmap> loadBitmap(int id) {
  HANDLE handle = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                             LR_CREATEDIBSECTION);
  if (!handle) return std::nullopt;
  HBITMAP bitmap = static_cast<HBITMAP>(handle);
  DIBSECTION dib{};
  std::optional<LoadedBitmap> out;
  if (GetObjectA(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits) {
    LoadedBitmap b;
    b.width = dib.dsBm.bmWidth;
    b.height = dib.dsBm.bmHeight;
    b.bitsPerPixel = dib.dsBm.bmBitsPixel;
    if (b.bitsPerPixel == 24) {
      const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
      bool bottomUp = dib.dsBmih.biHeight > 0;
      for (int y = 0; y < b.height; ++y) {
        const uint8_t* row = bits + size_t(bottomUp ? b.height - 1 - y : y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < b.width; ++x) {
          b.rgb.push_back(row[x * 3 + 2]);
          b.rgb.push_back(row[x * 3 + 1]);
          b.rgb.push_back(row[x * 3]);
        }
      }
    }
    out = b;
  }
  DeleteObject(bitmap);
  return out;
}

std::vector<int> iconGroupSizes(int id) {
  auto [data, size] = resourceView(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  std::vector<int> sizes;
  if (size < 6) return sizes;
  uint16_t count = 0;
  std::memcpy(&count, data + 4, 2);
  for (size_t i = 0; i < count && 6 + (i + 1) * 14 <= size; ++i) {
    int width = data[6 + i * 14];
    sizes.push_back(width == 0 ? 256 : width);
  }
  return sizes;
}

std::optional<DialogTemplate> readDialog(int id) {
  auto [data, size] = resourceView(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (!data) return std::nullopt;
  TemplateReader r(data, size);
  if (r.word() != 1 || r.word() != 0xFFFF) return std::nullopt;  // DLGTEMPLATEEX only
  DialogTemplate d;
  r.dword();  // help id
  r.dword();  // extended style
  d.style = r.dword();
  uint16_t count = r.word();
  r.word();
  r.word();
  d.cx = static_cast<int16_t>(r.word());
  d.cy = static_cast<int16_t>(r.word());
  r.textOrOrdinal();  // menu
  r.textOrOrdinal();  // class
  d.caption = r.text();
  if (d.style & DS_SETFONT) {
    d.fontPoints = r.word();
    r.word();  // weight
    r.byte();  // italic
    r.byte();  // charset
    d.fontFace = r.text();
  }
  for (uint16_t i = 0; i < count && !r.failed(); ++i) d.items.push_back(readItem(r));
  if (r.failed()) return std::nullopt;
  return d;
}

std::string resourceBytes(int id, LPCSTR type) {
  auto [data, size] = resourceView(MAKEINTRESOURCEA(id), type);
  return data ? std::string(reinterpret_cast<const char*>(data), size) : std::string();
}

namespace {

std::vector<char> versionBlock() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, block.data())) block.clear();
  return block;
}

}  // namespace

std::optional<VS_FIXEDFILEINFO> fixedFileVersion() {
  std::vector<char> block = versionBlock();
  void* value = nullptr;
  UINT length = 0;
  if (block.empty() || !VerQueryValueA(block.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  VS_FIXEDFILEINFO info;
  std::memcpy(&info, value, sizeof info);
  return info;
}

std::string versionString(const std::string& name) {
  std::vector<char> block = versionBlock();
  void* value = nullptr;
  UINT length = 0;
  std::string query = "\\StringFileInfo\\040904B0\\" + name;
  if (block.empty() || !VerQueryValueA(block.data(), query.c_str(), &value, &length) || length == 0) return {};
  return std::string(static_cast<const char*>(value));
}
