#include "store/ChainScan.h"

namespace tuho {

ChainReport scanChain(File& file, int64_t start, std::vector<uint8_t>& body, const ChainVisitor& visit) {
  ChainReport report;
  report.wholeEnd = start;
  if (!file.size(&report.fileSize) || !file.seek(start, kSeekBegin)) {
    report.readFailed = true;
    return report;
  }
  int64_t offset = start;
  while (offset < report.fileSize) {
    uint8_t head[kRecordHeadBytes];
    uint32_t got = 0;
    if (!readFully(file, head, kRecordHeadBytes, &got)) {
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
    if (!readFully(file, body.data(), length, &got)) {
      report.readFailed = true;
      break;
    }
    if (got < length) {
      report.fault = kRecordPastEnd;
      break;
    }
    RecordFault fault = decodeRecordBody(body.data(), length, nullptr);
    if (fault != kRecordWhole) {
      report.fault = fault;
      break;
    }
    if (visit) visit(record, body.data(), length);
    ++report.records;
    offset += kRecordHeadBytes + length;
    report.wholeEnd = offset;
  }
  return report;
}

}  // namespace tuho
