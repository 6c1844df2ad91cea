#include "catalogue/TrackIndex.h"

#include <algorithm>
#include <limits>

#include "catalogue/TrackRecord.h"
#include "store/RecordCodec.h"

namespace tuho {
namespace {

static_assert(sizeof(TrackIndex::Track) == 32, "an index entry is four words");

constexpr uint32_t kAnyText = std::numeric_limits<uint32_t>::max();

// No track record is smaller: eight texts of at most one byte and two integers.
constexpr int64_t kSmallestTrackRecord = kRecordHeadBytes + 8 * (4 + 14) + 2 * (4 + kIntBlockLength);
// A damaged or foreign file may be large for what it holds: room made ahead
// is bounded (8 MB), and a larger catalogue grows beyond it.
constexpr int64_t kMostReserved = 262144;

// Gone tracks are dropped in one pass once they are this many and outnumber
// the live ones, so that removing a whole source costs no more than a walk.
constexpr size_t kGoneBeforeDrop = 1024;

bool carries(uint32_t text, uint32_t wanted) { return wanted == kAnyText || text == wanted; }

// The bytes of the find texts that are not folded text: folding turns
// every control character into a space, so no word and no text holds them.
constexpr char kUnmarked = '\0';
constexpr char kMarked = '\1';
constexpr char kFieldBreak = '\2';
bool isMarkByte(char c) { return c == kUnmarked || c == kMarked; }

// Compacting copies every live text: worth it once the unused part is
// large and at least as large as the rest.
constexpr size_t kUnusedBeforeCompact = size_t{1} << 16;

}  // namespace

void TrackIndex::restart() {
  std::vector<Track>().swap(tracks_);
  std::unordered_map<int32_t, int64_t>().swap(offsets_);
  std::unordered_set<int64_t>().swap(goneOffsets_);
  goneCount_ = 0;
  texts_.clear();
  std::string().swap(findTexts_);
  unusedFindBytes_ = 0;
  inStep_ = false;
}

// Growing one entry at a time would copy the entries of a large catalogue
// many times over.
void TrackIndex::expectBytes(int64_t bytes) {
  if (bytes <= 0) return;
  const auto expected = static_cast<size_t>(std::min(bytes / kSmallestTrackRecord, kMostReserved));
  tracks_.reserve(expected);
  offsets_.reserve(expected);
}

bool TrackIndex::locate(int32_t id, int64_t* offset) const {
  if (!inStep_) return false;
  auto found = offsets_.find(id);
  const bool live = found != offsets_.end() && !goneOffsets_.count(found->second);
  *offset = live ? found->second : -1;
  return true;
}

uint32_t TrackIndex::internLike(std::string_view text, uint32_t likely) {
  if (likely != kAnyText && texts_.text(likely) == text) return likely;
  return texts_.intern(text);
}

std::vector<TrackIndex::Track>::iterator TrackIndex::find(int64_t offset) {
  return std::lower_bound(tracks_.begin(), tracks_.end(), offset,
                          [](const Track& track, int64_t wanted) { return track.offset < wanted; });
}

void TrackIndex::markGone(Track& track) {
  if (track.gone) return;
  track.gone = 1;
  ++goneCount_;
  dropFindText(track);
}

// A new record comes after every other; one rewritten in place replaces the
// track at its offset, or ends it when it is no longer a track.
void TrackIndex::recordLive(int64_t offset, int32_t id, const uint8_t* body, size_t length) {
  offsets_[id] = offset;
  TrackKeys keys;
  const bool isTrack = trackKeysFromBody(body, length, &keys);
  // Records come in file order at opening and new ones at the end.
  const bool last = tracks_.empty() || offset > tracks_.back().offset;
  auto at = last ? tracks_.end() : find(offset);
  const bool known = at != tracks_.end() && at->offset == offset;
  if (!isTrack) {
    if (known) markGone(*at);
    return;
  }
  // Tracks are stored folder by folder, so a track mostly shares its texts
  // with the one stored before it: compare with those before hashing.
  const Track* before = tracks_.empty() ? nullptr : &tracks_.back();
  Track track;
  track.offset = offset;
  track.sourceId = keys.sourceId;
  track.genre = internLike(keys.genre, before ? before->genre : kAnyText);
  track.artist = internLike(keys.artist, before ? before->artist : kAnyText);
  track.album = internLike(keys.album, before ? before->album : kAnyText);
  track.ready = static_cast<uint8_t>(keys.ready);
  track.findText = addFindText(keys.title, keys.fileName);
  if (!known) {
    tracks_.insert(at, track);
    return;
  }
  if (at->gone) {
    --goneCount_;
  } else {
    dropFindText(*at);
  }
  *at = track;
  compactFindTexts();
}

void TrackIndex::recordGone(int64_t offset) {
  goneOffsets_.insert(offset);
  auto at = find(offset);
  if (at == tracks_.end() || at->offset != offset) return;
  markGone(*at);
  if (goneCount_ < kGoneBeforeDrop || goneCount_ * 2 < tracks_.size()) return;
  tracks_.erase(std::remove_if(tracks_.begin(), tracks_.end(), [](const Track& track) { return track.gone; }),
                tracks_.end());
  goneCount_ = 0;
  compactFindTexts();
}

int64_t TrackIndex::addFindText(std::string_view title, std::string_view fileName) {
  const auto start = static_cast<int64_t>(findTexts_.size());
  findTexts_.push_back(kUnmarked);
  appendFolded(findTexts_, title);
  findTexts_.push_back(kFieldBreak);
  appendFolded(findTexts_, fileName);
  return start;
}

// From the mark byte to the next one, or to the end.
size_t TrackIndex::findTextLength(int64_t start) const {
  const auto from = static_cast<size_t>(start);
  size_t end = from + 1;
  while (end < findTexts_.size() && !isMarkByte(findTexts_[end])) ++end;
  return end - from;
}

void TrackIndex::dropFindText(const Track& track) { unusedFindBytes_ += findTextLength(track.findText); }

void TrackIndex::compactFindTexts() {
  if (unusedFindBytes_ < kUnusedBeforeCompact || unusedFindBytes_ * 2 < findTexts_.size()) return;
  std::string kept;
  kept.reserve(findTexts_.size() - unusedFindBytes_);
  for (Track& track : tracks_) {
    if (track.gone) {
      track.findText = 0;  // its text went before: nothing finds a gone track
      continue;
    }
    const size_t length = findTextLength(track.findText);
    const auto start = static_cast<int64_t>(kept.size());
    kept.append(findTexts_, static_cast<size_t>(track.findText), length);
    track.findText = start;
  }
  findTexts_.swap(kept);
  unusedFindBytes_ = 0;
}

// The position of a wanted text, kAnyText when the filter leaves it open;
// false when no track carries it.
bool TrackIndex::wanted(const std::optional<std::string>& value, uint32_t* position) const {
  *position = kAnyText;
  if (!value) return true;
  std::optional<uint32_t> found = texts_.find(*value);
  if (!found) return false;
  *position = *found;
  return true;
}

void TrackIndex::forEachMatching(const TrackFilter& filter, const std::function<void(const Track&)>& visit) const {
  uint32_t genre = kAnyText, artist = kAnyText, album = kAnyText;
  if (!wanted(filter.genre, &genre) || !wanted(filter.artist, &artist) || !wanted(filter.album, &album)) return;
  for (const Track& track : tracks_) {
    if (!track.gone && carries(track.genre, genre) && carries(track.artist, artist) && carries(track.album, album) &&
        (!filter.sourceId || track.sourceId == *filter.sourceId)) {
      visit(track);
    }
  }
}

// Genres, artists and albums are few beside the tracks: each distinct text
// is looked at once per word.
std::vector<uint8_t> TrackIndex::pooledTextsHolding(const std::string& word) const {
  std::vector<uint8_t> holds(texts_.size(), 0);
  std::string folded;
  for (size_t position = 0; position < holds.size(); ++position) {
    folded.clear();
    appendFolded(folded, texts_.text(static_cast<uint32_t>(position)));
    holds[position] = holdsWord(folded, word) ? 1 : 0;
  }
  return holds;
}

// One search through all the tracks' own texts at once; each text with a
// hit gets its mark byte set. Returns the marked bytes, to be cleared.
std::vector<int64_t> TrackIndex::markFindTextsHolding(const std::string& word) {
  std::vector<int64_t> marked;
  const std::string_view all(findTexts_);
  for (size_t hit = all.find(word); hit != std::string_view::npos; hit = all.find(word, hit + 1)) {
    size_t start = hit;
    while (!isMarkByte(findTexts_[start])) --start;  // every text begins with its mark byte
    if (findTexts_[start] == kMarked) continue;
    findTexts_[start] = kMarked;
    marked.push_back(static_cast<int64_t>(start));
  }
  return marked;
}

// Word by word, each narrowing the tracks the one before left.
void TrackIndex::forEachFound(const FindWords& find, const std::function<void(const Track&)>& visit) {
  if (find.empty()) return;
  std::vector<const Track*> found;
  found.reserve(trackCount());
  for (const Track& track : tracks_) {
    if (!track.gone) found.push_back(&track);
  }
  for (const std::string& word : find.words) {
    if (found.empty()) break;
    const std::vector<uint8_t> pooled = pooledTextsHolding(word);
    const std::vector<int64_t> marked = markFindTextsHolding(word);
    size_t kept = 0;
    for (const Track* track : found) {
      if (pooled[track->genre] || pooled[track->artist] || pooled[track->album] ||
          findTexts_[static_cast<size_t>(track->findText)] == kMarked) {
        found[kept++] = track;
      }
    }
    found.resize(kept);
    for (int64_t at : marked) findTexts_[static_cast<size_t>(at)] = kUnmarked;
  }
  for (const Track* track : found) visit(*track);
}

}  // namespace tuho
