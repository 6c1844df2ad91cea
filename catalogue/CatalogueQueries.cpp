// The browsing views' questions: which tracks carry given values, and which
// distinct values exist below them with how many of their tracks are ready.
#include "catalogue/Catalogue.h"
#include "catalogue/GroupValues.h"
#include "catalogue/TrackFields.h"

namespace tuho {
namespace {

FieldList filterQuery(const TrackFilter& filter) {
  FieldList query;
  if (filter.genre) query.addText(FLD_GENRE, *filter.genre);
  if (filter.artist) query.addText(FLD_ARTIST, *filter.artist);
  if (filter.album) query.addText(FLD_ALBUM, *filter.album);
  return query;
}

const std::optional<std::string>* groupedValue(const TrackItem& item, int groupBy) {
  switch (groupBy) {
    case LEVEL_GENRE: return &item.tag.genre;
    case LEVEL_ARTIST: return &item.tag.artist;
    case LEVEL_ALBUM: return &item.tag.album;
    default: return nullptr;
  }
}

}  // namespace

// Callers hold the lock from firstTrack to the last nextTrack.
TrackItem Catalogue::firstTrack(const TrackFilter& filter) {
  FieldList query = filterQuery(filter);
  if (query.count == 0) {
    store_.first();
  } else {
    store_.findFirstMatching(query);
  }
  return currentTrack();
}

TrackItem Catalogue::nextTrack() {
  store_.next();
  return currentTrack();
}

void Catalogue::forEachTrack(const TrackFilter& filter, const std::function<bool(const TrackItem&)>& visit) {
  Lock lock(mutex_);
  // Records that are not tracks (damaged or foreign) decode empty and are
  // passed over; the walk ends with the store's end.
  for (TrackItem item = firstTrack(filter); !store_.atEnd(); item = nextTrack()) {
    if (!item.isEmpty() && !visit(item)) break;
  }
}

std::vector<TrackItem> Catalogue::listTracks(const TrackFilter& filter) {
  std::vector<TrackItem> tracks;
  forEachTrack(filter, [&](const TrackItem& item) {
    tracks.push_back(item);
    return true;
  });
  return tracks;
}

ValueList Catalogue::groupValues(const TrackFilter& filter, int groupBy) {
  if (filter.genre && filter.artist && filter.album) return ValueList();
  GroupValueCollector values;
  forEachTrack(filter, [&](const TrackItem& item) {
    const std::optional<std::string>* value = groupedValue(item, groupBy);
    if (value && *value) values.add(**value, item.ready, item.source.mediaType);
    return true;
  });
  return values.take();
}

}  // namespace tuho
