// The grouping fields of every track in the catalogue store (id, source,
// genre, artist, album, ready) in file order, with the texts a find looks
// through (title and file name, folded to one case), kept in memory and in step
// with the file by the store's notices, so that the browsing queries need
// not walk and decode the whole file. Each distinct text is held once.
// It also knows where each live record starts by id, so that a lookup by id
// reads one record. The owner guards it with the same lock as the store.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/FindWords.h"
#include "catalogue/FoldedTexts.h"
#include "catalogue/TextPool.h"
#include "catalogue/TrackFilter.h"
#include "store/RecordLocator.h"
#include "store/RecordObserver.h"

namespace tuho {

class TrackIndex : public RecordObserver, public RecordLocator {
 public:
  // 32 bytes: the index of a large catalogue is mostly these, and a
  // short-lived process pays for every page of them it fills.
  struct Track {
    // One type for the three fields, so that every compiler's layout packs
    // them into one word.
    int64_t offset : 48;  // where its record starts in the store file (room for 128 TB)
    int64_t ready : 8;
    int64_t gone : 8;     // 1 once deleted; gone tracks are dropped when many are
    int32_t sourceId = 0;
    uint32_t genre = 0;   // texts, as positions for text()
    uint32_t artist = 0;
    uint32_t album = 0;
    uint32_t findText = 0;   // where its folded title and file name start in the find texts
    uint32_t findChars = 0;  // which kinds of character they hold (see findCharsOf)
    Track() : offset(0), ready(0), gone(0) {}
  };

  // True while it holds exactly the tracks a walk of the file finds.
  bool isInStep() const { return inStep_; }
  // Calls visit for each live track that carries the filter's values, in
  // file order.
  void forEachMatching(const TrackFilter& filter, const std::function<void(const Track&)>& visit) const;
  // Calls visit for each live track that every word of the find occurs in
  // (title, artist, album, genre or file name), in file order.
  void forEachFound(const FindWords& find, const std::function<void(const Track&)>& visit);
  std::string_view text(uint32_t position) const { return texts_.text(position); }
  size_t textCount() const { return texts_.size(); }
  size_t trackCount() const { return tracks_.size() - goneCount_; }

  // Sure only while in step.
  bool locate(int32_t id, int64_t* offset) const override;

  void restart() override;
  void inStep() override;
  void expectBytes(int64_t bytes) override;
  void recordLive(int64_t offset, int32_t id, const uint8_t* body, size_t length) override;
  void recordGone(int64_t offset) override;

 private:
  uint32_t internLike(std::string_view text, uint32_t likely);  // `likely` is checked first
  bool wanted(const std::optional<std::string>& value, uint32_t* position) const;
  std::vector<Track>::iterator find(int64_t offset);
  void markGone(Track& track);
  void addFindText(Track& track, std::string_view title, std::string_view fileName);
  size_t findTextLength(uint32_t start) const;
  void dropFindText(const Track& track);
  void compactFindTexts();
  struct WordProbe;
  bool holds(const Track& track, const WordProbe& probe) const;

  std::vector<Track> tracks_;  // ordered by offset
  size_t goneCount_ = 0;
  // Where the latest live record told with each id starts: a record
  // rewritten elsewhere is told again at its new place.
  std::unordered_map<int32_t, int64_t> offsets_;
  // Records flagged deleted since the index was filled: an id whose latest
  // record is among them has no live record. No offset is used twice
  // before the index restarts.
  std::unordered_set<int64_t> goneOffsets_;
  TextPool texts_;
  FoldedTexts foldedTexts_;  // the pool's texts, folded when a find first needs them
  // Each track's own find text: its folded title, a separator, its folded
  // file name and a closing null. A rewritten or dropped track leaves its
  // old text behind until the unused part is large enough to compact.
  // Positions are 32-bit: past 4 GB (far beyond what a 32-bit process can
  // hold) a track is found by its genre, artist and album only.
  std::string findTexts_;
  size_t unusedFindBytes_ = 0;
  bool inStep_ = false;
};

}  // namespace tuho
