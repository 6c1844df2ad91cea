// Reading the resources linked into the running test program: bitmaps with
// their pixels, the sizes held by an icon group, dialog templates, version
// information and raw resource bytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LoadedBitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<uint8_t> rgb;  // top row first, 3 bytes a pixel

  uint32_t pixel(int x, int y) const;  // 0xRRGGBB
};

struct DialogItem {
  int id = 0;
  std::string windowClass;  // atoms and any spelling become "Button", "Edit", ...
  std::string text;         // an ordinal text (a bitmap id) becomes "#164"
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  DWORD style = 0;
  int cx = 0, cy = 0;
  std::string caption;
  std::string fontFace;
  int fontPoints = 0;
  std::vector<DialogItem> items;

  const DialogItem* item(int id) const;
  const DialogItem* itemWithText(const std::string& text) const;
};

std::optional<LoadedBitmap> loadBitmap(int id);
std::vector<int> iconGroupSizes(int id);
std::optional<DialogTemplate> readDialog(int id);
std::string resourceBytes(int id, LPCSTR type);
std::optional<VS_FIXEDFILEINFO> fixedFileVersion();
std::string versionString(const std::string& name);
