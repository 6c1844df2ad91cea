// Reads of a store file served from one window of it held in memory, so a
// walk costs one read per window rather than two reads and two seeks per
// record. Writes through the owner patch the window, so it never shows
// bytes older than the file.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/File.h"

namespace tuho {

class ReadWindow {
 public:
  static constexpr uint32_t kWindowBytes = 256 * 1024;

  explicit ReadWindow(File& file) : file_(file) {}

  File& file() const { return file_; }

  // As readFully (platform/File.h) at `offset`: false when a seek or read failed, *got short
  // at the end of the file.
  bool read(int64_t offset, void* buffer, uint32_t size, uint32_t* got);
  // Bytes just written to the file at `offset`.
  void patch(int64_t offset, const void* data, uint32_t size);
  // The file changed in a way the window cannot follow (cut, replaced, closed).
  void forget() { length_ = 0; }

 private:
  bool fill(int64_t offset);

  File& file_;
  // Left uninitialised: a read fills what it uses, and a small file then
  // touches a page or two of the window rather than all of it.
  std::unique_ptr<uint8_t[]> bytes_;
  int64_t start_ = 0;
  uint32_t length_ = 0;
};

}  // namespace tuho
