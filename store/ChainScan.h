// Walks the record chain of a store file as it is on disk, deleted records
// included, in one buffered pass, and says where the whole part of it ends.
// Used when a store is opened (to cut off a damaged tail) and by the
// inspection tools.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/File.h"
#include "store/ReadWindow.h"
#include "store/RecordCodec.h"

namespace tuho {

struct ChainRecord {
  int64_t offset = 0;
  int32_t size = 0;
  int32_t id = 0;
  int32_t deleted = 0;
};

struct ChainReport {
  int64_t fileSize = 0;
  int64_t wholeEnd = 0;       // end of the last whole record
  RecordFault fault = kRecordWhole;
  bool readFailed = false;    // a seek or read failed: the verdict is incomplete
  int records = 0;            // whole records seen
  // Damaged stretches inside the chain, each shaped as one record (offset,
  // and a size that reaches the next whole record): a record with damaged
  // fields behind a sound size, or bytes up to where whole records start
  // again after a size that could not be trusted. Only they are lost.
  std::vector<ChainRecord> damaged;
  bool whole() const { return fault == kRecordWhole && damaged.empty() && !readFailed && wholeEnd == fileSize; }
};

using ChainVisitor = std::function<void(const ChainRecord& record, const uint8_t* body, size_t length)>;

// Reads every record from `start` on into `body` (grown as records need, up
// to kBodyBufferBytes) and calls visit for each whole one. Damage is listed
// and passed over where whole records follow it (a record with damaged
// fields, or the bytes up to the next offset where a convincing run of whole
// records starts, within one largest record); otherwise the chain ends there
// and the rest is the tail.
ChainReport scanChain(File& file, int64_t start, std::vector<uint8_t>& body, const ChainVisitor& visit);
// The same through the owner's window of the file, which then holds the
// file's last stretch.
ChainReport scanChain(ReadWindow& window, int64_t start, std::vector<uint8_t>& body, const ChainVisitor& visit);

}  // namespace tuho
