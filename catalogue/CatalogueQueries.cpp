// The browsing views' questions: which tracks carry given values, and which
// distinct values exist below them with how many of their tracks are ready.
#include "catalogue/Catalogue.h"

#include <utility>
#include <vector>

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

const uint32_t* groupedText(const TrackIndex::Track& track, int groupBy) {
  switch (groupBy) {
    case LEVEL_GENRE: return &track.genre;
    case LEVEL_ARTIST: return &track.artist;
    case LEVEL_ALBUM: return &track.album;
    default: return nullptr;
  }
}

// The media type of each source, looked up once per query.
class SourceKinds {
 public:
  explicit SourceKinds(const SourceList& sources) : sources_(sources) {}
  MediaType of(int sourceId) {
    for (const auto& known : kinds_) {
      if (known.first == sourceId) return known.second;
    }
    kinds_.emplace_back(sourceId, sources_.lookupById(sourceId).mediaType);
    return kinds_.back().second;
  }

 private:
  const SourceList& sources_;
  std::vector<std::pair<int, MediaType>> kinds_;
};

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

bool Catalogue::forEachTrack(const TrackFilter& filter, const std::function<bool(const TrackItem&)>& visit) {
  Lock lock(mutex_);
  if (visitTracks(filter, visit)) return true;
  walkFailed();
  return false;
}

// The index names the matching records when it is in step with the file;
// otherwise (a damaged file left as it is, a failed read at opening) the
// file is walked. False when a read failed before the walk was done.
bool Catalogue::visitTracks(const TrackFilter& filter, const std::function<bool(const TrackItem&)>& visit) {
  if (index_.isInStep()) return visitIndexedTracks(filter, visit);
  // Records that are not tracks (damaged or foreign) decode empty and are
  // passed over; the walk ends with the store's end.
  for (TrackItem item = firstTrack(filter); !store_.atEnd(); item = nextTrack()) {
    if (!item.isEmpty() && !visit(item)) return true;
  }
  return store_.walkComplete();
}

// Reads and decodes only the matching records, in file order. Every record
// the index names is live in the file, so one that cannot be read is a
// failed read.
bool Catalogue::visitIndexedTracks(const TrackFilter& filter, const std::function<bool(const TrackItem&)>& visit) {
  std::vector<int64_t> offsets;
  index_.forEachMatching(filter, [&](const TrackIndex::Track& track) { offsets.push_back(track.offset); });
  for (int64_t offset : offsets) {
    if (store_.readAt(offset) == 0) return false;
    TrackItem item = currentTrack();
    if (!item.isEmpty() && !visit(item)) return true;
  }
  return true;
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
  Lock lock(mutex_);
  if (index_.isInStep()) return indexedGroupValues(filter, groupBy);
  GroupValueCollector values;
  visitTracks(filter, [&](const TrackItem& item) {
    const std::optional<std::string>* value = groupedValue(item, groupBy);
    if (value && *value) values.add(**value, item.ready, item.source.mediaType);
    return true;
  });
  return values.take();
}

// The same from memory alone: no record is read.
ValueList Catalogue::indexedGroupValues(const TrackFilter& filter, int groupBy) {
  GroupValueCollector values;
  SourceKinds kinds(sources_);
  index_.forEachMatching(filter, [&](const TrackIndex::Track& track) {
    const uint32_t* text = groupedText(track, groupBy);
    if (text) values.addNumbered(*text, index_.text(*text), track.ready, kinds.of(track.sourceId));
  });
  return values.take();
}

}  // namespace tuho
