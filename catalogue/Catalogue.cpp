#include "catalogue/Catalogue.h"

#include "catalogue/TrackFields.h"
#include "catalogue/TrackRecord.h"
#include "store/CatalogueStore.h"

namespace tuho {

Catalogue::Catalogue(SourceList& sources, std::string dataFolder)
    : sources_(sources), dataFolder_(std::move(dataFolder)) {
  store_.setObserver(&index_);
  store_.setLocator(&index_);
}

OpenResult Catalogue::open() {
  Lock lock(mutex_);
  return openCatalogueStore(store_, catalogueStorePath(dataFolder_));
}

bool Catalogue::close() {
  Lock lock(mutex_);
  return closeCatalogueStore(store_, dataFolder_);
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
  if (id <= 0 || store_.findById(id) == 0) return TrackItem();
  return currentTrack();
}

int Catalogue::updateTrack(const TrackItem& item) { return storeTrack(item, true); }

int Catalogue::rewriteTrack(int id, const std::function<void(TrackItem&)>& change, TrackTag* written) {
  Lock lock(mutex_);
  if (id <= 0 || store_.findById(id) == 0) return 0;
  TrackItem item = currentTrack();
  if (item.isEmpty()) return 0;
  change(item);
  if (store_.updateById(trackRecord(item), id) != id) return 0;
  if (written) *written = item.tag;
  return id;
}

int Catalogue::updateTags(int id, const TagChange& change, TrackTag* written) {
  return rewriteTrack(id, [&](TrackItem& item) {
    if (change.artist) item.tag.artist = change.artist;
    if (change.album) item.tag.album = change.album;
    if (change.title) item.tag.title = change.title;
    if (change.trackNo) item.tag.trackNo = change.trackNo;
    if (change.genre) item.tag.genre = change.genre;
  }, written);
}

int Catalogue::setReady(int id, int ready) {
  return rewriteTrack(id, [&](TrackItem& item) { item.ready = ready; });
}

bool Catalogue::deleteTrack(int id) {
  Lock lock(mutex_);
  return id > 0 && store_.deleteById(id);
}

}  // namespace tuho
