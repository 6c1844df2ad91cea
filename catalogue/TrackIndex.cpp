#include "catalogue/TrackIndex.h"

#include <algorithm>
#include <cstring>
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

// Bytes no folded text holds (folding turns every control character into
// a space): one parts a title from its file name, one ends each find text.
constexpr char kFieldBreak = '\2';
constexpr char kTextEnd = '\0';

// Where a track without a find text points: it has none.
constexpr uint32_t kNoFindText = std::numeric_limits<uint32_t>::max();

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
  foldedTexts_.clear();
  std::string().swap(findTexts_);
  unusedFindBytes_ = 0;
  inStep_ = false;
}

// The opening walk told every record: the find texts give back the room
// their doubling left, a good part of a large index.
void TrackIndex::inStep() {
  if (!inStep_) findTexts_.shrink_to_fit();
  inStep_ = true;
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
  addFindText(track, keys.title, keys.fileName);
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

void TrackIndex::addFindText(Track& track, std::string_view title, std::string_view fileName) {
  const size_t start = findTexts_.size();
  if (start + title.size() + fileName.size() + 2 >= kNoFindText) {
    track.findText = kNoFindText;
    track.findChars = 0;
    return;
  }
  appendFolded(findTexts_, title);
  const size_t fileStart = findTexts_.size() + 1;
  findTexts_.push_back(kFieldBreak);
  appendFolded(findTexts_, fileName);
  findTexts_.push_back(kTextEnd);
  const std::string_view all(findTexts_);
  track.findText = static_cast<uint32_t>(start);
  track.findChars = findCharsOf(all.substr(start, fileStart - 1 - start)) |
                    findCharsOf(all.substr(fileStart, findTexts_.size() - 1 - fileStart));
}

// Up to and with its closing null.
size_t TrackIndex::findTextLength(uint32_t start) const {
  if (start == kNoFindText) return 0;
  return std::char_traits<char>::length(findTexts_.data() + start) + 1;
}

void TrackIndex::dropFindText(const Track& track) { unusedFindBytes_ += findTextLength(track.findText); }

void TrackIndex::compactFindTexts() {
  if (unusedFindBytes_ < kUnusedBeforeCompact || unusedFindBytes_ * 2 < findTexts_.size()) return;
  std::string kept;
  kept.reserve(findTexts_.size() - unusedFindBytes_);
  for (Track& track : tracks_) {
    if (track.gone) {
      track.findText = kNoFindText;  // its text went before: nothing finds a gone track
      continue;
    }
    if (track.findText == kNoFindText) continue;
    const size_t length = findTextLength(track.findText);
    const auto start = static_cast<uint32_t>(kept.size());
    kept.append(findTexts_, track.findText, length);
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

// A word of a find, with what is worked out once for all tracks: which
// kinds of character it holds, whether those alone tell (one letter), and
// which pooled texts (genres, artists, albums) hold it.
struct TrackIndex::WordProbe {
  const std::string* word;
  uint32_t chars;
  bool charsSuffice;
  std::vector<uint8_t> pooled;
};

// A track holds a word when one of its pooled texts does, or its own
// find text does; the kinds of character rule most tracks out before any
// text is searched.
bool TrackIndex::holds(const Track& track, const WordProbe& probe) const {
  if (probe.pooled[track.genre] || probe.pooled[track.artist] || probe.pooled[track.album]) return true;
  if ((track.findChars & probe.chars) != probe.chars || track.findText == kNoFindText) return false;
  if (probe.charsSuffice) return true;
  return std::strstr(findTexts_.data() + track.findText, probe.word->c_str()) != nullptr;
}

// One pass over the tracks, each checked word by word.
void TrackIndex::forEachFound(const FindWords& find, const std::function<void(const Track&)>& visit) {
  if (find.empty()) return;
  foldedTexts_.catchUp(texts_);
  std::vector<WordProbe> probes;
  for (const std::string& word : find.words) {
    const uint32_t chars = findCharsOf(word);
    probes.push_back({&word, chars, findCharsSuffice(word), foldedTexts_.holding(word, chars)});
  }
  for (const Track& track : tracks_) {
    if (track.gone) continue;
    bool all = true;
    for (const WordProbe& probe : probes) {
      if (!holds(track, probe)) {
        all = false;
        break;
      }
    }
    if (all) visit(track);
  }
}

}  // namespace tuho
