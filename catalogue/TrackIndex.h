// The grouping fields of every track in the catalogue store (id, source,
// genre, artist, album, ready) in file order, kept in memory and in step
// with the file by the store's notices, so that the browsing queries need
// not walk and decode the whole file. Each distinct text is held once.
// The owner guards it with the same lock as the store.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/TrackFilter.h"
#include "store/RecordObserver.h"

namespace tuho {

class TrackIndex : public RecordObserver {
 public:
  struct Track {
    int64_t offset = 0;  // where its record starts in the store file
    int32_t id = 0;
    int32_t sourceId = 0;
    uint32_t genre = 0;  // texts, as positions for text()
    uint32_t artist = 0;
    uint32_t album = 0;
    uint8_t ready = 0;
    bool gone = false;   // deleted since; dropped when many are
  };

  // True while it holds exactly the tracks a walk of the file finds.
  bool isInStep() const { return inStep_; }
  // Calls visit for each live track that carries the filter's values, in
  // file order.
  void forEachMatching(const TrackFilter& filter, const std::function<void(const Track&)>& visit) const;
  const std::string& text(uint32_t position) const { return texts_[position]; }
  size_t trackCount() const { return tracks_.size() - goneCount_; }

  void restart() override;
  void inStep() override { inStep_ = true; }
  void expectBytes(int64_t bytes) override;
  void recordLive(int64_t offset, int32_t id, const uint8_t* body, size_t length) override;
  void recordGone(int64_t offset) override;

 private:
  uint32_t intern(std::string_view text);
  uint32_t internLike(std::string_view text, uint32_t likely);  // `likely` is checked first
  bool wanted(const std::optional<std::string>& value, uint32_t* position) const;
  std::vector<Track>::iterator find(int64_t offset);
  void markGone(Track& track);

  std::vector<Track> tracks_;  // ordered by offset
  size_t goneCount_ = 0;
  std::deque<std::string> texts_;  // never moves its strings, so views of them stay good
  std::unordered_map<std::string_view, uint32_t> positions_;
  bool inStep_ = false;
};

}  // namespace tuho
