// Tells a store where the live record with a given id starts, so that
// finding it by id reads that one record instead of walking the file.
#pragma once

#include <cstdint>

namespace tuho {

class RecordLocator {
 public:
  virtual ~RecordLocator() = default;
  // True when it knows: *offset is where the live record with this id
  // starts, or -1 when no live record has it. False when it cannot be sure
  // of the file: the store then walks it.
  virtual bool locate(int32_t id, int64_t* offset) const = 0;
};

}  // namespace tuho
