// How a store file is mended at opening: damaged records and a damaged tail
// are copied into a set-aside file and taken out, a broken file head is
// written anew, and of two live copies of one record the older is flagged.
#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/Win32Error.h"
#include "store/RecordCodec.h"
#include "store/RecordStore.h"
#include "store/StoreErrors.h"

namespace tuho {
namespace {

std::string asidePathFor(const std::string& path, int number) {
  return path + ".damaged" + (number == 1 ? std::string() : "." + std::to_string(number));
}

}  // namespace

void RecordStore::tellRepair(StoreRepairNote::Kind kind, const std::string& asidePath, int64_t bytes) {
  StoreRepairNote note;
  note.kind = kind;
  note.path = path_;
  note.asidePath = asidePath;
  note.bytes = bytes;
  reporter_->repaired(note);
}

// Copies the byte ranges of the store file into a new set-aside file; an
// earlier one is never overwritten. The file stays open throughout, so no
// other program can step in.
bool RecordStore::copyAside(const std::vector<Range>& ranges, std::string* asidePath) {
  File aside;
  for (int number = 1; number < 10000 && !aside.isOpen(); ++number) {
    *asidePath = asidePathFor(path_, number);
    if (aside.open(*asidePath, kAccessWrite, kShareNone, kCreateNew)) break;
    if (lastError() != kErrFileExists && lastError() != kErrAlreadyExists) return false;
  }
  bool copied = aside.isOpen();
  constexpr size_t kCopyChunk = 65536;
  bodyOf(kCopyChunk);
  for (const Range& range : ranges) {
    copied = copied && file_.seek(range.offset, kSeekBegin);
    for (int64_t left = range.length; copied && left > 0;) {
      uint32_t want = static_cast<uint32_t>(std::min<int64_t>(left, static_cast<int64_t>(body_.size())));
      uint32_t got = 0;
      copied = readFully(file_, body_.data(), want, &got) && got == want && aside.write(body_.data(), got);
      left -= got;
    }
  }
  copied = copied && aside.flush();
  aside.close();
  bodyOffset_ = -1;
  if (!copied && !asidePath->empty()) deleteFile(*asidePath);
  return copied;
}

// The header record is broken, but the records where a sound one would end
// may be whole: the old head is set aside and a fresh file head and header
// record are written over it, so that those records are kept.
bool RecordStore::rescueHead(int32_t storedCounter) {
  if (freshHeader_.count == 0) return false;
  FieldList header = freshHeader_;
  header.id = 2;
  header.size = static_cast<int>(recordSizeOf(header));
  const int64_t dataStart = kHeaderRecordOffset + kRecordHeadBytes + header.size - kMinRecordSize;
  int32_t highestId = 0;
  ChainReport chain = scanChain(
      file_, dataStart, body_,
      [&highestId](const ChainRecord& record, const uint8_t*, size_t) { highestId = std::max(highestId, record.id); });
  if (chain.readFailed || chain.records == 0) return false;
  std::string asidePath;
  if (!copyAside({{0, dataStart}}, &asidePath)) return false;
  std::vector<uint8_t> head(kStoreMagic, kStoreMagic + 20);
  head.insert(head.end(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  storeInt(head.data() + kCounterOffset, std::max(storedCounter, highestId));
  std::vector<uint8_t> record = encodeRecordBytes(header);
  head.insert(head.end(), record.begin(), record.end());
  if (!file_.seek(0, kSeekBegin) || !file_.write(head.data(), static_cast<uint32_t>(head.size()))) {
    failAt(kStoreWrite, kErrHeadMagic, 0);
    return false;
  }
  window_.forget();
  wrote_ = true;
  tellRepair(StoreRepairNote::Kind::kHeadRewritten, asidePath, 0);
  return true;
}

// Sets the whole file aside and empties it, so that it starts again as new.
bool RecordStore::restartDamagedFile() {
  int64_t size = 0;
  std::string asidePath;
  if (!file_.size(&size)) return false;
  if (!copyAside({{0, size}}, &asidePath)) {
    tellRepair(StoreRepairNote::Kind::kNotSetAside, asidePath, size);
    return false;
  }
  if (!file_.seek(0, kSeekBegin) || !file_.truncateHere()) return false;
  window_.forget();
  tellRepair(StoreRepairNote::Kind::kSetAside, asidePath, size);
  return true;
}

// Sets aside the damaged records inside the chain and the damaged tail, then
// flags those records deleted and cuts the tail off. When no copy can be
// made the file is left as it is and the store takes no writes, since
// anything appended behind a damaged tail would be out of every walk's reach.
bool RecordStore::repair(const ChainReport& chain) {
  std::vector<Range> ranges;
  int64_t bytes = 0;
  for (const ChainRecord& record : chain.damaged) {
    ranges.push_back({record.offset, kRecordHeadBytes + static_cast<int64_t>(record.size) - kMinRecordSize});
  }
  if (chain.wholeEnd < chain.fileSize) ranges.push_back({chain.wholeEnd, chain.fileSize - chain.wholeEnd});
  for (const Range& range : ranges) bytes += range.length;
  std::string asidePath;
  if (!copyAside(ranges, &asidePath)) {
    readOnly_ = true;
    tellRepair(StoreRepairNote::Kind::kNotSetAside, asidePath, bytes);
    return false;
  }
  for (const ChainRecord& record : chain.damaged) {
    if (!blankRecord(record)) return false;
  }
  if (!file_.seek(chain.wholeEnd, kSeekBegin) || !file_.truncateHere()) return false;
  window_.forget();
  tellRepair(StoreRepairNote::Kind::kSetAside, asidePath, bytes);
  return true;
}

// Writes a set-aside record again as a deleted record of the same size whose
// one field is empty filler, so that the chain stays whole and no later open
// sets it aside again. Compaction drops it.
bool RecordStore::blankRecord(const ChainRecord& record) {
  const int32_t bodyLength = record.size - kMinRecordSize;
  if (bodyLength > 0 && bodyLength < kRecordHeadBytes + 4) return flagDeleted(record.offset) != 0;
  std::vector<uint8_t> bytes(static_cast<size_t>(kRecordHeadBytes + bodyLength), 0);
  storeInt(bytes.data(), record.size);
  storeInt(bytes.data() + 4, record.id);
  storeInt(bytes.data() + 8, 1);
  if (bodyLength > 0) {
    storeInt(bytes.data() + kRecordHeadBytes, bodyLength - 4);  // block length; type text, id 0, no data
  }
  if (!file_.seek(record.offset, kSeekBegin) || !file_.write(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
    failAt(kStoreWrite, kErrDeleteFlag, 0);
    return false;
  }
  window_.forget();
  wrote_ = true;
  ++deletedRecords_;
  return true;
}

// A rewrite that moves a record writes the new copy, flushes it and only
// then flags the old one, so a cut between the two leaves both live. The
// later copy is the newer: the earlier ones are flagged now and flushed.
// Ids that only grow along the file cannot repeat, which spares the sort.
bool RecordStore::settleDuplicates(std::vector<LiveRecord>& live) {
  auto notRising = [](const LiveRecord& a, const LiveRecord& b) { return a.id >= b.id; };
  if (std::adjacent_find(live.begin(), live.end(), notRising) == live.end()) return true;
  // Stable: copies of one id stay in file order.
  std::stable_sort(live.begin(), live.end(), [](const LiveRecord& a, const LiveRecord& b) { return a.id < b.id; });
  std::vector<int64_t> older;
  for (size_t i = 0; i + 1 < live.size(); ++i) {
    if (live[i].id == live[i + 1].id) older.push_back(live[i].offset);
  }
  if (older.empty() || readOnly_) return true;
  for (int64_t offset : older) {
    if (!flagDeleted(offset)) return false;
  }
  if (file_.flush()) return true;
  failAt(kStoreWrite, kErrDeleteFlag, 0);
  return false;
}

}  // namespace tuho
