// Walks the record chain of a store file as it is on disk, deleted records
// included, in one buffered pass, and says where the whole part of it ends.
// Used when a store is opened (to cut off a damaged tail) and by the
// inspection tools.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/File.h"
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
  // Records whose fields are damaged but whose size led to a whole record:
  // only they are lost, not what follows.
  std::vector<ChainRecord> damaged;
  bool whole() const { return fault == kRecordWhole && damaged.empty() && !readFailed && wholeEnd == fileSize; }
};

using ChainVisitor = std::function<void(const ChainRecord& record, const uint8_t* body, size_t length)>;

// Reads every record from `start` on into `body` (at least kBodyBufferBytes)
// and calls visit for each whole one. A record with damaged fields is listed
// and passed over when the record after it is whole again; otherwise the
// chain stops at the first record that is not whole.
ChainReport scanChain(File& file, int64_t start, std::vector<uint8_t>& body, const ChainVisitor& visit);

}  // namespace tuho
