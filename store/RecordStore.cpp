#include "store/RecordStore.h"

#include <cstdio>

#include "platform/Alert.h"
#include "platform/FileSystem.h"
#include "store/ChainScan.h"
#include "store/RecordCodec.h"
#include "store/StoreErrors.h"

namespace tuho {

namespace {

const char kDamagedCaption[] = "DB Damaged File";

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

std::string setAsideText(const std::string& path, const std::string& damagedPath, int64_t bytes, bool saved) {
  char count[32];
  std::snprintf(count, sizeof count, "%lld", static_cast<long long>(bytes));
  if (!saved) {
    return path + " is damaged after its last whole record (" + count +
           " bytes), and a copy could not be made in " + damagedPath + ". The file was left as it is.";
  }
  return path + " was damaged: " + count + " bytes after its last whole record were set aside in " +
         damagedPath + " and removed from the file.";
}

}  // namespace

RecordStore::RecordStore() : body_(kBodyBufferBytes) {}

RecordStore::~RecordStore() { close(); }

void RecordStore::failWithBox(int op, int step, int fieldId) {
  showStoreError(op, step, fieldId);
  file_.close();
  failed_ = true;
  atEnd_ = true;
  endClean_ = false;
}

void RecordStore::resetWalk() {
  cursor_ = Cursor();
  nextOffset_ = -1;
  bodyOffset_ = -1;
  queryActive_ = false;
  query_.release();
  atEnd_ = false;
  endClean_ = true;
}

// Forgets the file in hand and everything learnt from it.
void RecordStore::startOver(const std::string& path) {
  close();
  path_ = path;
  failed_ = false;
  resetWalk();
  headerRecord_.release();
  firstDataOffset_ = -1;
}

// Starts over on the file at `path`; on failure shows the open-failure box.
bool RecordStore::openOrTell(const std::string& path, Disposition disposition) {
  startOver(path);
  if (file_.open(path, kAccessReadWrite, kShareReadWrite, disposition)) return true;
  showOpenFailure(path, lastError());
  failed_ = true;
  return false;
}

OpenResult RecordStore::open(const std::string& path) {
  if (!openOrTell(path, kOpenAlways)) return kOpenFailed;
  return readExisting();
}

OpenResult RecordStore::readExisting() {
  uint8_t formatByte = 0;
  uint32_t got = 0;
  if (!file_.seek(kFirstHeadByteRead, kSeekBegin) || !file_.read(&formatByte, 1, &got) || got == 0) {
    counter_ = 1;
    return kOpenedNew;
  }
  int32_t reserved = 0, counter = 1;
  bool complete = false;
  if (!readInt(file_, &reserved, &complete)) {
    failWithBox(kStoreRead, kErrOpenReserved, 0);
    counter_ = 1;
    return kOpenedNew;
  }
  if (complete && !readInt(file_, &counter, &complete)) {
    failWithBox(kStoreRead, kErrOpenCounter, 0);
    counter_ = 1;
    return kOpenedNew;
  }
  // The counter is only written on close; after a crash or a failed write it
  // may lag behind ids already in the file, which must not be handed out again.
  int32_t highestId = 0;
  ChainReport chain;
  if (complete) {
    chain = scanChain(file_, kHeaderRecordOffset, body_, [&highestId](const ChainRecord& record, const uint8_t*, size_t) {
      if (record.offset != kHeaderRecordOffset && record.id > highestId) highestId = record.id;
    });
  }
  if (chain.readFailed) {
    // Cannot judge the chain; use what reads, change nothing.
    counter_ = counter;
    readHeaderRecord();
    return kOpenedExisting;
  }
  if (!complete || chain.records == 0) {
    // The file head or the header record is broken: nothing in the file is reachable.
    int64_t size = 0;
    if (!file_.size(&size) || !repair(0, size)) {
      file_.close();
      failed_ = true;
      return kOpenFailed;
    }
    counter_ = 1;
    return kOpenedNew;
  }
  if (!chain.whole() && !repair(chain.wholeEnd, chain.fileSize) && !file_.isOpen()) return kOpenFailed;
  readHeaderRecord();
  if (highestId > counter_) counter_ = highestId;
  return kOpenedExisting;
}

// Copies the file beside itself as "<path>.damaged", then cuts it at cutAt.
// When no copy can be made the file is left as it is.
bool RecordStore::repair(int64_t cutAt, int64_t fileSize) {
  const std::string damagedPath = path_ + ".damaged";
  file_.close();
  const bool saved = copyFile(path_, damagedPath, false);
  if (!file_.open(path_, kAccessReadWrite, kShareReadWrite, kOpenExisting)) {
    showOpenFailure(path_, lastError());
    failed_ = true;
    return false;
  }
  bool cut = saved && file_.seek(cutAt, kSeekBegin) && file_.truncateHere();
  alert(setAsideText(path_, damagedPath, fileSize - cutAt, cut), kDamagedCaption);
  return cut;
}

bool RecordStore::create(const std::string& path) { return openOrTell(path, kCreateAlways); }

bool RecordStore::createWithRetry(const std::string& path) {
  startOver(path);
  while (!file_.open(path, kAccessReadWrite, kShareReadWrite, kCreateAlways)) {
    if (showOpenFailure(path, lastError(), kAlertRetryCancel) != kAnswerRetry) {
      failed_ = true;
      return false;
    }
  }
  failed_ = false;
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
    failWithBox(kStoreWrite, kErrHeadMagic, 0);
    return false;
  }
  for (const Piece& piece : pieces) {
    if (!file_.write(piece.data, piece.size)) {
      failWithBox(kStoreWrite, piece.step, 0);
      return false;
    }
  }
  return append(headerRecord) != 0;
}

