// The UI thread queries the catalogue while the worker scans it: every walk
// must see a consistent catalogue, never records from a cursor the other
// thread moved.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CatalogueFixture.h"

namespace tuho::test {
namespace {

class ConcurrencyTest : public CatalogueTest {};

TEST_F(ConcurrencyTest, QueriesDuringAScanSeeWholeConsistentCatalogues) {
  const int files = 300;
  for (int i = 0; i < files; ++i) putSong("Album " + std::to_string(i % 7) + "\\" + std::to_string(i) + ".mp3");
  SourceRef source = addSource("Mine", MEDIA_LOCAL_FOLDER);
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

}  // namespace
}  // namespace tuho::test
