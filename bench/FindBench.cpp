// Find over a large catalogue, as the find box runs it on each keystroke:
//   which tracks hold the text (the index's answer) against SQLite's ids of
//                         the tracks LIKE '%text%' finds over the same five
//                         texts, without an index; then the found tracks
//                         read whole, as the list gets them, against
//                         SQLite's rows
//   the index's live bytes per track, with and without the find texts
// Tracks are stored through the catalogue (storeTrack, no tag files: a
// million tagged files would take most of the time to write), then the
// catalogue is closed and opened again, so that the index is filled by the
// opening walk, as at startup.
//
// usage: find_bench [TRACK_COUNT]
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FindWords.h"
#include "catalogue/TrackIndex.h"
#include "catalogue/TrackRecord.h"
#include "catalogue/TrackFiles.h"
#include "platform/Alert.h"
#include "store/RecordCodec.h"
#ifdef TUHO_BENCH_SQLITE
#include "SqliteBaseline.h"
#endif

// Live heap bytes, to weigh the index that opening builds.
namespace {
std::atomic<long long> liveBytes{0};
}
void* operator new(size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  liveBytes += static_cast<long long>(malloc_usable_size(block));
  return block;
}
void operator delete(void* block) noexcept {
  if (!block) return;
  liveBytes -= static_cast<long long>(malloc_usable_size(block));
  std::free(block);
}
void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace {

using bench::fs::path;

// Words that titles, artists and albums are made of: some hold "lo" or
// "love", most do not, as in a real collection.
const char* const kWords[] = {
    "Love", "Blue",   "Night", "River", "Song",  "Heart",  "Light", "Rain",  "Fire",    "Slow",
    "Gold", "Road",   "Dream", "Stone", "Water", "Lonely", "Dance", "Moon",  "Summer",  "Home",
    "Wild", "Sweet",  "Dark",  "Glory", "Train", "Angel",  "Storm", "Ocean", "Winter",  "Sun",
    "Kiss", "Broken", "Crazy", "Time",  "Party", "Happy",  "Sky",   "Free",  "Morning", "Street",
};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

std::string words(unsigned seed, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    if (i) text += ' ';
    text += kWords[(seed >> 16) % kWordCount];
  }
  return text;
}

tuho::TrackItem track(int number, int sourceId) {
  tuho::TrackItem item;
  const std::string title = words(static_cast<unsigned>(number) * 2654435761u, 2 + number % 3);
  const int artist = number % 20000, album = number % 100000;
  item.tag.title = title;
  item.tag.artist = "The " + words(static_cast<unsigned>(artist) + 7u, 2) + " " + std::to_string(artist);
  item.tag.album = words(static_cast<unsigned>(album) + 99u, 2) + " " + std::to_string(album);
  item.tag.genre = std::string("Genre ") + kWords[number % 37];
  item.tag.trackNo = std::to_string(1 + number % 12);
  item.tag.comment = "";
  item.fileName = std::to_string(1 + number % 12) + " " + title + ".mp3";
  item.folder = "\\" + *item.tag.artist + "\\" + *item.tag.album;
  item.source.id = sourceId;
  return item;
}

struct Session {
  tuho::SourceList sources;
  tuho::Catalogue catalogue;
  explicit Session(const path& data) : catalogue((sources.load(data.string()), sources), data.string()) {
    catalogue.open();
  }
};

int addSource(const path& data) {
  tuho::SourceList sources;
  sources.load(data.string());
  tuho::SourceRef source;
  source.root = "/";
  source.folder = "music";
  source.name = "Bench";
  return sources.at(sources.add(source)).id;
}

// Each track's own find text: the folded title, a break, the folded file
// name and a closing null (folding keeps every byte's place). The opening
// walk's end trims the string to its size.
size_t findTextBlock(const std::vector<tuho::TrackItem>& tracks) {
  size_t bytes = 0;
  for (const tuho::TrackItem& item : tracks) bytes += 2 + item.tag.title->size() + item.fileName.size();
  return bytes + 1;
}

