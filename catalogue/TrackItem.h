// The catalogue's value types: one track, a list of track ids with a
// per-entry result mark, and the distinct values of a grouping.
#pragma once

#include <string>
#include <vector>

#include "store/SourceList.h"
#include "tags/TrackTag.h"

namespace tuho {

struct TrackItem {
  int id = 0;     // record id in the catalogue; 0 for a track not yet stored
  int ready = 0;  // 1 when a ready-to-play copy exists in the data folder
  std::string fileName;  // with extension, no folder
  std::string folder;    // relative to the source's location: empty or "\A\B"
  TrackTag tag;
  SourceRef source;      // id 0 when the source is no longer registered
  int recordSourceId = 0;  // the source id the record holds, also once the source is gone

  // A read that found nothing returns an item without a file name.
  bool isEmpty() const { return fileName.empty(); }
};

struct IdEntry {
  int id = 0;
  int mark = 0;  // set by the copy job (1 = made ready) and the delete job (0 = copy deleted)
};

struct IdList {
  std::vector<IdEntry> entries;

  int append(int id);          // index of the new entry; its mark is 0
  int indexOf(int id) const;   // first entry with the id, or -1
  void clear() { entries.clear(); }
  int count() const { return static_cast<int>(entries.size()); }
};

// Ready state of a group value: how many of its tracks are ready to play.
// tuhodb prints the numbers.
enum class ReadyState { kNone = 0, kSome = 1, kAll = 2 };

struct GroupValue {
  std::string value;
  ReadyState state = ReadyState::kNone;
  MediaType kind = MediaType::kLocalFolder;  // of the source of the first track with the value
};

struct ValueList {
  std::vector<GroupValue> values;
  int count() const { return static_cast<int>(values.size()); }
};

// Group levels: the grouping combo box's indexes, the numbers the chosen
// grouping is remembered by, and the tree's node levels. Media groups by
// source: its nodes have artists below them, and those their albums.
enum class GroupLevel : int { Genre = 0, Artist = 1, Album = 2, Media = 3 };
constexpr GroupLevel LEVEL_GENRE = GroupLevel::Genre;
constexpr GroupLevel LEVEL_ARTIST = GroupLevel::Artist;
constexpr GroupLevel LEVEL_ALBUM = GroupLevel::Album;
constexpr GroupLevel LEVEL_MEDIA = GroupLevel::Media;
constexpr int kGroupLevelCount = 4;

inline int levelNumber(GroupLevel level) { return static_cast<int>(level); }
// The level a stored or chosen number names, or nothing for another number.
inline bool isGroupLevel(long long number) { return number >= 0 && number < kGroupLevelCount; }
inline GroupLevel groupLevelOf(int number) { return static_cast<GroupLevel>(number); }

}  // namespace tuho
