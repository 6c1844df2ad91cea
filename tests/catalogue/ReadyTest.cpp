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
  SourceRef scanned(const std::string& name, int kind, const std::string& relative = "") {
    SourceRef source = addSource(name, kind, relative);
    scan(source);
    return source;
  }
  IdList idsOf(const std::vector<std::string>& fileNames) {
    IdList ids;
    for (const std::string& name : fileNames) ids.append(trackNamed(name).id);
    return ids;
  }
  std::string copied(const std::string& relative) const {
    std::string path = dataDir.path() + "/" + relative;
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
  scanned("Folder", MEDIA_LOCAL_FOLDER, "Folder");
  scanned("Disc", MEDIA_WRITE_ONCE, "Disc");
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
  EXPECT_TRUE(exists(copied("Album/fresh.mp3")));
  EXPECT_FALSE(exists(copied("Album/ready.mp3")));
}

TEST_F(ReadyTest, RewritableDiscTracksAreCopiedToo) {
  putSong("Udf\\song.mp3");
  scanned("Udf", MEDIA_REWRITABLE, "Udf");
  IdList result = catalogue.copyReadyJob(idsOf({"song.mp3"}), log.events());
  EXPECT_EQ(result.entries[0].mark, 1);
  EXPECT_TRUE(exists(copied("song.mp3")));
}

TEST_F(ReadyTest, AMovedDiscIsLocatedByTheUser) {
  putSong("Disc\\Album\\song.mp3");
  scanned("Disc", MEDIA_WRITE_ONCE, "Disc");
  std::filesystem::rename(music("Disc"), music("Moved"));
  IdList result = catalogue.copyReadyJob(idsOf({"song.mp3"}), locateAt(music("Moved") + "\\"));
  EXPECT_EQ(asked, std::vector<std::string>{"Disc"});
  EXPECT_EQ(result.entries[0].mark, 1);
  EXPECT_TRUE(exists(copied("Album/song.mp3")));
}

TEST_F(ReadyTest, CancellingTheLocateQuestionStopsTheJob) {
  putSong("Disc\\a.mp3");
  putSong("Disc\\b.mp3");
  scanned("Disc", MEDIA_WRITE_ONCE, "Disc");
  std::filesystem::rename(music("Disc"), music("Moved"));
  IdList result = catalogue.copyReadyJob(idsOf({"a.mp3", "b.mp3"}), locateAt(std::nullopt));
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(result.entries[0].mark, 0);
  EXPECT_EQ(result.entries[1].mark, 0);
  EXPECT_EQ(trackNamed("b.mp3").ready, 0);
}

TEST_F(ReadyTest, TheCopyOfAReadOnlyFileIsWritable) {
  std::string path = putSong("Disc\\ro.mp3");
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  scanned("Disc", MEDIA_WRITE_ONCE, "Disc");
  catalogue.copyReadyJob(idsOf({"ro.mp3"}), log.events());
  auto perms = std::filesystem::status(copied("ro.mp3")).permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
}

TEST_F(ReadyTest, DeletingCopiesSkipsTracksThatAreNotReady) {
  putSong("Disc\\a.mp3");
  putSong("Disc\\b.mp3");
  scanned("Disc", MEDIA_WRITE_ONCE, "Disc");
  catalogue.copyReadyJob(idsOf({"a.mp3"}), log.events());
  log = JobLog();
  IdList result = catalogue.deleteReadyJob(idsOf({"b.mp3", "a.mp3"}), log.events());
  EXPECT_EQ(log.files, std::vector<std::string>{"a.mp3"});
  EXPECT_EQ(log.counts, std::vector<int>{0});
  EXPECT_EQ(result.entries[1].mark, 0);
  EXPECT_EQ(trackNamed("a.mp3").ready, 0);
  EXPECT_FALSE(exists(copied("a.mp3")));
}

class ReadyFailureTest : public ReadyTest {};

TEST_F(ReadyFailureTest, AFailedCopyLeavesTheTrackNotReadyTellsOnceAndGoesOn) {
  putSong("Disc\\a.mp3");
  putSong("Disc\\b.mp3");
  putSong("Disc\\c.mp3");
  scanned("Disc", MEDIA_WRITE_ONCE, "Disc");
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
  EXPECT_FALSE(exists(copied("a.mp3")));
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