// An index of its own, told of each track's record as the opening walk tells
// the catalogue's: the index's part of a find, without reading the records.
void fillIndex(tuho::TrackIndex& index, const std::vector<tuho::TrackItem>& tracks) {
  int64_t offset = 0;
  for (const tuho::TrackItem& item : tracks) {
    const std::vector<uint8_t> record = tuho::encodeRecordBytes(tuho::trackRecord(item));
    index.recordLive(offset, item.id, record.data() + tuho::kRecordHeadBytes, record.size() - tuho::kRecordHeadBytes);
    offset += static_cast<int64_t>(record.size());
  }
  index.inStep();
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const path root = bench::fs::temp_directory_path() / ("tuho-find-bench-" + std::to_string(count));
  const path data = root / "data";
  bench::fs::remove_all(root);
  bench::fs::create_directories(data);
  tuho::AlertSink quiet;
  const int sourceId = addSource(data);
  std::vector<tuho::TrackItem> tracks;
  tracks.reserve(static_cast<size_t>(count));
  double storing = bench::seconds([&] {
    Session writer(data);
    for (int i = 0; i < count; ++i) {
      tracks.push_back(track(i, sourceId));
      tracks.back().id = writer.catalogue.storeTrack(tracks.back(), false);
    }
    writer.catalogue.close();
  });
  std::printf("tracks: %d (stored in %.1f s), medians of 5 runs\n", count, storing);

  const long long before = liveBytes;
  Session session(data);
  const double perTrack = static_cast<double>(liveBytes - before) / count;
  // Without the find texts an entry is 24 bytes, not 32, and there is no
  // find text block; every other part of the index is as it was.
  const double findPart = 8.0 + static_cast<double>(findTextBlock(tracks)) / count;
  std::printf("index after opening: %.1f bytes per track; without the find texts %.1f; ratio %.2fx\n", perTrack,
              perTrack - findPart, perTrack / (perTrack - findPart));

  // The first find folds the genres, artists and albums, and keeps them.
  const long long beforeFind = liveBytes;
  session.catalogue.findTracks("zzz");
  const double withFolded = perTrack + static_cast<double>(liveBytes - beforeFind) / count;
  std::printf("the catalogue after its first find: %.1f bytes per track; ratio %.2fx\n", withFolded,
              withFolded / (perTrack - findPart));

  tuho::TrackIndex index;
  const long long beforeIndex = liveBytes;
  index.expectBytes(static_cast<int64_t>(bench::fs::file_size(data / "Tuho.dat")));
  fillIndex(index, tracks);
  const double indexPerTrack = static_cast<double>(liveBytes - beforeIndex) / count;
  std::printf("the index alone: %.1f bytes per track; without the find texts %.1f; ratio %.2fx\n", indexPerTrack,
              indexPerTrack - findPart, indexPerTrack / (indexPerTrack - findPart));
#ifdef TUHO_BENCH_SQLITE
  bench::SqliteBaseline sqlite(tracks);
#else
  std::printf("(built without SQLite: no baseline)\n");
#endif
  // Each keystroke: which tracks hold the text (the index's answer, their
  // record offsets collected) against SQLite's ids of the same tracks; then
  // the found tracks read whole, as the list gets them, against SQLite's
  // rows with every column.
  const char* keystrokes[] = {"l", "lo", "lov", "love", "love blue", "love blue 1234"};
  for (const char* text : keystrokes) {
    const tuho::FindWords find = tuho::findWordsOf(text);
    std::vector<int64_t> offsets;
    double answer = bench::median(5, [&] {
      offsets.clear();
      index.forEachFound(find, [&](const tuho::TrackIndex::Track& track) { offsets.push_back(track.offset); });
    });
    size_t read = 0;
    double rows = bench::median(3, [&] { read = session.catalogue.findTracks(text).size(); });
    std::printf("find \"%s\": %zu tracks found in %.4f s, read whole in %.4f s (%zu)", text, offsets.size(), answer,
                rows, read);
#ifdef TUHO_BENCH_SQLITE
    size_t ids = 0, sqlRows = 0;
    double sqlIds = bench::median(3, [&] { ids = sqlite.findIds(find.words); });
    double sqlAll = bench::median(3, [&] { sqlRows = sqlite.find(find.words); });
    std::printf("; SQLite ids %.4f s (%zu), rows %.4f s (%zu): found %.3fx SQLite, read whole %.2fx", sqlIds, ids,
                sqlAll, sqlRows, answer / sqlIds, rows / sqlAll);
#endif
    std::printf("\n");
  }
  session.catalogue.close();
  bench::fs::remove_all(root);
  return 0;
}
