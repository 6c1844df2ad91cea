// The browsing views' questions: which tracks carry given values, and which
// distinct values exist below them with how many of their tracks are ready.
#include "catalogue/Catalogue.h"

#include <utility>
#include <vector>

#include "catalogue/FindWords.h"
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

const std::optional<std::string>* groupedValue(const TrackItem& item, GroupLevel groupBy) {
  switch (groupBy) {
    case LEVEL_GENRE: return &item.tag.genre;
    case LEVEL_ARTIST: return &item.tag.artist;
    case LEVEL_ALBUM: return &item.tag.album;
    default: return nullptr;
  }
}

const uint32_t* groupedText(const TrackIndex::Track& track, GroupLevel groupBy) {
  switch (groupBy) {
    case LEVEL_GENRE: return &track.genre;
    case LEVEL_ARTIST: return &track.artist;
    case LEVEL_ALBUM: return &track.album;
    default: return nullptr;
  }
}

// Each source's entry, looked up once per query: its kind, and its name
// when the tracks are grouped by media (a source that is gone has none).
class SourceEntries {
 public:
  explicit SourceEntries(const SourceList& sources) : sources_(sources) {}
  const SourceRef& of(int sourceId) {
    for (const SourceRef& known : entries_) {
      if (known.id == sourceId) return known;
    }
    entries_.push_back(sources_.lookupById(sourceId));
    entries_.back().id = sourceId;
    return entries_.back();
  }

 private:
  const SourceList& sources_;
  std::vector<SourceRef> entries_;
};

void addMediaValue(GroupValueCollector& values, SourceEntries& entries, int sourceId, int ready) {
  const SourceRef& source = entries.of(sourceId);
  if (!source.name.empty()) values.add(source.name, ready, source.mediaType);
}

bool carriesSource(const TrackFilter& filter, const TrackItem& item) {
  return !filter.sourceId || item.recordSourceId == *filter.sourceId;
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
    if (!item.isEmpty() && carriesSource(filter, item) && !visit(item)) return true;
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

ValueList Catalogue::groupValues(const TrackFilter& filter, GroupLevel groupBy) {
  if (filter.genre && filter.artist && filter.album) return ValueList();
  Lock lock(mutex_);
  if (index_.isInStep()) return indexedGroupValues(filter, groupBy);
  GroupValueCollector values;
  SourceEntries entries(sources_);
  visitTracks(filter, [&](const TrackItem& item) {
    if (groupBy == LEVEL_MEDIA) {
      addMediaValue(values, entries, item.recordSourceId, item.ready);
      return true;
    }
    const std::optional<std::string>* value = groupedValue(item, groupBy);
    if (value && *value) values.add(**value, item.ready, item.source.mediaType);
    return true;
  });
  return values.take();
}

// The same from memory alone: no record is read.
ValueList Catalogue::indexedGroupValues(const TrackFilter& filter, GroupLevel groupBy) {
  GroupValueCollector values;
  SourceEntries entries(sources_);
  index_.forEachMatching(filter, [&](const TrackIndex::Track& track) {
    if (groupBy == LEVEL_MEDIA) return addMediaValue(values, entries, track.sourceId, track.ready);
    const uint32_t* text = groupedText(track, groupBy);
    if (text) values.addNumbered(*text, index_.text(*text), track.ready, entries.of(track.sourceId).mediaType);
  });
  return values.take();
}

// The index answers from memory and reads only the found records; without
// it every track is read and matched whole.
std::vector<TrackItem> Catalogue::findTracks(const std::string& text) {
  const FindWords find = findWordsOf(text);
  std::vector<TrackItem> tracks;
  if (find.empty()) return tracks;
  Lock lock(mutex_);
  if (index_.isInStep()) {
    std::vector<int64_t> offsets;
    index_.forEachFound(find, [&](const TrackIndex::Track& track) { offsets.push_back(track.offset); });
    tracks.reserve(offsets.size());
    for (int64_t offset : offsets) {
      if (store_.readAt(offset) == 0) {
        walkFailed();
        break;
      }
      TrackItem item = currentTrack();
      if (!item.isEmpty()) tracks.push_back(std::move(item));
    }
    return tracks;
  }
  visitTracks(TrackFilter(), [&](const TrackItem& item) {
    if (trackMatches(item, find)) tracks.push_back(item);
    return true;
  });
  return tracks;
}

int Catalogue::countTracks(const TrackFilter& filter) {
  Lock lock(mutex_);
  int count = 0;
  if (index_.isInStep()) {
    index_.forEachMatching(filter, [&](const TrackIndex::Track&) { ++count; });
    return count;
  }
  visitTracks(filter, [&](const TrackItem&) {
    ++count;
    return true;
  });
  return count;
}

}  // namespace tuho
