#include "catalogue/Catalogue.h"

#include <algorithm>
#include <unordered_map>

#include "catalogue/TrackFields.h"
#include "catalogue/TrackRecord.h"
#include "store/CatalogueStore.h"

namespace tuho {

Catalogue::Catalogue(SourceList& sources, std::string dataFolder)
    : sources_(sources), dataFolder_(std::move(dataFolder)) {
  store_.setReporter(&boxes_);
  store_.setObserver(&index_);
  store_.setLocator(&index_);
}

OpenResult Catalogue::open() {
  Lock lock(mutex_);
  return openCatalogueStore(store_, catalogueStorePath(dataFolder_));
}

bool Catalogue::loadSources() {
  const bool loaded = sources_.load(dataFolder_);
  Lock lock(mutex_);
  int highest = 0;
  if (index_.isInStep()) {
    index_.forEachMatching(TrackFilter(),
                           [&](const TrackIndex::Track& track) { highest = std::max<int>(highest, track.sourceId); });
  } else {
    visitTracks(TrackFilter(), [&](const TrackItem& item) {
      highest = std::max(highest, item.recordSourceId);
      return true;
    });
  }
  sources_.keepIdsAbove(highest);
  return loaded;
}

bool Catalogue::close() {
  Lock lock(mutex_);
  const Closing closing = closeCatalogueStore(store_, dataFolder_);
  closeFailed_ = closing == Closing::kFailed;
  return closing == Closing::kCompacted;
}

bool Catalogue::storeFailed() {
  Lock lock(mutex_);
  return store_.hasFailed() || !store_.walkComplete();
}

int Catalogue::storeWalks() {
  Lock lock(mutex_);
  return store_.walksStarted();
}

int Catalogue::storeTrack(const TrackItem& item, bool update) {
  FieldList fields = trackRecord(item);
  Lock lock(mutex_);
  return update ? store_.updateById(fields, item.id) : store_.append(fields);
}

TrackItem Catalogue::trackFromRecord(const FieldList& fields) const {
  TrackItem item = trackFromFields(fields);
  if (item.isEmpty()) return item;
  item.recordSourceId = item.source.id;
  item.source = sources_.lookupById(item.source.id);
  return item;
}

TrackItem Catalogue::currentTrack() {
  if (store_.atEnd()) return TrackItem();
  return trackFromRecord(store_.decodeCurrent());
}

TrackItem Catalogue::readTrack(int id) {
  Lock lock(mutex_);
  if (id <= 0) return TrackItem();
  if (store_.findById(id) == 0) {
    walkFailed();
    return TrackItem();
  }
  return currentTrack();
}

std::vector<int> Catalogue::inStoreOrder(const std::vector<int>& ids) {
  Lock lock(mutex_);
  return store_.inFileOrder(ids);
}

std::vector<TrackItem> Catalogue::readTracks(const std::vector<int>& ids) {
  Lock lock(mutex_);
  std::vector<TrackItem> items;
  items.reserve(ids.size());
  for (int id : store_.inFileOrder(ids)) {
    if (id <= 0) continue;
    if (store_.findById(id) == 0) {
      // A read that failed is told once and ends the reading; a track
      // deleted meanwhile is left out.
      if (walkFailed()) break;
      continue;
    }
    TrackItem item = currentTrack();
    if (!item.isEmpty()) items.push_back(std::move(item));
  }
  return items;
}

int Catalogue::updateTrack(const TrackItem& item) { return storeTrack(item, true); }

int Catalogue::rewriteTrack(int id, const std::function<void(TrackItem&)>& change, TrackTag* written) {
  Lock lock(mutex_);
  if (id <= 0) return 0;
  if (store_.findById(id) == 0) {
    walkFailed();
    return 0;
  }
  TrackItem item = currentTrack();
  if (item.isEmpty()) return 0;
  change(item);
  if (store_.updateById(trackRecord(item), id) != id) return 0;
  if (written) *written = item.tag;
  return id;
}

namespace {

void applyTagChange(const TagChange& change, TrackTag& tag) {
  if (change.artist) tag.artist = change.artist;
  if (change.album) tag.album = change.album;
  if (change.title) tag.title = change.title;
  if (change.trackNo) tag.trackNo = change.trackNo;
  if (change.genre) tag.genre = change.genre;
}

}  // namespace

int Catalogue::updateTags(int id, const TagChange& change, TrackTag* written) {
  return rewriteTrack(
      id, [&](TrackItem& item) { applyTagChange(change, item.tag); }, written);
}

std::vector<std::pair<int, TrackTag>> Catalogue::updateTagsMany(const std::vector<int>& ids, const TagChange& change) {
  Lock lock(mutex_);
  std::unordered_map<int, TrackTag> tags;
  const std::vector<int> rewritten = store_.rewriteMany(ids, [&](const FieldList& stored, FieldList* changed) {
    TrackItem item = trackFromRecord(stored);
    if (item.isEmpty()) return false;
    applyTagChange(change, item.tag);
    *changed = trackRecord(item);
    tags[stored.id] = item.tag;
    return true;
  });
  walkFailed();
  std::vector<std::pair<int, TrackTag>> written;
  written.reserve(rewritten.size());
  for (int id : rewritten) written.emplace_back(id, std::move(tags[id]));
  return written;
}

int Catalogue::setReady(int id, int ready) {
  return rewriteTrack(id, [&](TrackItem& item) { item.ready = ready; });
}

bool Catalogue::deleteTrack(int id) {
  Lock lock(mutex_);
  if (id <= 0) return false;
  if (store_.findById(id) == 0) {
    walkFailed();
    return false;
  }
  return store_.deleteCurrent();
}

}  // namespace tuho
