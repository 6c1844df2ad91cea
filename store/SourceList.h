// The registered media sources, kept in "<data folder>\Folders.dat".
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "store/RecordStore.h"

namespace tuho {

enum MediaType {
  MEDIA_LOCAL_FOLDER = 0,
  MEDIA_NETWORK_FOLDER = 1,
  MEDIA_WRITE_ONCE = 3,
  MEDIA_REWRITABLE = 4,
};

// Folder sources play where they are; the tracks of disc sources are
// copied into the data folder to play without the disc.
inline bool isFolderKind(int mediaType) {
  return mediaType == MEDIA_LOCAL_FOLDER || mediaType == MEDIA_NETWORK_FOLDER;
}
inline bool isDiscKind(int mediaType) { return mediaType == MEDIA_WRITE_ONCE || mediaType == MEDIA_REWRITABLE; }

struct SourceRef {
  std::string folder;  // path on the root after the colon; empty for the root itself
  std::string root;    // drive part up to and including the first colon
  int mediaType = MEDIA_LOCAL_FOLDER;
  int id = 0;          // 2 or more, unique within the list
  std::string name;    // unique within the list
};

constexpr int kMaxSources = 100;

std::string sourceListPath(const std::string& dataFolder);           // "<folder>\Folders.dat"
std::string temporarySourceListPath(const std::string& dataFolder);  // "<folder>\FoldersTemp.dat"
FieldList sourceListHeaderRecord();

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

  // Reads the file in dataFolder, creating it when there is none. A file
  // that cannot be opened leaves the list empty (its box was shown).
  void load(const std::string& dataFolder);
  // Writes the whole list to the file of the last load through a new file
  // that replaces it; false when the user gave up creating or placing the
  // file or a write failed (the list stays in memory, the old file as it was).
  [[nodiscard]] bool save();
  // Index of the new entry (id = highest id + 1), or -1 when the list is full.
  int add(const SourceRef& source);
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
  void setDataFolder(const std::string& dataFolder) { dataFolder_ = dataFolder; }

 private:
  using Lock = std::lock_guard<std::mutex>;
  void readEntries();
  int indexOfIdLocked(int id) const;
  int highestIdLocked() const;

  mutable std::mutex mutex_;  // guards entries_
  std::vector<SourceRef> entries_;
  RecordStore store_;
  std::string dataFolder_;
};

}  // namespace tuho
