#include <gtest/gtest.h>

#include <filesystem>

#include "CatalogueFixture.h"
#include "platform/FaultPlan.h"
#include "platform/FileSystem.h"
#include "platform/Win32Error.h"

namespace tuho::test {
namespace {

class ReadyTest : public CatalogueTest {
 protected:
  // Scans the music folder (or a folder below it) as a source of this kind.
  SourceRef scanned(const std::string& name, MediaType kind, const std::string& relative = "") {
    SourceRef source = addSource(name, kind, relative);
    scan(source);
    return source;
  }
  IdList idsOf(const std::vector<std::string>& fileNames) {
    IdList ids;
    for (const std::string& name : fileNames) ids.append(trackNamed(name).id);
    return ids;
  }
  // The source's copy of a file below the source's folder.
  std::string copied(const SourceRef& source, const std::string& relative) const {
    std::string path = dataDir.path() + "/Copies/" + std::to_string(source.id) + "/" + relative;
#ifdef _WIN32
    for (char& c : path) if (c == '/') c = '\\';
#endif
    return path;
  }
  JobEvents locateAt(std::optional<std::string> answer) {
    JobEvents events = log.events();
    events.locateVolume = [this, answer](const SourceRef& source, const std::string&) {
      asked.push_back(source.name);
      return answer;
    };
    return events;
  }
  std::vector<std::string> asked;
};

TEST_F(ReadyTest, OnlyNotReadyDiscTracksAreCopied) {
  putSong("Folder\\folder.mp3");
  putSong("Disc\\Album\\ready.mp3");
  putSong("Disc\\Album\\fresh.mp3");
  scanned("Folder", MediaType::kLocalFolder, "Folder");
  SourceRef disc = scanned("Disc", MediaType::kWriteOnce, "Disc");
  TrackItem ready = trackNamed("ready.mp3");
  ready.ready = 1;
  catalogue.updateTrack(ready);
  log = JobLog();
  IdList result = catalogue.copyReadyJob(idsOf({"folder.mp3", "ready.mp3", "fresh.mp3"}), log.events());
  EXPECT_EQ(result.entries[0].mark, 0);
  EXPECT_EQ(result.entries[1].mark, 0);
  EXPECT_EQ(result.entries[2].mark, 1);
  EXPECT_EQ(log.counts, std::vector<int>{0});
  EXPECT_EQ(trackNamed("fresh.mp3").ready, 1);
  EXPECT_TRUE(exists(copied(disc, "Album/fresh.mp3")));
  EXPECT_FALSE(exists(copied(disc, "Album/ready.mp3")));
}

TEST_F(ReadyTest, RewritableDiscTracksAreCopiedToo) {
  putSong("Udf\\song.mp3");
  SourceRef udf = scanned("Udf", MediaType::kRewritable, "Udf");
  IdList result = catalogue.copyReadyJob(idsOf({"song.mp3"}), log.events());
  EXPECT_EQ(result.entries[0].mark, 1);
  EXPECT_TRUE(exists(copied(udf, "song.mp3")));
}

TEST_F(ReadyTest, AMovedDiscIsLocatedByTheUser) {
  putSong("Disc\\Album\\song.mp3");
  SourceRef disc = scanned("Disc", MediaType::kWriteOnce, "Disc");
  std::filesystem::rename(music("Disc"), music("Moved"));
  IdList result = catalogue.copyReadyJob(idsOf({"song.mp3"}), locateAt(music("Moved") + "\\"));
  EXPECT_EQ(asked, std::vector<std::string>{"Disc"});
  EXPECT_EQ(result.entries[0].mark, 1);
  EXPECT_TRUE(exists(copied(disc, "Album/song.mp3")));
}

// The job reads the track, then waits for the volume; the user edits the
// track's tags and deletes another meanwhile. The mark joins the edit, and
// the deleted track is not written back.
TEST_F(ReadyTest, EditsAndDeletionsMadeWhileTheJobWaitsForTheVolumeStand) {
  putSong("Disc\\Album\\a.mp3");
  putSong("Disc\\Album\\b.mp3");
  scanned("Disc", MediaType::kWriteOnce, "Disc");
  std::filesystem::rename(music("Disc"), music("Moved"));
  int editedId = trackNamed("a.mp3").id;
  int deletedId = trackNamed("b.mp3").id;
  JobEvents events = log.events();
  events.locateVolume = [&](const SourceRef&, const std::string&) -> std::optional<std::string> {
    TagChange change;
    change.artist = "Edited Meanwhile";
    EXPECT_EQ(catalogue.updateTags(editedId, change), editedId);
    EXPECT_TRUE(catalogue.deleteTrack(deletedId));
    return music("Moved") + "\\";
  };
  IdList ids;
  ids.append(editedId);
  ids.append(deletedId);
  IdList result = catalogue.copyReadyJob(ids, events);
  EXPECT_EQ(result.entries[0].mark, 1);
  EXPECT_EQ(result.entries[1].mark, 0);
  TrackItem edited = catalogue.readTrack(editedId);
  EXPECT_EQ(edited.ready, 1);
  EXPECT_EQ(edited.tag.artist, "Edited Meanwhile");
  EXPECT_EQ(catalogue.setReady(deletedId, 1), 0);
  EXPECT_EQ(catalogue.updateTags(deletedId, TagChange()), 0);
  EXPECT_EQ(edited.tag.album, "Album");  // fields the edit did not name stay
  EXPECT_TRUE(catalogue.readTrack(deletedId).isEmpty());
}

TEST_F(ReadyTest, CancellingTheLocateQuestionStopsTheJob) {
  putSong("Disc\\a.mp3");
  putSong("Disc\\b.mp3");
  scanned("Disc", MediaType::kWriteOnce, "Disc");
  std::filesystem::rename(music("Disc"), music("Moved"));
  IdList result = catalogue.copyReadyJob(idsOf({"a.mp3", "b.mp3"}), locateAt(std::nullopt));
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(result.entries[0].mark, 0);
  EXPECT_EQ(result.entries[1].mark, 0);
  EXPECT_EQ(trackNamed("b.mp3").ready, 0);
}

TEST_F(ReadyTest, TwoDiscsWithTheSameFileNamesKeepOneCopyEach) {
  putSong("One\\Disc\\01 Track.mp3", SongTag{"First", "Artist", "Album", 17, 1});
  putSong("Two\\Disc\\01 Track.mp3", SongTag{"Second", "Artist", "Album", 17, 1});
  SourceRef one = scanned("One", MediaType::kWriteOnce, "One");
  SourceRef two = scanned("Two", MediaType::kWriteOnce, "Two");
  IdList all;
  for (const TrackItem& item : catalogue.listTracks(TrackFilter())) all.append(item.id);
  ASSERT_EQ(all.count(), 2);
  IdList made = catalogue.copyReadyJob(all, log.events());
  EXPECT_EQ(made.entries[0].mark, 1);
  EXPECT_EQ(made.entries[1].mark, 1);
  // Each copy holds its own disc's audio.
  std::string copyOne = copied(one, "Disc/01 Track.mp3");
  std::string copyTwo = copied(two, "Disc/01 Track.mp3");
  EXPECT_EQ(readBytes(copyOne), readBytes(music("One\\Disc\\01 Track.mp3")));
  EXPECT_EQ(readBytes(copyTwo), readBytes(music("Two\\Disc\\01 Track.mp3")));
  EXPECT_NE(readBytes(copyOne), readBytes(copyTwo));
  // Making one not ready deletes its copy only; the other still plays its own.
  IdList first;
  for (const TrackItem& item : catalogue.listTracks(TrackFilter())) {
    if (item.source.id == one.id) first.append(item.id);
  }
  catalogue.deleteReadyJob(first, log.events());
  EXPECT_FALSE(exists(copyOne));
  ASSERT_TRUE(exists(copyTwo));
  EXPECT_EQ(readBytes(copyTwo), readBytes(music("Two\\Disc\\01 Track.mp3")));
  for (const TrackItem& item : catalogue.listTracks(TrackFilter())) {
    EXPECT_EQ(item.ready, item.source.id == two.id ? 1 : 0);
  }
}

TEST_F(ReadyTest, TheCopyOfAReadOnlyFileIsWritable) {
  std::string path = putSong("Disc\\ro.mp3");
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  SourceRef disc = scanned("Disc", MediaType::kWriteOnce, "Disc");
  catalogue.copyReadyJob(idsOf({"ro.mp3"}), log.events());
  auto perms = std::filesystem::status(copied(disc, "ro.mp3")).permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
}

TEST_F(ReadyTest, DeletingCopiesSkipsTracksThatAreNotReady) {
  putSong("Disc\\a.mp3");
  putSong("Disc\\b.mp3");
  SourceRef disc = scanned("Disc", MediaType::kWriteOnce, "Disc");
  catalogue.copyReadyJob(idsOf({"a.mp3"}), log.events());
  log = JobLog();
  IdList result = catalogue.deleteReadyJob(idsOf({"b.mp3", "a.mp3"}), log.events());
  EXPECT_EQ(log.files, std::vector<std::string>{"a.mp3"});
  EXPECT_EQ(log.counts, std::vector<int>{0});
  EXPECT_EQ(result.entries[1].mark, 0);
  EXPECT_EQ(trackNamed("a.mp3").ready, 0);
  EXPECT_FALSE(exists(copied(disc, "a.mp3")));
}

class ReadyFailureTest : public ReadyTest {};

TEST_F(ReadyFailureTest, AFailedCopyLeavesTheTrackNotReadyTellsOnceAndGoesOn) {
  putSong("Disc\\a.mp3");
  putSong("Disc\\b.mp3");
  putSong("Disc\\c.mp3");
  SourceRef disc = scanned("Disc", MediaType::kWriteOnce, "Disc");
  FaultPlan plan;
  plan.fail(kFaultCopy, 1, kErrDiskFull);
  plan.fail(kFaultCopy, 2, kErrDiskFull);
  IdList result = catalogue.copyReadyJob(idsOf({"a.mp3", "b.mp3", "c.mp3"}), log.events());
  EXPECT_EQ(result.entries[0].mark, 0);
  EXPECT_EQ(result.entries[1].mark, 0);
  EXPECT_EQ(result.entries[2].mark, 1);
  EXPECT_EQ(trackNamed("a.mp3").ready, 0);
  EXPECT_EQ(trackNamed("c.mp3").ready, 1);
  EXPECT_EQ(alerts.captions(), std::vector<std::string>{"Copy Failed"});
  EXPECT_FALSE(exists(copied(disc, "a.mp3")));
}

TEST_F(ReadyFailureTest, TracksThatCannotBeReadAreSkipped) {
  IdList ids;
  ids.append(4242);
  IdList result = catalogue.copyReadyJob(ids, log.events());
  EXPECT_EQ(result.entries[0].mark, 0);
  EXPECT_TRUE(log.files.empty());
}

}  // namespace
}  // namespace tuho::test
