// The catalogue engine: tracks in the catalogue store, scanning media
// sources, the grouping queries, play and enqueue through the shell, and
// ready-to-play copies. One object per run, shared by the UI thread and the
// worker thread; walks hand back complete results, so no caller ever holds a
// half-finished walk of the single store cursor.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/JobEvents.h"
#include "catalogue/StoreBoxes.h"
#include "catalogue/TrackFilter.h"
#include "catalogue/TrackIndex.h"
#include "catalogue/TrackItem.h"
#include "store/RecordStore.h"
#include "store/SourceList.h"

namespace tuho {

// The tag values an edit sets; an absent value stays as the track has it.
struct TagChange {
  std::optional<std::string> artist;
  std::optional<std::string> album;
  std::optional<std::string> title;
  std::optional<std::string> trackNo;
  std::optional<std::string> genre;
};

class Catalogue {
 public:
  Catalogue(SourceList& sources, std::string dataFolder);
  Catalogue(const Catalogue&) = delete;
  Catalogue& operator=(const Catalogue&) = delete;

  // "<data folder>\Tuho.dat", created with its header record on first use.
  OpenResult open();
  // Loads the source list of the data folder (after open: the catalogue
  // holds the folder). A source added later gets an id above every source id
  // a track carries, so that the tracks of a source that is gone from the
  // list are never taken for those of a new one.
  // False when the list could not be read whole (its box was shown).
  bool loadSources();
  // Closes the store, compacting it past the threshold; true when compacted.
  bool close();
  // True when the last close could not write, flush or close the file, or
  // a compaction it started failed (the catalogue file was kept as it was).
  bool closeFailed() const { return closeFailed_; }
  // True when the last call could not read or write the store (and told
  // so), rather than finding nothing.
  bool storeFailed();
  const std::string& dataFolder() const { return dataFolder_; }
  // A copy of an entry of the media source list (a scan request points at
  // one), taken under the list's lock: the UI thread may change the list
  // meanwhile.
  SourceRef sourceEntry(const SourceRef* entry) const { return sources_.copyOf(entry); }
  // The registered source with the id (an empty entry when there is none),
  // and the id of the source with the name (0 when there is none).
  SourceRef sourceById(int id) const { return sources_.lookupById(id); }
  int sourceIdNamed(const std::string& name) const {
    const int index = sources_.indexOfName(name);
    return index >= 0 ? sources_.at(index).id : 0;
  }
  // Walks of the store file so far: a lookup by id needs none while the
  // track index is in step with the file.
  int storeWalks();

  // Records: storeTrack returns the id written (appended, or updated in
  // place of item.id), 0 on failure.
  int storeTrack(const TrackItem& item, bool update);
  TrackItem readTrack(int id);
  // The ids once each, in the order of their records in the file: work on
  // many tracks in this order moves on through the store's read window
  // instead of filling it anew for each track.
  std::vector<int> inStoreOrder(const std::vector<int>& ids);
  // The tracks of these ids that the catalogue holds, in store order.
  std::vector<TrackItem> readTracks(const std::vector<int>& ids);

  // Queries.
  std::vector<TrackItem> listTracks(const TrackFilter& filter);
  // Calls visit for each track of the walk, under the lock; visit returns
  // false to stop early. Visitors must not call back into the catalogue.
  // False when the walk could not read every track (a read failed).
  bool forEachTrack(const TrackFilter& filter, const std::function<bool(const TrackItem&)>& visit);
  // The distinct values below the filter; grouped by media they are the
  // names of the registered sources that hold matching tracks.
  ValueList groupValues(const TrackFilter& filter, GroupLevel groupBy);
  // The tracks that every word of `text` occurs in, ignoring case, in
  // file order (see catalogue/FindWords.h); none for a text without words.
  std::vector<TrackItem> findTracks(const std::string& text);
  // How many tracks carry the filter's values; the whole catalogue for an
  // empty filter.
  int countTracks(const TrackFilter& filter);
  int updateTrack(const TrackItem& item);  // the id, 0 on failure
  // Field-level writes: each re-reads the record under the lock and changes
  // only its own fields, so a writer holding an older copy of the track (a
  // copy job waiting for a volume, an open tag dialog) undoes no other
  // write. Return the id, or 0 when the track is gone or the write failed.
  // `written`, when given, receives the tag as stored.
  int updateTags(int id, const TagChange& change, TrackTag* written = nullptr);
  // updateTags for many tracks under one lock, written as one batch whose
  // flushes do not grow with the tracks. The ids written with their tags as
  // stored, in the order given; a track gone or given again is left out,
  // and none when a read or a write failed (told).
  std::vector<std::pair<int, TrackTag>> updateTagsMany(const std::vector<int>& ids, const TagChange& change);
  int setReady(int id, int ready);
  bool deleteTrack(int id);

