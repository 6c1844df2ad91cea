#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "CatalogueFixture.h"
#include "catalogue/PlayHandOff.h"
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
  // Folder tracks named song<first>.mp3 onwards, their ids in that order.
  std::vector<int> storeSongs(const SourceRef& source, int first, int count) {
    std::vector<int> ids;
    for (int i = first; i < first + count; ++i) {
      TrackItem item;
      item.fileName = "song" + std::to_string(i) + ".mp3";
      item.folder = "\\Album";
      item.source = source;
      ids.push_back(catalogue.storeTrack(item, false));
    }
    return ids;
  }
  // "verb file" for each request so far.
  std::vector<std::string> handed() const {
    std::vector<std::string> lines;
    for (const ShellRequest& request : shell.requests()) lines.push_back(request.verb + " " + request.file);
    return lines;
  }
  static bool waitIdle(const PlayHandOff& handOff) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (handOff.busy() && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return !handOff.busy();
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

// The hand-off runs on its own thread: in list order, a new "Play" drops
// what still waits (the player starts afresh with it), an enqueue waits its
// turn, and stopping ends at once with nothing handed over afterwards.
TEST_F(PlayTest, TheHandOffKeepsOrderLetsAPlayReplaceWhatWaitsAndStopsAtOnce) {
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  std::vector<int> ids = storeSongs(source, 0, 60);
  PlayHandOff handOff(catalogue);
  EXPECT_TRUE(handOff.ended());
  handOff.request({ids[2], ids[0], ids[1]}, false, 9);
  ASSERT_TRUE(waitIdle(handOff));
  EXPECT_EQ(handed(), (std::vector<std::string>{"Play song2.mp3", "Enqueue song0.mp3", "Enqueue song1.mp3"}));
  EXPECT_EQ(shell.requests()[0].owner, 9);

  // Slow requests: 40 enqueues and 2 more behind them, then a play of two.
  shell.setDelay(20);
  handOff.request(std::vector<int>(ids.begin() + 10, ids.begin() + 50), true, 9);
  while (handed().size() < 4) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  handOff.request({ids[50], ids[51]}, true, 9);
  handOff.request({ids[5], ids[6]}, false, 9);
  ASSERT_TRUE(waitIdle(handOff));
  std::vector<std::string> lines = handed();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_LT(lines.size(), 3u + 42u) << "what waited was dropped";
  EXPECT_EQ(lines[3], "Enqueue song10.mp3");
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
            (std::vector<std::string>{"Play song5.mp3", "Enqueue song6.mp3"}));
  for (const std::string& line : lines) EXPECT_NE(line, "Enqueue song50.mp3");

  // An enqueue-only request behind another waits, both whole and in order.
  shell.setDelay(1);
  size_t before = handed().size();
  handOff.request({ids[20], ids[21]}, true, 9);
  handOff.request({ids[22]}, true, 9);
  ASSERT_TRUE(waitIdle(handOff));
  lines = handed();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(before), lines.end()),
            (std::vector<std::string>{"Enqueue song20.mp3", "Enqueue song21.mp3", "Enqueue song22.mp3"}));

  // Stopping mid-hand-off returns within one request's time.
  shell.setDelay(20);
  handOff.request(std::vector<int>(ids.begin(), ids.begin() + 50), false, 9);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  auto start = std::chrono::steady_clock::now();
  handOff.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_TRUE(handOff.ended());
  size_t atStop = handed().size();
  EXPECT_LT(atStop, before + 3 + 50);
  handOff.request({ids[0]}, false, 9);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(handed().size(), atStop) << "nothing is handed over after a stop";
}

}  // namespace
}  // namespace tuho::test
