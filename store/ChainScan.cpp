#include "store/ChainScan.h"

#include "store/ReadWindow.h"

namespace tuho {

ChainReport scanChain(File& file, int64_t start, std::vector<uint8_t>& body, const ChainVisitor& visit) {
  ChainReport report;
  report.wholeEnd = start;
  if (!file.size(&report.fileSize)) {
    report.readFailed = true;
    return report;
  }
  ReadWindow window(file);
  int64_t offset = start;
  bool suspect = false;  // the last record read had damaged fields
  while (offset < report.fileSize) {
    uint8_t head[kRecordHeadBytes];
    uint32_t got = 0;
    if (!window.read(offset, head, kRecordHeadBytes, &got)) {
      report.readFailed = true;
      break;
    }
    if (got < kRecordHeadBytes) {
      report.fault = kRecordHeadTorn;
      break;
    }
    ChainRecord record;
    record.offset = offset;
    record.size = loadInt(head);
    record.id = loadInt(head + 4);
    record.deleted = loadInt(head + 8);
    if (record.size < kMinRecordSize) {
      report.fault = kRecordSizeTooSmall;
      break;
    }
    const uint32_t length = static_cast<uint32_t>(record.size) - kMinRecordSize;
    if (length > kBodyBufferBytes || length > body.size()) {
      report.fault = kRecordTooLarge;
      break;
    }
    if (static_cast<int64_t>(length) > report.fileSize - offset - kRecordHeadBytes) {
      report.fault = kRecordPastEnd;
      break;
    }
    if (!window.read(offset + kRecordHeadBytes, body.data(), length, &got)) {
      report.readFailed = true;
      break;
    }
    if (got < length) {
      report.fault = kRecordPastEnd;
      break;
    }
    offset += kRecordHeadBytes + length;
    RecordFault fault = decodeRecordBody(body.data(), length, nullptr);
    if (fault != kRecordWhole) {
      // Two in a row: the size of the first one cannot be trusted either.
      if (suspect) break;
      report.damaged.push_back(record);
      report.fault = fault;
      suspect = true;
      continue;
    }
    suspect = false;
    report.fault = kRecordWhole;
    if (visit) visit(record, body.data(), length);
    ++report.records;
    report.wholeEnd = offset;
  }
  // A damaged record that the chain ends with belongs to the damaged tail.
  if (suspect) report.damaged.pop_back();
  return report;
}

}  // namespace tuho
