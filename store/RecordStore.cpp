#include "store/RecordStore.h"

#include <algorithm>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/Win32Error.h"
#include "store/ChainScan.h"
#include "store/RecordCodec.h"
#include "store/StoreErrors.h"

namespace tuho {

namespace {

// The unit a disk writes whole: a write cut short by a power cut leaves
// each of its sectors old or new.
constexpr int64_t kDiskSector = 512;

bool readInt(File& file, int32_t* value, bool* complete) {
  uint8_t bytes[4];
  uint32_t got = 0;
  if (!readFully(file, bytes, 4, &got)) return false;
  *complete = got == 4;
  if (*complete) *value = loadInt(bytes);
  return true;
}

bool writeInt(File& file, int32_t value) {
  uint8_t bytes[4];
  storeInt(bytes, value);
  return file.write(bytes, 4);
}

}  // namespace

// The body buffer grows to the largest record read (at most kBodyBufferBytes),
// so a store of small records never touches a megabyte of memory.
RecordStore::RecordStore() = default;

uint8_t* RecordStore::bodyOf(size_t length) {
  if (body_.size() < length) body_.resize(length);
  return body_.data();
}

RecordStore::~RecordStore() { close(); }

void RecordStore::report(StoreFailure::Kind kind) {
  StoreFailure failure;
  failure.kind = kind;
  failure.path = path_;
  reporter_->failed(failure);
}

// Reports the failed step and closes the file. A full disk is its own kind
// of failure: the owner says it in words rather than by number.
void RecordStore::failAt(int op, int step, int fieldId) {
  StoreFailure failure;
  failure.error = lastError();
  const bool diskFull = failure.error == kErrDiskFull || failure.error == kErrHandleDiskFull;
  failure.kind = op == kStoreWrite && diskFull ? StoreFailure::Kind::kDiskFull : StoreFailure::Kind::kStep;
  failure.path = path_;
  failure.op = op;
  failure.step = step;
  failure.fieldId = fieldId;
  reporter_->failed(failure);
  file_.close();
  window_.forget();
  tellRestart();
  failed_ = true;
  atEnd_ = true;
  endClean_ = false;
}

void RecordStore::tellRestart() {
  if (observer_) observer_->restart();
}

void RecordStore::tellInStep() {
  if (observer_) observer_->inStep();
}

// The header record is not data: walks start after it.
void RecordStore::tellLive(int64_t offset, int32_t id, const uint8_t* body, size_t length) {
  if (observer_ && offset > kHeaderRecordOffset) observer_->recordLive(offset, id, body, length);
}

void RecordStore::resetWalk() {
  cursor_ = Cursor();
  nextOffset_ = -1;
  bodyOffset_ = -1;
  bodyDecoded_ = false;
  queryActive_ = false;
  query_.release();
  atEnd_ = false;
  endClean_ = true;
  walkError_ = 0;
}

// Forgets the file in hand and everything learnt from it.
void RecordStore::startOver(const std::string& path) {
  close();
  path_ = path;
  window_.forget();
  failed_ = false;
  wrote_ = false;
  deletedRecords_ = 0;
  readOnly_ = false;
  resetWalk();
  headerRecord_.release();
  firstDataOffset_ = -1;
}

// Starts over on the file at `path`; on failure reports it.
bool RecordStore::openOrTell(const std::string& path, Disposition disposition) {
  startOver(path);
  if (file_.open(path, kAccessReadWrite, kShareRead, disposition)) return true;
  failed_ = true;
  // Held by another program: the caller says so; nothing is reported.
  if (lastError() == kErrSharingViolation && disposition == kOpenAlways) return false;
  reporter_->failed(openFailure(path, lastError()));
  return false;
}

OpenResult RecordStore::open(const std::string& path) {
  if (!openOrTell(path, kOpenAlways)) return lastError() == kErrSharingViolation ? kOpenInUse : kOpenFailed;
  return readExisting();
}

// What opening learns from the file head: whether it could be read at all,
// or the file is too short to hold it (a new file).
RecordStore::Head RecordStore::readHead() {
  Head head;
  uint8_t formatByte = 0;
  uint32_t got = 0;
  if (!file_.seek(kFirstHeadByteRead, kSeekBegin) || !file_.read(&formatByte, 1, &got)) {
    head.state = Head::kUnreadable;
    return head;
  }
  if (got == 0) return head;  // kNew: too short to hold a record
  head.state = Head::kRead;
  int32_t reserved = 0;
  if (!readInt(file_, &reserved, &head.complete)) {
    head.failedStep = kErrOpenReserved;
  } else if (head.complete && !readInt(file_, &head.counter, &head.complete)) {
    head.failedStep = kErrOpenCounter;
  }
  return head;
}

// The file could not be read: nothing in it is judged and nothing written.
OpenResult RecordStore::failToRead() {
  reporter_->failed(readFailure(path_, lastError()));
  return abandonFile();
}

OpenResult RecordStore::abandonFile() {
  const uint32_t error = lastError();
  file_.close();
  window_.forget();
  tellRestart();
  failed_ = true;
  atEnd_ = true;
  setLastError(error);
  return kOpenFailed;
}

// Walks every record once: the highest id in the file, the records flagged
// deleted, and the live ones, which the observer is told of.
ChainReport RecordStore::scanRecords(int32_t* highestId, std::vector<LiveRecord>* live) {
  int64_t fileSize = 0;
  if (observer_ && file_.size(&fileSize)) observer_->expectBytes(fileSize);
  return scanChain(window_, kHeaderRecordOffset, body_,
                   [&](const ChainRecord& record, const uint8_t* body, size_t length) {
                     if (record.offset == kHeaderRecordOffset) return;
                     *highestId = std::max(*highestId, record.id);
                     if (record.deleted != 0) {
                       ++deletedRecords_;
                       return;
                     }
                     live->push_back({record.id, record.offset});
                     tellLive(record.offset, record.id, body, length);
                   });
}

// A read failure while opening stops the open: a file that cannot be read
// is never taken for a new or an empty one, so nothing is written over it.
OpenResult RecordStore::readExisting(bool mayRescueHead) {
  tellRestart();
  const Head head = readHead();
  if (head.state == Head::kUnreadable) return failToRead();
  if (head.state == Head::kNew) {
    tellInStep();
    counter_ = 1;
    return kOpenedNew;
  }
  if (head.failedStep != 0) {
    failAt(kStoreRead, head.failedStep, 0);
    return kOpenFailed;
  }
  // The counter is only written on close; after a crash or a failed write it
  // may lag behind ids already in the file, which must not be handed out again.
  int32_t highestId = 0;
  std::vector<LiveRecord> live;
  ChainReport chain;
  if (head.complete) chain = scanRecords(&highestId, &live);
  if (chain.readFailed) return failToRead();
  const bool headerDamaged = !head.complete || chain.records == 0 ||
                             (!chain.damaged.empty() && chain.damaged.front().offset == kHeaderRecordOffset);
  if (headerDamaged) return openDamagedHead(head, mayRescueHead);
  return settleChain(chain, highestId, live);
}

// The file head or the header record is broken: a fresh head is written
// over it when the records after it are whole; otherwise nothing in the
// file is reachable and it is set aside whole.
OpenResult RecordStore::openDamagedHead(const Head& head, bool mayRescueHead) {
  if (head.complete && mayRescueHead && rescueHead(head.counter)) return readExisting(false);
  if (!file_.isOpen()) return kOpenFailed;
  if (!restartDamagedFile()) return abandonFile();
  tellRestart();
  tellInStep();
  counter_ = 1;
  return kOpenedNew;
}

// Only a chain that is whole, or was made whole, is what every walk sees:
// one left damaged ends walks early.
OpenResult RecordStore::settleChain(const ChainReport& chain, int32_t highestId, std::vector<LiveRecord>& live) {
  const bool sound = chain.whole() || repair(chain);
  if (!file_.isOpen()) return kOpenFailed;
  if (sound && !settleDuplicates(live)) return kOpenFailed;
  if (!readHeaderRecord()) return file_.isOpen() ? abandonFile() : kOpenFailed;
  raiseCounter(highestId);
  if (sound) tellInStep();
  return kOpenedExisting;
}

bool RecordStore::refusesWrites() { return readOnly_; }

bool RecordStore::create(const std::string& path) {
  if (!openOrTell(path, kCreateAlways)) return false;
  tellInStep();
  return true;
}

bool RecordStore::createWithRetry(const std::string& path) {
  startOver(path);
  while (!file_.open(path, kAccessReadWrite, kShareRead, kCreateAlways)) {
    if (!reporter_->retry(openFailure(path, lastError()))) {
      failed_ = true;
      return false;
    }
  }
  failed_ = false;
  tellInStep();
  return true;
}

bool RecordStore::writeHeader(const FieldList& headerRecord) {
  uint8_t reserved[4], counter[4];
  storeInt(reserved, 0);
  storeInt(counter, 1);
  const uint8_t one = 1, zero = 0;
  struct Piece {
    const void* data;
    uint32_t size;
    int step;
  };
  const Piece pieces[] = {{kStoreMagic, 20, kErrHeadMagic},   {&one, 1, kErrHeadByte20},
                          {&zero, 1, kErrHeadByte21},         {&zero, 1, kErrHeadByte22},
                          {reserved, 4, kErrHeadReserved},    {counter, 4, kErrHeadCounter}};
  if (!file_.seek(0, kSeekBegin)) {
    failAt(kStoreWrite, kErrHeadMagic, 0);
    return false;
  }
  wrote_ = true;
  window_.forget();
  for (const Piece& piece : pieces) {
    if (!file_.write(piece.data, piece.size)) {
      failAt(kStoreWrite, piece.step, 0);
      return false;
    }
  }
  return append(headerRecord) != 0;
}

bool RecordStore::readHeaderRecord() {
  headerRecord_.release();
  firstDataOffset_ = -1;
  if (!file_.seek(kCounterOffset, kSeekBegin)) {
    failAt(kStoreRead, kErrHeaderSeek, 0);
    return false;
  }
  int32_t counter = 0;
  bool complete = false;
  if (!readInt(file_, &counter, &complete) || !complete) {
    failAt(kStoreRead, kErrHeaderCounter, 0);
    return false;
  }
  counter_ = counter < 1 ? 1 : counter;
  walkError_ = 0;
  const bool read = readHeadAt(kHeaderRecordOffset) && loadBody();
  if (read) {
    headerRecord_ = decoded();
    firstDataOffset_ = kHeaderRecordOffset + kRecordHeadBytes + (cursor_.size - kMinRecordSize);
  }
  cursor_ = Cursor();
  atEnd_ = false;
  if (!read && walkError_ != 0) {
    setLastError(walkError_);
    failToRead();
  }
  return read;
}

// Reads the record head at `offset` into the cursor. At the end of the file,
// or at a head that cannot be a record, sets at end and returns false.
bool RecordStore::readHeadAt(int64_t offset) {
  cursor_.onLive = false;
  uint8_t head[kRecordHeadBytes];
  uint32_t got = 0;
  bool readOk = offset >= 0 && file_.isOpen() && window_.read(offset, head, kRecordHeadBytes, &got);
  int32_t size = got == kRecordHeadBytes ? loadInt(head) : 0;
  if (!readOk || got < kRecordHeadBytes || size < kMinRecordSize ||
      static_cast<uint32_t>(size) - kMinRecordSize > kBodyBufferBytes) {
    if (!readOk) walkError_ = file_.isOpen() ? lastError() : kErrInvalidHandle;
    int64_t fileSize = -1;
    endClean_ = readOk && got == 0 && file_.size(&fileSize) && fileSize == offset;
    atEnd_ = true;
    return false;
  }
  cursor_.offset = offset;
  cursor_.size = size;
  cursor_.id = loadInt(head + 4);
  cursor_.deleted = loadInt(head + 8);
  nextOffset_ = offset + kRecordHeadBytes + (size - kMinRecordSize);
  return true;
}

// Reads and checks the body of the record under the cursor; a body that is
// cut off or whose fields do not fit it ends the data.
bool RecordStore::loadBody() {
  const uint32_t length = static_cast<uint32_t>(cursor_.size) - kMinRecordSize;
  uint32_t got = 0;
  bodyOffset_ = -1;
  bodyDecoded_ = false;
  const bool readOk = window_.read(cursor_.offset + kRecordHeadBytes, bodyOf(length), length, &got);
  if (!readOk || got < length || decodeRecordBody(body_.data(), length, nullptr) != kRecordWhole) {
    if (!readOk) walkError_ = lastError();
    atEnd_ = true;
    endClean_ = false;
    cursor_.onLive = false;
    return false;
  }
  bodyOffset_ = cursor_.offset;
  cursor_.onLive = cursor_.deleted == 0;
  return true;
}

// Tests the body in place, so records that do not match are never decoded.
bool RecordStore::matchesQuery() const {
  const size_t length = static_cast<size_t>(cursor_.size) - kMinRecordSize;
  for (int i = 0; i < query_.count; ++i) {
    const FieldSlot& wanted = query_.slots[i];
    if (wanted.type != FIELD_TEXT && wanted.type != FIELD_INT) continue;
    RawField found = findRawField(body_.data(), length, wanted.id);
    if (found.type != wanted.type) return false;
    if (wanted.type == FIELD_INT && found.intValue() != wanted.value) return false;
    if (wanted.type == FIELD_TEXT && !found.textEquals(wanted.text)) return false;
  }
  return true;
}

// Walks on from nextOffset_ to the next live record (matching the query when
// one is set) and reads its body.
int RecordStore::advance() {
  for (;;) {
    if (!readHeadAt(nextOffset_)) return 0;
    if (cursor_.deleted != 0) {
      cursor_.id = 0;
      continue;
    }
    if (!loadBody()) return 0;
    if (!queryActive_ || matchesQuery()) return cursor_.id;
  }
}

// Each walk starts with a fresh read of the file, then reads it in windows.
int RecordStore::first() {
  ++walksStarted_;
  window_.forget();
  queryActive_ = false;
  atEnd_ = false;
  endClean_ = true;
  walkError_ = 0;
  nextOffset_ = firstDataOffset_;
  return advance();
}

int RecordStore::next() {
  if (atEnd_) return 0;
  return advance();
}

int RecordStore::findFirstMatching(const FieldList& query) {
  ++walksStarted_;
  window_.forget();
  atEnd_ = false;
  endClean_ = true;
  walkError_ = 0;
  nextOffset_ = firstDataOffset_;
  query_ = query;
  queryActive_ = true;
  return advance();
}

int RecordStore::readAt(int64_t offset) {
  queryActive_ = false;
  atEnd_ = false;
  endClean_ = true;
  walkError_ = 0;
  if (firstDataOffset_ < 0 || offset < firstDataOffset_ || !readHeadAt(offset) || cursor_.deleted != 0 || !loadBody()) {
    atEnd_ = true;
    cursor_.onLive = false;
    return 0;
  }
  return cursor_.id;
}

// A record the locator names is taken only when it still carries the id;
// otherwise the walk decides.
int RecordStore::findById(int id) {
  int64_t located = -1;
  if (locator_ && locator_->locate(id, &located)) {
    if (located < 0) {
      queryActive_ = false;
      atEnd_ = true;
      cursor_.onLive = false;
      return 0;
    }
    if (readAt(located) == id) return id;
    // A read that failed is a failure to report, not a reason to look elsewhere.
    if (walkError_ != 0) return 0;
  }
  ++walksStarted_;
  window_.forget();
  queryActive_ = false;
  atEnd_ = false;
  endClean_ = true;
  walkError_ = 0;
  nextOffset_ = firstDataOffset_;
  for (;;) {
    if (!readHeadAt(nextOffset_)) return 0;
    if (cursor_.deleted == 0 && cursor_.id == id) return loadBody() ? id : 0;
  }
}

// The record whose body is in body_, decoded at most once.
const FieldList& RecordStore::decoded() {
  if (!bodyDecoded_) {
    decodeRecordBody(body_.data(), static_cast<size_t>(cursor_.size) - kMinRecordSize, &current_);
    current_.size = cursor_.size;
    current_.id = cursor_.id;
    current_.deleted = cursor_.deleted;
    bodyDecoded_ = true;
  }
  return current_;
}

FieldList RecordStore::decodeCurrent() {
  if (atEnd_ || !cursor_.onLive) return FieldList();
  if (bodyOffset_ != cursor_.offset && !loadBody()) return FieldList();
  return decoded();
}

bool RecordStore::flagDeleted(int64_t offset) {
  if (refusesWrites()) return false;
  if (!file_.seek(offset + 8, kSeekBegin)) {
    failAt(kStoreWrite, kErrDeleteSeek, 0);
    return false;
  }
  wrote_ = true;
  uint8_t flag[4];
  storeInt(flag, 1);
  if (!file_.write(flag, 4)) {
    failAt(kStoreWrite, kErrDeleteFlag, 0);
    return false;
  }
  window_.patch(offset + 8, flag, 4);
  ++deletedRecords_;
  if (observer_) observer_->recordGone(offset);
  return true;
}

bool RecordStore::deleteCurrent() {
  if (atEnd_ || !cursor_.onLive) return false;
  if (!flagDeleted(cursor_.offset)) return false;
  cursor_.deleted = 1;
  cursor_.onLive = false;
  return true;
}

bool RecordStore::deleteById(int id) {
  if (findById(id) == 0) return false;
  return deleteCurrent();
}

void RecordStore::encodeForWrite(const FieldList& record, int id) {
  if (encodeRecord(record, encoded_)) report(StoreFailure::Kind::kMalformed);
  storeInt(encoded_.data(), static_cast<int32_t>(recordSizeOf(record)));
  storeInt(encoded_.data() + 4, id);
}

// Writes the record with this id at `offset`, or at the end of the file,
// with one write. A failed write is reported with the step it fell in and
// closes the file.
bool RecordStore::writeRecordAt(const FieldList& record, int id, bool atEndOfFile, int64_t offset) {
  if (!file_.seek(atEndOfFile ? 0 : offset, atEndOfFile ? kSeekEnd : kSeekBegin)) {
    failAt(kStoreWrite, kStepRecordSize, 0);
    return false;
  }
  int64_t start = offset;
  if (atEndOfFile && !file_.seek(0, kSeekCurrent, &start)) start = -1;
  encodeForWrite(record, id);
  wrote_ = true;
  uint32_t written = 0;
  if (file_.write(encoded_.data(), static_cast<uint32_t>(encoded_.size()), &written)) {
    if (!atEndOfFile) window_.patch(offset, encoded_.data(), static_cast<uint32_t>(encoded_.size()));
    // Where an appended record went is not known: the observer cannot follow.
    if (atEndOfFile && start < 0) tellRestart();
    tellLive(atEndOfFile ? start : offset, id, encoded_.data() + kRecordHeadBytes, encoded_.size() - kRecordHeadBytes);
    return true;
  }
  const WritePiece failed = writeStepAt(record, written);
  // A record cut short at the end would be a torn tail: take it back.
  const uint32_t error = lastError();
  if (atEndOfFile && start >= 0 && file_.seek(start, kSeekBegin)) file_.truncateHere();
  window_.forget();
  setLastError(error);
  failAt(kStoreWrite, failed.step, failed.fieldId);
  return false;
}

int RecordStore::append(const FieldList& record) {
  if (refusesWrites()) return 0;
  if (!isWritableRecord(record)) {
    report(StoreFailure::Kind::kMalformed);
    return 0;
  }
  if (counter_ >= kHighestRecordId) {
    report(StoreFailure::Kind::kIdsExhausted);
    return 0;
  }
  atEnd_ = true;
  cursor_.onLive = false;
  counter_ += 1;
  const int id = counter_;
  return writeRecordAt(record, id, true, 0) ? id : 0;
}

int RecordStore::appendKeepingId(const FieldList& record) {
  if (refusesWrites()) return 0;
  if (!isWritableRecord(record)) {
    report(StoreFailure::Kind::kMalformed);
    return 0;
  }
  raiseCounter(record.id);
  atEnd_ = true;
  cursor_.onLive = false;
  return writeRecordAt(record, record.id, true, 0) ? record.id : 0;
}

RecordStore::Snapshot RecordStore::snapshot() const { return {cursor_, nextOffset_, queryActive_, atEnd_}; }

void RecordStore::restore(const Snapshot& saved) {
  cursor_ = saved.cursor;
  nextOffset_ = saved.nextOffset;
  queryActive_ = saved.queryActive;
  atEnd_ = saved.atEnd || !file_.isOpen();
}

// Rewrites the record with this id, keeping the id. A record that still fits
// is written over itself (a shorter one hands its spare bytes to its first
// text field). One that grew is moved: the new copy is written at the end
// and flushed, and only then is the old copy flagged deleted, so a failure
// or a power cut at any point leaves one live copy (two at most, of which
// opening keeps the later).
int RecordStore::updateById(const FieldList& record, int id) {
  const Snapshot saved = snapshot();
  if (findById(id) == 0) {
    restore(saved);
    return 0;
  }
  FieldList out = record;
  out.id = id;
  out.deleted = 0;
  if (refusesWrites()) {
    restore(saved);
    return 0;
  }
  if (!isWritableRecord(out)) {
    report(StoreFailure::Kind::kMalformed);
    restore(saved);
    return 0;
  }
  const int64_t storedOffset = cursor_.offset;
  bool written = false;
  if (!fitOver(out, cursor_.size)) {
    written = writeRecordAt(out, id, true, 0) && flushWrites() && flagDeleted(storedOffset);
  } else {
    written = rewriteInPlace(out, id, storedOffset);
  }
  bodyOffset_ = -1;
  bodyDecoded_ = false;
  restore(saved);
  return written ? id : 0;
}

// True when the record can be written over a stored one of `storedSize`
// bytes; a shorter one then hands its spare bytes to its first text field.
bool RecordStore::fitOver(FieldList& record, int storedSize) {
  const long long newSize = recordSizeOf(record);
  const int textSlot = record.firstTextSlot();
  if (newSize > storedSize || (newSize < storedSize && textSlot < 0)) return false;
  if (newSize < storedSize) record.slots[textSlot].blockLength += storedSize - static_cast<int>(newSize);
  return true;
}

// True when the record about to be written over the one under the cursor
// differs from it only within one 512-byte sector of the file. A disk
// writes a sector whole or not at all, so a power cut can then leave the
// old record or the new one, never a mix.
bool RecordStore::changesOneSector(int64_t offset) const {
  const size_t length = encoded_.size() - kRecordHeadBytes;
  if (bodyOffset_ != offset || static_cast<int64_t>(length) != cursor_.size - kMinRecordSize) return false;
  const uint8_t* stored = body_.data();
  const uint8_t* fresh = encoded_.data() + kRecordHeadBytes;
  size_t first = 0, last = length;
  while (first < length && stored[first] == fresh[first]) ++first;
  if (first == length) return true;
  while (stored[last - 1] == fresh[last - 1]) --last;
  const int64_t bodyStart = offset + kRecordHeadBytes;
  return (bodyStart + static_cast<int64_t>(first)) / kDiskSector ==
         (bodyStart + static_cast<int64_t>(last) - 1) / kDiskSector;
}

// Appends the encoded record as the stand-in of a rewrite, telling no
// observer. On a full disk the bytes that made it are taken back and the
// result is kNoRoom, with no box; other failures show theirs.
RecordStore::StandIn RecordStore::appendStandIn(int64_t* end) {
  if (!file_.seek(0, kSeekEnd, end)) {
    failAt(kStoreWrite, kStepRecordSize, 0);
    return kStandInFailed;
  }
  wrote_ = true;
  if (file_.write(encoded_.data(), static_cast<uint32_t>(encoded_.size()))) return kStandInWritten;
  const uint32_t error = lastError();
  const bool taken = file_.seek(*end, kSeekBegin) && file_.truncateHere();
  window_.forget();
  if (taken && (error == kErrDiskFull || error == kErrHandleDiskFull)) return kNoRoom;
  setLastError(error);
  failAt(kStoreWrite, kStepRecordSize, 0);
  return kStandInFailed;
}

// Writes a record of unchanged size over itself. A write that spans sectors
// could be torn by a power cut into a record that is half old and half new,
// so a copy of the new record is first appended and flushed: opening keeps
// the later of two live copies of an id, so until the rewrite is on the disk
// that copy stands for it. Once it is, the copy is cut off again, and that
// is flushed before anything else can be appended where it was. A disk too
// full for the copy still takes the rewrite, as it always did, unguarded.
bool RecordStore::rewriteInPlace(const FieldList& record, int id, int64_t offset) {
  encodeForWrite(record, id);
  if (changesOneSector(offset)) return writeRecordAt(record, id, false, offset);
  int64_t end = 0;
  const StandIn standIn = appendStandIn(&end);
  if (standIn == kStandInFailed) return false;
  if (standIn == kNoRoom) return writeRecordAt(record, id, false, offset);
  if (!flushWrites() || !writeRecordAt(record, id, false, offset) || !flushWrites()) return false;
  window_.forget();
  if (!file_.seek(end, kSeekBegin) || !file_.truncateHere()) {
    failAt(kStoreWrite, kStepRecordSize, 0);
    return false;
  }
  return flushWrites();
}

// Puts what was written on the disk before anything that depends on it.
bool RecordStore::flushWrites() {
  if (file_.flush()) return true;
  failAt(kStoreWrite, kStepRecordSize, 0);
  return false;
}

bool RecordStore::stepAny() {
  if (!readHeadAt(nextOffset_)) return false;
  cursor_.id = cursor_.deleted ? 0 : cursor_.id;
  return true;
}

// A store that wrote nothing since it was opened is left exactly as it is.
// A failed counter write, flush or close is told like any failed write and
// shows in hasFailed().
void RecordStore::close() {
  if (file_.isOpen() && wrote_ && !readOnly_) {
    const bool closed =
        file_.seek(kCounterOffset, kSeekBegin) && writeInt(file_, counter_) && file_.flush() && file_.close();
    if (!closed) failAt(kStoreWrite, kErrHeadCounter, 0);
  }
  file_.close();
  window_.forget();
  tellRestart();
  atEnd_ = true;
  cursor_ = Cursor();
}

}  // namespace tuho