  // Scanning. scanSource is true when the source was walked (or the walk
  // was stopped), false when its volume was missing or the store could not
  // be read or written (the user is told).
  bool scanSource(const SourceRef& source, bool rescan, const JobEvents& events);
  int findTrack(int sourceId, const std::string& folder, const std::string& fileName);
  // The number of tracks removed; *complete (when given) is false when a
  // read or a write failed before every track of the source was removed.
  int removeSource(int sourceId, bool* complete = nullptr);

  // Play and enqueue. `interrupt`, when given, cuts short the wait for the
  // player after "Play" (see ShellRequest).
  void playTrack(int trackId, intptr_t ownerWindow, const std::atomic<bool>* interrupt = nullptr);
  void enqueueTrack(int trackId, intptr_t ownerWindow);

  // Ready-to-play copies.
  IdList copyReadyJob(IdList ids, const JobEvents& events);
  IdList deleteReadyJob(IdList ids, const JobEvents& events);

 private:
  using Lock = std::lock_guard<std::mutex>;
  struct WalkState;
  TrackItem trackFromRecord(const FieldList& fields) const;
  enum class Copy {
    kMade,
    kCancelled,  // the user cancelled locating the volume
    kFailed,
  };
  Copy makeReady(const TrackItem& item, const JobEvents& events);
  void deleteCopy(const TrackItem& item);
  TrackItem firstTrack(const TrackFilter& filter);
  bool visitTracks(const TrackFilter& filter, const std::function<bool(const TrackItem&)>& visit);
  bool visitIndexedTracks(const TrackFilter& filter, const std::function<bool(const TrackItem&)>& visit);
  ValueList indexedGroupValues(const TrackFilter& filter, GroupLevel groupBy);
  TrackItem nextTrack();
  TrackItem currentTrack();
  int rewriteTrack(int id, const std::function<void(TrackItem&)>& change, TrackTag* written = nullptr);
  void walkFolder(const std::string& path, WalkState& walk);
  void catalogueFile(const std::string& path, const std::string& name, WalkState& walk);
  bool dropVanished(const WalkState& walk);
  bool loadKnownTracks(WalkState& walk);
  bool walkFailed();
  void startJob();
  bool endJob();  // true when the disk filled during the job
  static void tellDiskFull(int stored);
  static void tellSkipped(int tooLong, int unnamed);
  void sendToShell(int trackId, const char* verb, intptr_t ownerWindow, const std::atomic<bool>* interrupt);

  SourceList& sources_;
  std::string dataFolder_;
  // The grouping fields of every track, kept in step by store_, which tells
  // it of each change; declared first so that it outlives the store, whose
  // closing tells it too.
  TrackIndex index_;
  StoreBoxes boxes_;  // what the user is shown of store_'s failures
  RecordStore store_;
  // Guards store_, boxes_ and the store's one cursor. Every public member that touches the
  // store takes it for one operation or one whole walk, and nothing called
  // while it is held takes it again (walk visitors must not call back).
  // Private helpers that use store_ or index_ (currentTrack, firstTrack,
  // nextTrack, the visit and indexed helpers) run only under a lock their
  // caller holds.
  std::mutex mutex_;
  bool closeFailed_ = false;
};

}  // namespace tuho
