// The UI thread queries the catalogue while the worker scans it: every walk
// must see a consistent catalogue, never records from a cursor the other
// thread moved.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "CatalogueFixture.h"
#include "catalogue/LatestProgress.h"

namespace tuho::test {
namespace {

class ConcurrencyTest : public CatalogueTest {};

TEST_F(ConcurrencyTest, QueriesDuringAScanSeeWholeConsistentCatalogues) {
  const int files = 300;
  for (int i = 0; i < files; ++i) putSong("Album " + std::to_string(i % 7) + "\\" + std::to_string(i) + ".mp3");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    catalogue.scanSource(source, false, JobEvents());
    catalogue.scanSource(source, true, JobEvents());
    done = true;
  });
  size_t lastCount = 0;
  int walks = 0;
  bool consistent = true;
  while (!done || walks == 0) {
    std::vector<TrackItem> seen = catalogue.listTracks(TrackFilter());
    // Ids rise strictly along the file and the catalogue only grows here.
    for (size_t i = 1; i < seen.size(); ++i) consistent = consistent && seen[i - 1].id < seen[i].id;
    for (const TrackItem& item : seen) consistent = consistent && item.source.id == source.id;
    consistent = consistent && seen.size() >= lastCount;
    lastCount = seen.size();
    catalogue.groupValues(TrackFilter(), LEVEL_ARTIST);
    ++walks;
  }
  worker.join();
  EXPECT_TRUE(consistent);
  EXPECT_EQ(catalogue.listTracks(TrackFilter()).size(), static_cast<size_t>(files));
}

// The UI thread adds and removes media sources (the Media Store) while a
// job on the worker names each track's source and copies the entry its
// request points at: the list is read and changed under one lock.
TEST_F(ConcurrencyTest, TheSourceListChangesWhileAJobReadsIt) {
  for (int i = 0; i < 20; ++i) putSong(std::to_string(i) + ".mp3");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  ASSERT_EQ(scan(source), 1);
  const SourceRef* requested = sources.entry(sources.indexOfId(source.id));
  std::atomic<bool> done{false};
  bool named = true;
  std::thread worker([&] {
    for (int round = 0; round < 100; ++round) {
      for (const TrackItem& item : catalogue.listTracks(TrackFilter())) named = named && item.source.name == "Mine";
      named = named && catalogue.sourceEntry(requested).name == "Mine";
    }
    done = true;
  });
  int changes = 0;
  while (!done) {
    SourceRef other;
    other.name = "Other " + std::to_string(changes);
    other.root = "C:";
    int index = sources.add(other);
    if (index <= 0) {
      ADD_FAILURE() << "the list refused a second source";
      break;
    }
    int id = sources.at(index).id;
    EXPECT_TRUE(sources.removeById(id));
    ++changes;
  }
  worker.join();
  EXPECT_TRUE(named);
  EXPECT_GT(changes, 0);
  EXPECT_EQ(sources.count(), 1);
}

// A worker reports each file of a scan while the window reads its notices
// at its own pace: never more than one notice waits, each read shows the
// latest progress stored, and the last progress is there to read at the end.
TEST(LatestProgressTest, AtMostOneNoticeWaitsAndTheLastProgressIsRead) {
  LatestProgress latest;
  std::atomic<int> waiting{0}, mostWaiting{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int count = 1; count <= 20000; ++count) {
      if (!latest.store("file " + std::to_string(count), count)) continue;
      const int now = ++waiting;
      if (now > mostWaiting) mostWaiting = now;
    }
    done = true;
  });
  int lastRead = 0;
  auto read = [&] {
    std::string name;
    int count = 0;
    if (!latest.take(&name, &count)) return;
    EXPECT_GT(count, lastRead);
    EXPECT_EQ(name, "file " + std::to_string(count));
    lastRead = count;
  };
  while (!done) {
    if (waiting.load() == 0) continue;
    --waiting;
    read();
  }
  worker.join();
  read();  // the end of the job reads whatever is left
  EXPECT_EQ(mostWaiting.load(), 1);
  EXPECT_EQ(lastRead, 20000);
}

}  // namespace
}  // namespace tuho::test
