#include <gtest/gtest.h>

#include "CatalogueFixture.h"
#include "platform/Shell.h"

namespace tuho::test {
namespace {

class PlayTest : public CatalogueTest {
 protected:
  int storeSong(const SourceRef& source, int ready, const std::string& folder = "\\Album") {
    TrackItem item;
    item.fileName = "song.mp3";
    item.folder = folder;
    item.source = source;
    item.ready = ready;
    return catalogue.storeTrack(item, false);
  }
  ShellRecorder shell;
};

TEST_F(PlayTest, AFolderTrackPlaysWhereItIs) {
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  catalogue.playTrack(storeSong(source, 0), 77);
  ASSERT_EQ(shell.requests().size(), 1u);
  ShellRequest request = shell.requests()[0];
  EXPECT_EQ(request.verb, "Play");
  EXPECT_EQ(request.file, "song.mp3");
  EXPECT_EQ(request.directory, source.root + source.folder + "\\Album");
  EXPECT_EQ(request.owner, 77);
}

TEST_F(PlayTest, ADiscTrackPlaysOnlyFromItsCopy) {
  SourceRef cd = addSource("CD", MediaType::kWriteOnce);
  SourceRef udf = addSource("UDF", MediaType::kRewritable);
  catalogue.enqueueTrack(storeSong(cd, 1), 0);
  catalogue.enqueueTrack(storeSong(cd, 0), 0);
  catalogue.enqueueTrack(storeSong(udf, 1, ""), 0);
  ASSERT_EQ(shell.requests().size(), 2u);
  EXPECT_EQ(shell.requests()[0].verb, "Enqueue");
  EXPECT_EQ(shell.requests()[0].directory, dataDir.path() + "\\Copies\\" + std::to_string(cd.id) + "\\Album");
  EXPECT_EQ(shell.requests()[1].directory, dataDir.path() + "\\Copies\\" + std::to_string(udf.id));
}

TEST_F(PlayTest, ATrackWhoseSourceIsGoneIsNotPlayedFromItsSource) {
  SourceRef source = addSource("Gone", MediaType::kLocalFolder);
  int id = storeSong(source, 0);
  sources.removeById(source.id);
  catalogue.playTrack(id, 0);
  catalogue.playTrack(12345, 0);
  EXPECT_TRUE(shell.requests().empty());
}

}  // namespace
}  // namespace tuho::test
