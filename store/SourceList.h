// The registered media sources, kept in "<data folder>\Folders.dat".
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "store/RecordStore.h"

namespace tuho {

// The numbers are stored in the list file; one read from a file may be
// none of these.
enum class MediaType : int32_t {
  kLocalFolder = 0,
  kNetworkFolder = 1,
  kWriteOnce = 3,
  kRewritable = 4,
};

// Folder sources play where they are; the tracks of disc sources are
// copied into the data folder to play without the disc.
inline bool isFolderKind(MediaType mediaType) {
  return mediaType == MediaType::kLocalFolder || mediaType == MediaType::kNetworkFolder;
}
inline bool isDiscKind(MediaType mediaType) {
  return mediaType == MediaType::kWriteOnce || mediaType == MediaType::kRewritable;
}

struct SourceRef {
  std::string folder;  // path on the root after the colon; empty for the root itself
  std::string root;    // drive part up to and including the first colon
  MediaType mediaType = MediaType::kLocalFolder;
  int id = 0;          // 2 or more, unique within the list
  std::string name;    // unique within the list
};

constexpr int kMaxSources = 100;

std::string sourceListPath(const std::string& dataFolder);           // "<folder>\Folders.dat"
std::string temporarySourceListPath(const std::string& dataFolder);  // "<folder>\FoldersTemp.dat"
// The header record; `lastId` is the highest source id handed out so far.
FieldList sourceListHeaderRecord(int lastId = 0);

// One thread (the UI's) changes the list; others (the worker) read it while
// it runs. Every change and every lookup takes the list's lock, so a reader
// never sees an entry half added or half moved; the references handed out
// by at() and entry() are for the changing thread alone, and a copy of an
// entry for another thread is taken with copyOf().
class SourceList {
 public:
  SourceList();
  SourceList(const SourceList&) = delete;
  SourceList& operator=(const SourceList&) = delete;

  // Reads the file in dataFolder, creating it when there is none. False
  // (reported) when the file could not be opened or read to its end:
  // the list then holds what could be read, and save() refuses, so that a
  // list never read whole is not written over the file.
  bool load(const std::string& dataFolder);
  // Writes the whole list to the file of the last load through a new file
  // that replaces it; false when the user gave up creating or placing the
  // file, a write failed (the list stays in memory, the old file as it was),
  // or the last load failed.
  [[nodiscard]] bool save();
  // Index of the new entry, or -1 when the list is full. Ids only grow, as
  // track ids do: the new id is one above every id this list has handed
  // out, kept or been told of, so that a track whose source is gone is never
  // taken for a track of the new one.
  int add(const SourceRef& source);
  // Counts `id` as handed out: no later source gets it or one below it.
  void keepIdsAbove(int id);
  // False when no entry has the id.
  bool removeById(int id);
  int indexOfId(int id) const;
  SourceRef lookupById(int id) const;
  int indexOfName(const std::string& name) const;
  int highestId() const;

  int count() const;
  const SourceRef& at(int index) const { return entries_[static_cast<size_t>(index)]; }
  // Worker jobs hold a pointer to their entry while they run; entries keep
  // their place until a removal.
  SourceRef* entry(int index) { return &entries_[static_cast<size_t>(index)]; }
  // A copy of the entry `entry` points at, taken under the lock.
  SourceRef copyOf(const SourceRef* entry) const;
  // Not owned; told of the list file's failures and repairs.
  void setReporter(StoreReporter* reporter) { store_.setReporter(reporter); }
  void setDataFolder(const std::string& dataFolder) {
    dataFolder_ = dataFolder;
    unread_ = false;
  }

 private:
  using Lock = std::lock_guard<std::mutex>;
  bool readEntries();
  void readLastId();
  int lastIdHandedOut() const;
  int indexOfIdLocked(int id) const;
  int highestIdLocked() const;

  mutable std::mutex mutex_;  // guards entries_ and lastId_
  std::vector<SourceRef> entries_;
  int lastId_ = 1;  // the highest id handed out, stored in the header record
  RecordStore store_;
  std::string dataFolder_;
  bool unread_ = false;  // the last load could not read the file whole
};

}  // namespace tuho
