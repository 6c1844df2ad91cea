// A catalogue in a temporary data folder beside a temporary music folder,
// and the verbs the engine tests are written in: put an MP3 file with a
// given tag, register a source, scan, list.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "platform/Alert.h"
#include "support/BoxedStores.h"
#include "support/TestFiles.h"

namespace tuho::test {

// Records what a job reports.
struct JobLog {
  std::vector<std::string> files;
  std::vector<int> counts;
  JobEvents events();
};

class CatalogueTest : public ::testing::Test {
 protected:
  CatalogueTest();
  ~CatalogueTest() override;

  // Writes <music>\<relative> (folders made as needed) with an ID3v1 tag.
  std::string putSong(const std::string& relative, const SongTag& tag = SongTag{"Title", "Artist", "Album", 17, 1});
  void removeSong(const std::string& relative);
  std::string music(const std::string& relative = "") const;

  // Registers the music folder (or a folder below it) as a source.
  SourceRef addSource(const std::string& name, MediaType kind, const std::string& relative = "");
  int scan(const SourceRef& source, bool rescan = false);
  std::vector<TrackItem> tracks(const TrackFilter& filter = TrackFilter());
  std::vector<std::string> fileNames(const TrackFilter& filter = TrackFilter());
  TrackItem trackNamed(const std::string& fileName);

  AlertSink alerts;
  TempDir dataDir;
  TempDir musicDir;
  BoxedSourceList sources;
  Catalogue catalogue;
  JobLog log;
};

}  // namespace tuho::test
