// Told by a store of every live data record it holds and of every change to
// them, so that its owner can keep what it needs of the records in memory
// instead of walking the file. Records come in file order at opening; a new
// record always comes at the end of the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tuho {

class RecordObserver {
 public:
  virtual ~RecordObserver() = default;
  // Everything told so far no longer holds: the file was closed, failed or
  // is being read anew. Until inStep() follows, what is told may be partial.
  virtual void restart() = 0;
  // What was told since restart() is every live data record of the file.
  virtual void inStep() = 0;
  // The records about to be told take up to `bytes` of the file, so that
  // room for all of them can be made at once.
  virtual void expectBytes(int64_t bytes) = 0;
  // A live record at `offset`: found at opening, appended, or rewritten in
  // place. `body` is its fields as the file holds them (already checked).
  virtual void recordLive(int64_t offset, int32_t id, const uint8_t* body, size_t length) = 0;
  // The record at `offset` was flagged deleted.
  virtual void recordGone(int64_t offset) = 0;
};

}  // namespace tuho
