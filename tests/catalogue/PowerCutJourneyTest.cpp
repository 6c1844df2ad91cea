// A power cut at any point of a scan, an edit, a rescan, setting tracks
// ready and a removal: the catalogue opened afterwards holds every track
// once, as it was before the command or as the command left it, and each
// file is catalogued at most once. A file that opening mends is one a raw
// read of the chain calls damaged.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CatalogueFixture.h"
#include "store/ChainScan.h"
#include "support/DiskModel.h"

namespace tuho::test {
namespace {

using Tracks = std::map<int, std::string>;

std::string valuesOf(const TrackItem& item) {
  const TrackTag& tag = item.tag;
  return item.folder + "\\" + item.fileName + "|" + std::to_string(item.recordSourceId) + "|" +
         std::to_string(item.ready) + "|" + tag.title.value_or("-") + "|" + tag.artist.value_or("-") + "|" +
         tag.album.value_or("-") + "|" + tag.genre.value_or("-") + "|" + tag.trackNo.value_or("-");
}

bool chainIsWhole(const std::string& path) {
  File file;
  if (!file.open(path, kAccessRead, kShareReadWrite, kOpenExisting)) return false;
  std::vector<uint8_t> body;
  return scanChain(file, kHeaderRecordOffset, body, [](const ChainRecord&, const uint8_t*, size_t) {}).whole();
}

class PowerCutJourney : public CatalogueTest {
 protected:
  std::string storePath() const { return dataDir.file("Tuho.dat"); }

  // Every track by id; a file catalogued twice or an id met twice fails.
  Tracks held(Catalogue& at, const std::string& where) {
    Tracks tracks;
    std::set<std::string> files;
    for (const TrackItem& item : at.listTracks(TrackFilter())) {
      EXPECT_TRUE(tracks.emplace(item.id, valuesOf(item)).second) << where << ": id " << item.id << " twice";
      EXPECT_TRUE(files.insert(item.folder + "\\" + item.fileName).second) << where << ": " << item.fileName;
    }
    return tracks;
  }

  // Runs the command on the open catalogue and checks every state a cut
  // during it can leave; the catalogue is open again afterwards, as the
  // command left it. Returns how many states there were.
  size_t everyCut(const char* name, const std::function<void()>& command) {
    const Tracks before = held(catalogue, name);
    std::set<Bytes> states;
    {
      FaultPlan plan;
      DiskModel disk(plan, storePath());
      command();
      catalogue.close();
      EXPECT_FALSE(catalogue.storeFailed()) << name;
      states = disk.states();
    }
    const Bytes end = readBytes(storePath());
    EXPECT_EQ(catalogue.open(), kOpenedExisting) << name;
    const Tracks done = held(catalogue, name);
    catalogue.close();
    EXPECT_NE(before, done) << name << " changed nothing";
    auto valueIn = [](const Tracks& tracks, int id) {
      auto it = tracks.find(id);
      return it == tracks.end() ? std::string("(none)") : it->second;
    };
    int number = 0;
    for (const Bytes& bytes : states) {
      const std::string where = std::string(name) + ", state " + std::to_string(++number);
      writeBytes(storePath(), bytes);
      const bool whole = chainIsWhole(storePath());
      AlertSink sink;
      Catalogue after(sources, dataDir.path());
      EXPECT_EQ(after.open(), kOpenedExisting) << where;
      EXPECT_EQ(sink.count() != 0, !whole) << where << ": the raw read was wrong";
      const Tracks found = held(after, where);
      after.close();
      EXPECT_FALSE(after.storeFailed()) << where;
      std::set<int> ids;
      for (const Tracks* side : {&before, &done, &found}) {
        for (const auto& entry : *side) ids.insert(entry.first);
      }
      for (int id : ids) {
        const std::string now = valueIn(found, id);
        EXPECT_TRUE(now == valueIn(before, id) || now == valueIn(done, id)) << where << ": id " << id << " is " << now;
      }
    }
    writeBytes(storePath(), end);
    EXPECT_EQ(catalogue.open(), kOpenedExisting) << name;
    return states.size();
  }
};

TEST_F(PowerCutJourney, EveryCommandLosesNothingAtEveryCut) {
  for (int i = 0; i < 8; ++i) {
    putSong("Rock\\" + std::to_string(i) + ".mp3",
            SongTag{"Song number " + std::to_string(i), "Band", "First", 17, i + 1});
  }
  const SourceRef rock = addSource("Rock", MediaType::kLocalFolder);
  ASSERT_TRUE(sources.save());
  size_t states = everyCut("scan", [&] { EXPECT_EQ(scan(rock), 1); });
  const TrackItem third = trackNamed("3.mp3");
  states += everyCut("edit", [&] {
    TrackItem edited = third;
    edited.tag.title = std::string(300, 't');  // moves the record
    EXPECT_EQ(catalogue.updateTrack(edited), third.id);
    // In place, each record changed from its first text to its last.
    for (const char* file : {"0.mp3", "4.mp3", "5.mp3", "7.mp3"}) {
      TrackItem renamed = trackNamed(file);
      renamed.tag.title = "Renamed " + std::string(file);
      renamed.tag.trackNo = "9";
      EXPECT_EQ(catalogue.updateTrack(renamed), renamed.id);
    }
  });
  states += everyCut("ready", [&] {
    for (const char* file : {"1.mp3", "6.mp3"}) EXPECT_NE(catalogue.setReady(trackNamed(file).id, 1), 0);
  });
  auto idsOf = [&](std::initializer_list<const char*> files) {
    std::vector<int> ids{9999};  // no such track
    for (const char* file : files) ids.push_back(trackNamed(file).id);
    return ids;
  };
  TagChange longer;
  longer.title = std::string(600, 'v');  // moves every record
  states += everyCut("bulk edit, moving", [&] {
    EXPECT_EQ(catalogue.updateTagsMany(idsOf({"3.mp3", "1.mp3", "6.mp3"}), longer).size(), 3u);
  });
  longer.title = std::string(700, 'w');  // in place across sectors, but 2.mp3 moves
  states += everyCut("bulk edit, in place", [&] {
    EXPECT_EQ(catalogue.updateTagsMany(idsOf({"3.mp3", "2.mp3", "1.mp3"}), longer).size(), 3u);
  });
  TagChange album;
  album.album = "Other";  // in place, within one sector
  states += everyCut("bulk edit, one value", [&] {
    EXPECT_EQ(catalogue.updateTagsMany(idsOf({"0.mp3", "4.mp3", "0.mp3"}), album).size(), 2u);
  });
  removeSong("Rock\\2.mp3");
  putSong("Rock\\New\\8.mp3", SongTag{"Late", "Band", "Second", 17, 1});
  states += everyCut("rescan", [&] { EXPECT_EQ(scan(rock, true), 1); });
  states += everyCut("remove", [&] { EXPECT_GT(catalogue.removeSource(rock.id), 0); });
  EXPECT_GT(states, 60u);
}

}  // namespace
}  // namespace tuho::test
