#include "store/ChainScan.h"

#include <algorithm>

#include "store/ReadWindow.h"

namespace tuho {
namespace {

// How one record at an offset reads.
struct RecordRead {
  bool readFailed = false;
  RecordFault fault = kRecordWhole;  // of its head and size, or of its fields
  bool sizeSound = false;            // its size leads to where the next record starts
  ChainRecord record;
  uint32_t length = 0;               // body bytes
};

// Reads a record's head and checks its size against the file; the body is
// not read yet.
RecordRead readHead(ReadWindow& window, int64_t offset, int64_t fileSize) {
  RecordRead read;
  read.record.offset = offset;
  uint8_t head[kRecordHeadBytes];
  uint32_t got = 0;
  if (!window.read(offset, head, kRecordHeadBytes, &got)) {
    read.readFailed = true;
    return read;
  }
  if (got < kRecordHeadBytes) {
    read.fault = kRecordHeadTorn;
    return read;
  }
  read.record.size = loadInt(head);
  read.record.id = loadInt(head + 4);
  read.record.deleted = loadInt(head + 8);
  if (read.record.size < kMinRecordSize) {
    read.fault = kRecordSizeTooSmall;
    return read;
  }
  read.length = static_cast<uint32_t>(read.record.size) - kMinRecordSize;
  if (read.length > kBodyBufferBytes) {
    read.fault = kRecordTooLarge;
  } else if (static_cast<int64_t>(read.length) > fileSize - offset - kRecordHeadBytes) {
    read.fault = kRecordPastEnd;
  }
  return read;
}

// Reads and checks the body of a record whose head was sound.
void readBody(ReadWindow& window, RecordRead& read, std::vector<uint8_t>& body) {
  if (body.size() < read.length) body.resize(read.length);
  uint32_t got = 0;
  if (!window.read(read.record.offset + kRecordHeadBytes, body.data(), read.length, &got)) {
    read.readFailed = true;
  } else if (got < read.length) {
    read.fault = kRecordPastEnd;
  } else {
    read.sizeSound = true;
    read.fault = decodeRecordBody(body.data(), read.length, nullptr);
  }
}

RecordRead readRecord(ReadWindow& window, int64_t offset, int64_t fileSize, std::vector<uint8_t>& body) {
  RecordRead read = readHead(window, offset, fileSize);
  if (!read.readFailed && read.fault == kRecordWhole) readBody(window, read, body);
  return read;
}

int64_t endOf(const RecordRead& read) { return read.record.offset + kRecordHeadBytes + read.length; }

// Bytes a scan may read while looking for where whole records start again,
// so that a file full of record-like heads cannot make it read for ever.
constexpr int64_t kSearchBudgetBytes = 64 * 1024 * 1024;

// Whether a whole chain starts at `offset`: records with plausible heads and
// whole fields, either running exactly to the end of the file or three in a
// row. Bytes inside a record rarely pass this by chance.
bool chainStartsAt(ReadWindow& window, int64_t offset, int64_t fileSize, std::vector<uint8_t>& body, int64_t& budget) {
  constexpr int kRecordsThatConvince = 3;
  for (int seen = 0; seen < kRecordsThatConvince; ++seen) {
    if (offset == fileSize) return seen > 0;
    RecordRead read = readHead(window, offset, fileSize);
    const ChainRecord& record = read.record;
    budget -= kRecordHeadBytes;
    if (read.readFailed || read.fault != kRecordWhole || record.id <= 0 || (record.deleted != 0 && record.deleted != 1)) {
      return false;
    }
    budget -= read.length;
    if (budget < 0) return false;
    readBody(window, read, body);
    if (read.readFailed || read.fault != kRecordWhole) return false;
    offset = endOf(read);
  }
  return true;
}

// Where the chain goes on after untrusted bytes from `from`: the first offset
// where a whole chain starts, no further than one largest record away, and
// such that the bytes in between can be written again as one deleted record
// (a bare head, or a head and a filler field). -1 when there is none.
int64_t findChainAfter(ReadWindow& window, int64_t from, int64_t fileSize, std::vector<uint8_t>& body, int64_t& budget) {
  constexpr int64_t kFillerFieldBytes = 16;
  const int64_t last = std::min(fileSize - kRecordHeadBytes, from + kRecordHeadBytes + static_cast<int64_t>(kBodyBufferBytes));
  for (int64_t offset = from + kRecordHeadBytes; offset <= last && budget > 0; ++offset) {
    const int64_t gap = offset - from - kRecordHeadBytes;
    if (gap != 0 && gap < kFillerFieldBytes) continue;
    if (chainStartsAt(window, offset, fileSize, body, budget)) return offset;
  }
  return -1;
}

}  // namespace

ChainReport scanChain(File& file, int64_t start, std::vector<uint8_t>& body, const ChainVisitor& visit) {
  ReadWindow window(file);
  return scanChain(window, start, body, visit);
}

ChainReport scanChain(ReadWindow& window, int64_t start, std::vector<uint8_t>& body, const ChainVisitor& visit) {
  ChainReport report;
  report.wholeEnd = start;
  if (!window.file().size(&report.fileSize)) {
    report.readFailed = true;
    return report;
  }
  int64_t offset = start;
  bool suspect = false;  // the last record read had damaged fields
  int64_t budget = kSearchBudgetBytes;
  while (offset < report.fileSize) {
    RecordRead read = readRecord(window, offset, report.fileSize, body);
    if (read.readFailed) {
      report.readFailed = true;
      break;
    }
    if (read.sizeSound && read.fault != kRecordWhole && !suspect) {
      // Damaged fields behind a sound size: only this record is lost.
      report.damaged.push_back(read.record);
      report.fault = read.fault;
      suspect = true;
      offset = endOf(read);
      continue;
    }
    if (read.fault != kRecordWhole) {
      // The size cannot be trusted (nor, after two damaged records in a row,
      // the size of the first): look for where whole records start again.
      int64_t untrusted = offset;
      if (suspect) {
        untrusted = report.damaged.back().offset;
        report.damaged.pop_back();
        suspect = false;  // it is the untrusted stretch now, not listed
      }
      report.fault = read.fault;
      int64_t next = findChainAfter(window, untrusted, report.fileSize, body, budget);
      if (next < 0) break;  // the rest is the damaged tail
      ChainRecord gap;
      gap.offset = untrusted;
      gap.size = static_cast<int32_t>(next - untrusted - kRecordHeadBytes + kMinRecordSize);
      report.damaged.push_back(gap);
      suspect = false;
      offset = next;
      continue;
    }
    suspect = false;
    report.fault = kRecordWhole;
    if (visit) visit(read.record, body.data(), read.length);
    ++report.records;
    offset = endOf(read);
    report.wholeEnd = offset;
  }
  // A damaged record that the chain ends with belongs to the damaged tail.
  if (suspect) report.damaged.pop_back();
  return report;
}

}  // namespace tuho