void RecordStore::readHeaderRecord() {
  headerRecord_.release();
  firstDataOffset_ = -1;
  if (!file_.seek(kCounterOffset, kSeekBegin)) {
    failWithBox(kStoreRead, kErrHeaderSeek, 0);
    return;
  }
  int32_t counter = 0;
  bool complete = false;
  if (!readInt(file_, &counter, &complete) || !complete) {
    failWithBox(kStoreRead, kErrHeaderCounter, 0);
    return;
  }
  counter_ = counter;
  if (readHeadAt(kHeaderRecordOffset) && loadBody()) {
    decodeRecordBody(body_.data(), static_cast<size_t>(cursor_.size) - kMinRecordSize, &headerRecord_);
    headerRecord_.size = cursor_.size;
    headerRecord_.id = cursor_.id;
    headerRecord_.deleted = cursor_.deleted;
    firstDataOffset_ = kHeaderRecordOffset + kRecordHeadBytes + (cursor_.size - kMinRecordSize);
  }
  cursor_ = Cursor();
  atEnd_ = false;
}

// Reads the record head at `offset` into the cursor. At the end of the file,
// or at a head that cannot be a record, sets at end and returns false.
bool RecordStore::readHeadAt(int64_t offset) {
  cursor_.onLive = false;
  uint8_t head[kRecordHeadBytes];
  uint32_t got = 0;
  bool readOk = offset >= 0 && file_.isOpen() && file_.seek(offset, kSeekBegin) &&
                readFully(file_, head, kRecordHeadBytes, &got);
  int32_t size = got == kRecordHeadBytes ? loadInt(head) : 0;
  if (!readOk || got < kRecordHeadBytes || size < kMinRecordSize ||
      static_cast<uint32_t>(size) - kMinRecordSize > kBodyBufferBytes) {
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

// Reads the body of the record under the cursor; a body that is cut off or
// whose fields do not fit it ends the data.
bool RecordStore::loadBody() {
  const uint32_t length = static_cast<uint32_t>(cursor_.size) - kMinRecordSize;
  uint32_t got = 0;
  bodyOffset_ = -1;
  if (!file_.seek(cursor_.offset + kRecordHeadBytes, kSeekBegin) || !readFully(file_, body_.data(), length, &got) ||
      got < length || decodeRecordBody(body_.data(), length, nullptr) != kRecordWhole) {
    atEnd_ = true;
    endClean_ = false;
    cursor_.onLive = false;
    return false;
  }
  bodyOffset_ = cursor_.offset;
  cursor_.onLive = cursor_.deleted == 0;
  return true;
}

bool RecordStore::matchesQuery(const FieldList& record) const {
  for (int i = 0; i < query_.count; ++i) {
    const FieldSlot& wanted = query_.slots[i];
    if (wanted.type != FIELD_TEXT && wanted.type != FIELD_INT) continue;
    FieldSlot found = record.findField(wanted.id);
    if (found.type != wanted.type) return false;
    if (wanted.type == FIELD_INT && found.value != wanted.value) return false;
    if (wanted.type == FIELD_TEXT && found.text != wanted.text) return false;
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
    if (!queryActive_) return cursor_.id;
    FieldList record;
    decodeRecordBody(body_.data(), static_cast<size_t>(cursor_.size) - kMinRecordSize, &record);
    if (matchesQuery(record)) return cursor_.id;
  }
}

int RecordStore::first() {
  queryActive_ = false;
  atEnd_ = false;
  endClean_ = true;
  nextOffset_ = firstDataOffset_;
  return advance();
}

int RecordStore::next() {
  if (atEnd_) return 0;
  return advance();
}

int RecordStore::findFirstMatching(const FieldList& query) {
  atEnd_ = false;
  endClean_ = true;
  nextOffset_ = firstDataOffset_;
  query_ = query;
  queryActive_ = true;
  return advance();
}

int RecordStore::findById(int id) {
  queryActive_ = false;
  atEnd_ = false;
  endClean_ = true;
  nextOffset_ = firstDataOffset_;
  for (;;) {
    if (!readHeadAt(nextOffset_)) return 0;
    if (cursor_.deleted == 0 && cursor_.id == id) return loadBody() ? id : 0;
  }
}

FieldList RecordStore::decodeCurrent() {
  FieldList list;
  if (atEnd_ || !cursor_.onLive) return list;
  if (bodyOffset_ != cursor_.offset && !loadBody()) return list;
  decodeRecordBody(body_.data(), static_cast<size_t>(cursor_.size) - kMinRecordSize, &list);
  list.size = cursor_.size;
  list.id = cursor_.id;
  list.deleted = cursor_.deleted;
  return list;
}

bool RecordStore::flagDeleted(int64_t offset) {
  if (!file_.seek(offset + 8, kSeekBegin)) {
    failWithBox(kStoreWrite, kErrDeleteSeek, 0);
    return false;
  }
  if (!writeInt(file_, 1)) {
    failWithBox(kStoreWrite, kErrDeleteFlag, 0);
    return false;
  }
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

// Writes the record at `offset`, or at the end of the file. A failed write
// shows its numbered box and closes the file.
bool RecordStore::writeRecordAt(FieldList& record, bool atEndOfFile, int64_t offset) {
  if (!file_.seek(atEndOfFile ? 0 : offset, atEndOfFile ? kSeekEnd : kSeekBegin)) {
    failWithBox(kStoreWrite, kStepRecordSize, 0);
    return false;
  }
  RecordSink sink;
  sink.write = [this](const uint8_t* data, uint32_t size, int step, int fieldId) {
    if (file_.write(data, size)) return true;
    failWithBox(kStoreWrite, step, fieldId);
    return false;
  };
  sink.malformed = [] { showMalformedBlock(); };
  return encodeRecord(record, sink);
}

int RecordStore::append(const FieldList& record) {
  FieldList out = record;
  if (!isWritableRecord(out)) {
    showMalformedBlock();
    return 0;
  }
  atEnd_ = true;
  cursor_.onLive = false;
  if (!file_.seek(0, kSeekEnd)) {
    failWithBox(kStoreWrite, kStepRecordSize, 0);
    return 0;
  }
  counter_ += 1;
  out.id = counter_;
  out.size = static_cast<int>(recordSizeOf(out));
  return writeRecordAt(out, true, 0) ? out.id : 0;
}

int RecordStore::appendKeepingId(const FieldList& record) {
  FieldList out = record;
  if (!isWritableRecord(out)) {
    showMalformedBlock();
    return 0;
  }
  if (static_cast<uint32_t>(out.id) > static_cast<uint32_t>(counter_)) counter_ = out.id;
  atEnd_ = true;
  cursor_.onLive = false;
  out.size = static_cast<int>(recordSizeOf(out));
  return writeRecordAt(out, true, 0) ? out.id : 0;
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
// text field); one that grew is written at the end first and only then is
// the old copy flagged deleted, so a failure never loses both copies.
int RecordStore::updateById(const FieldList& record, int id) {
  const Snapshot saved = snapshot();
  if (findById(id) == 0) {
    restore(saved);
    return 0;
  }
  FieldList out = record;
  out.id = id;
  out.deleted = 0;
  if (!isWritableRecord(out)) {
    showMalformedBlock();
    restore(saved);
    return 0;
  }
  const int64_t storedOffset = cursor_.offset;
  const int storedSize = cursor_.size;
  const int newSize = static_cast<int>(recordSizeOf(out));
  const int textSlot = out.firstTextSlot();
  bool written = false;
  if (newSize > storedSize || (newSize < storedSize && textSlot < 0)) {
    out.size = newSize;
    written = writeRecordAt(out, true, 0) && flagDeleted(storedOffset);
  } else {
    if (newSize < storedSize) out.slots[textSlot].blockLength += storedSize - newSize;
    out.size = storedSize;
    written = writeRecordAt(out, false, storedOffset);
  }
  bodyOffset_ = -1;
  restore(saved);
  return written ? id : 0;
}

bool RecordStore::stepAny() {
  if (!readHeadAt(nextOffset_)) return false;
  cursor_.id = cursor_.deleted ? 0 : cursor_.id;
  return true;
}

void RecordStore::close() {
  if (file_.isOpen()) {
    bool ok = file_.seek(kCounterOffset, kSeekBegin) && writeInt(file_, counter_) && file_.flush();
    if (!ok) failed_ = true;
    file_.close();
  }
  atEnd_ = true;
  cursor_ = Cursor();
}

}  // namespace tuho
