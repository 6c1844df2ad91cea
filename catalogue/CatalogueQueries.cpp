// The browsing views' questions: which tracks carry given values, and which
// distinct values exist below them with how many of their tracks are ready.
#include <unordered_map>

#include "catalogue/Catalogue.h"
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

GroupValue newGroupValue(const std::string& value, int ready, int kind) {
  return GroupValue{value, ready == 1 ? READY_ALL : READY_NONE, kind};
}

// One more track with the value: a mixture of ready and not ready is "some".
void mergeReadyState(GroupValue& known, int ready) {
  if ((known.state == READY_NONE && ready == 1) || (known.state == READY_ALL && ready != 1)) {
    known.state = READY_SOME;
  }
}

}  // namespace

using Lock = std::lock_guard<std::recursive_mutex>;

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
  ValueList list;
  if (filter.genre && filter.artist && filter.album) return list;
  // Where each value sits in the list, so a catalogue with thousands of
  // albums does not search the list once per track.
  std::unordered_map<std::string, size_t> positions;
  forEachTrack(filter, [&](const TrackItem& item) {
    const std::optional<std::string>* value = groupedValue(item, groupBy);
    if (!value || !*value) return true;
    auto found = positions.emplace(**value, list.values.size());
    if (found.second) {
      list.values.push_back(newGroupValue(**value, item.ready, item.source.mediaType));
    } else {
      mergeReadyState(list.values[found.first->second], item.ready);
    }
    return true;
  });
  return list;
}

void Catalogue::addGroupValue(ValueList& list, const std::string& value, int ready, int kind) {
  for (GroupValue& known : list.values) {
    if (known.value != value) continue;
    mergeReadyState(known, ready);
    return;
  }
  list.values.push_back(newGroupValue(value, ready, kind));
}

}  // namespace tuho
