#include "store/SourceList.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "store/FieldIds.h"
#include "store/StoreErrors.h"

namespace tuho {

std::string sourceListPath(const std::string& dataFolder) { return dataFolder + "\\Folders.dat"; }

std::string temporarySourceListPath(const std::string& dataFolder) { return dataFolder + "\\FoldersTemp.dat"; }

FieldList sourceListHeaderRecord(int lastId) {
  FieldList header;
  header.addText(FLD_STORE_NAME, kStoreName);
  header.addInt(FLD_STORE_FORMAT, 1);
  header.addInt(FLD_STORE_FLAGS, 0);
  header.addInt(FLD_SOURCES_A, lastId);
  header.computeSize();
  return header;
}

SourceList::SourceList() { entries_.reserve(kMaxSources); }

bool SourceList::load(const std::string& dataFolder) {
  dataFolder_ = dataFolder;
  Lock lock(mutex_);
  entries_.clear();
  lastId_ = 1;
  store_.setFreshHeader(sourceListHeaderRecord());
  OpenResult result = store_.open(sourceListPath(dataFolder));
  if (result == kOpenedNew && store_.writeHeader(sourceListHeaderRecord())) store_.readHeaderRecord();
  bool read = (result == kOpenedNew || result == kOpenedExisting) && readEntries();
  store_.close();
  unread_ = !read || store_.hasFailed();
  return !unread_;
}

namespace {

bool hasSourceShape(const FieldList& record) {
  const int types[] = {FIELD_INT, FIELD_TEXT, FIELD_TEXT, FIELD_TEXT, FIELD_INT};
  if (record.count < 5) return false;
  for (int i = 0; i < 5; ++i) {
    if (record.slots[static_cast<size_t>(i)].type != types[i]) return false;
  }
  return true;
}

}  // namespace

// Lists written before the highest id was kept hold 0 there; their highest
// entry is then the best that is known.
// The caller holds the lock.
void SourceList::readLastId() {
  FieldSlot stored = store_.headerRecord().findField(FLD_SOURCES_A);
  if (stored.type == FIELD_INT) lastId_ = std::max(lastId_, stored.value);
  lastId_ = std::max(lastId_, highestIdLocked());
}

// Source records are read by position: id, name, root, folder, media type.
// A record of another shape is not a source and is passed over. True when
// the walk reached the end of the file (or the list is full). The caller
// holds the lock.
bool SourceList::readEntries() {
  for (store_.first(); !store_.atEnd() && entries_.size() < static_cast<size_t>(kMaxSources); store_.next()) {
    FieldList record = store_.decodeCurrent();
    if (!hasSourceShape(record)) continue;
    SourceRef source;
    source.id = record.slots[0].value;
    source.name = record.slots[1].text;
    source.root = record.slots[2].text;
    source.folder = record.slots[3].text;
    source.mediaType = static_cast<MediaType>(record.slots[4].value);
    entries_.push_back(source);
  }
  readLastId();
  return entries_.size() >= static_cast<size_t>(kMaxSources) || store_.walkEndedCleanly();
}

// The list is written whole into a file of its own and only then, flushed,
// put in place of the old one: a kill or a failure at any point leaves
// either the old list or the new one, never a part of either.
bool SourceList::save() {
  if (unread_) return false;
  const std::string temporary = temporarySourceListPath(dataFolder_);
  if (!store_.createWithRetry(temporary)) return false;
  const bool headed = store_.writeHeader(sourceListHeaderRecord(lastIdHandedOut())) && store_.readHeaderRecord();
  std::vector<SourceRef> entries;
  {
    Lock lock(mutex_);  // not held while the reporter may ask the user
    entries = entries_;
  }
  // Once a write failed, the file is closed: nothing more is tried.
  for (size_t i = 0; headed && !store_.hasFailed() && i < entries.size(); ++i) {
    const SourceRef& source = entries[i];
    FieldList record;
    record.addInt(FLD_SOURCE_ID, source.id);
    record.addText(FLD_SOURCE_NAME, source.name);
    record.addText(FLD_SOURCE_ROOT, source.root);
    record.addText(FLD_FOLDER, source.folder);
    record.addInt(FLD_SOURCE_MEDIA, static_cast<int32_t>(source.mediaType));
    record.computeSize();
    store_.append(record);
  }
  store_.close();
  if (!headed || store_.hasFailed()) {
    deleteFile(temporary);
    return false;
  }
  while (!replaceFile(temporary, sourceListPath(dataFolder_))) {
    if (!store_.reporter().retry(openFailure(sourceListPath(dataFolder_), lastError()))) {
      deleteFile(temporary);
      return false;
    }
  }
  return true;
}

int SourceList::add(const SourceRef& source) {
  Lock lock(mutex_);
  if (entries_.size() >= static_cast<size_t>(kMaxSources)) return -1;
  lastId_ = std::max(lastId_, highestIdLocked());
  if (lastId_ >= kHighestRecordId) return -1;
  SourceRef entry = source;
  entry.id = ++lastId_;
  entries_.push_back(entry);
  return static_cast<int>(entries_.size()) - 1;
}

bool SourceList::removeById(int id) {
  Lock lock(mutex_);
  int index = indexOfIdLocked(id);
  if (index < 0) return false;
  entries_.erase(entries_.begin() + index);
  return true;
}

int SourceList::count() const {
  Lock lock(mutex_);
  return static_cast<int>(entries_.size());
}

int SourceList::indexOfIdLocked(int id) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

int SourceList::indexOfId(int id) const {
  Lock lock(mutex_);
  return indexOfIdLocked(id);
}

SourceRef SourceList::lookupById(int id) const {
  Lock lock(mutex_);
  int index = indexOfIdLocked(id);
  return index < 0 ? SourceRef() : entries_[static_cast<size_t>(index)];
}

SourceRef SourceList::copyOf(const SourceRef* entry) const {
  Lock lock(mutex_);
  return entry ? *entry : SourceRef();
}

int SourceList::indexOfName(const std::string& name) const {
  Lock lock(mutex_);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

void SourceList::keepIdsAbove(int id) {
  Lock lock(mutex_);
  lastId_ = std::max(lastId_, id);
}

int SourceList::lastIdHandedOut() const {
  Lock lock(mutex_);
  return lastId_;
}

int SourceList::highestIdLocked() const {
  int highest = 1;
  for (const SourceRef& source : entries_) highest = std::max(highest, source.id);
  return highest;
}

int SourceList::highestId() const {
  Lock lock(mutex_);
  return highestIdLocked();
}

}  // namespace tuho
