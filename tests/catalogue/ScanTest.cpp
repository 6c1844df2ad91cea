#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "CatalogueFixture.h"
#include "platform/FaultPlan.h"
#include "platform/Path.h"
#include "platform/Win32Error.h"

namespace tuho::test {
namespace {


class ScanTest : public CatalogueTest {};

std::vector<std::string> sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(ScanTest, StoresOneTrackPerMp3FileWithItsFolderRelativeToTheSource) {
  putSong("top.mp3", SongTag{"Top", "A", "B", 17, 3});
  putSong("Artist\\Album\\deep.MP3");
  putSong("Artist\\cover.jpg");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  EXPECT_EQ(scan(source), 1);
  EXPECT_EQ(sorted(fileNames()), (std::vector<std::string>{"\\Artist\\Album\\deep.MP3", "\\top.mp3"}));
  TrackItem top = trackNamed("top.mp3");
  EXPECT_EQ(top.tag.title, "Top");
  EXPECT_EQ(top.tag.genre, "Rock");
  EXPECT_EQ(top.tag.trackNo, "03");
  EXPECT_EQ(top.folder, "");
  EXPECT_EQ(top.source.id, source.id);
}

TEST_F(ScanTest, OnlyTheThreeSpellingsOfTheEndingAreCatalogued) {
  putSong("a.mp3");
  putSong("b.Mp3");
  putSong("c.mP3");
  putSong("d.mp4");
  putSong("mp3");
  scan(addSource("Mine", MediaType::kLocalFolder));
  EXPECT_EQ(sorted(fileNames()), (std::vector<std::string>{"\\a.mp3", "\\b.Mp3", "\\mp3"}));
}

TEST_F(ScanTest, CountsEveryFileFromOneAndWalksSubFoldersWhenMet) {
  putSong("one.mp3");
  putSong("Sub\\two.mp3");
  putSong("Sub\\three.mp3");
  putSong("four.mp3");
  scan(addSource("Mine", MediaType::kLocalFolder));
  EXPECT_EQ(log.counts, (std::vector<int>{1, 2, 3, 4}));
  // The files of Sub come one after the other, wherever Sub was listed.
  auto first = std::find(log.files.begin(), log.files.end(), "two.mp3");
  auto second = std::find(log.files.begin(), log.files.end(), "three.mp3");
  EXPECT_EQ(std::abs(static_cast<int>(first - second)), 1);
}

TEST_F(ScanTest, RescanDropsVanishedFilesAddsNewOnesAndKeepsKnownTagsUnread) {
  putSong("keep.mp3", SongTag{"Old title", "A", "B", 17, 1});
  putSong("gone.mp3");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  scan(source);
  int keptId = trackNamed("keep.mp3").id;
  removeSong("gone.mp3");
  putSong("new.mp3");
  putSong("keep.mp3", SongTag{"New title", "A", "B", 17, 1});
  log = JobLog();
  EXPECT_EQ(scan(source, true), 1);
  EXPECT_EQ(sorted(fileNames()), (std::vector<std::string>{"\\keep.mp3", "\\new.mp3"}));
  EXPECT_EQ(trackNamed("keep.mp3").id, keptId);
  EXPECT_EQ(trackNamed("keep.mp3").tag.title, "Old title");
  EXPECT_EQ(log.counts, (std::vector<int>{1, 2}));
}

TEST_F(ScanTest, RescanOfManyFilesKeepsThemAll) {
  for (int i = 0; i < 150; ++i) putSong("Album\\" + std::to_string(i) + ".mp3");
  SourceRef source = addSource("Big", MediaType::kLocalFolder);
  scan(source);
  scan(source, true);
  EXPECT_EQ(tracks().size(), 150u);
}

TEST_F(ScanTest, RescanLeavesOtherSourcesAlone) {
  putSong("A\\a.mp3");
  putSong("B\\b.mp3");
  SourceRef first = addSource("A", MediaType::kLocalFolder, "A");
  SourceRef second = addSource("B", MediaType::kLocalFolder, "B");
  scan(first);
  scan(second);
  removeSong("A\\a.mp3");
  scan(first, true);
  EXPECT_EQ(fileNames(), std::vector<std::string>{"\\b.mp3"});
}

TEST_F(ScanTest, RemoveSourceDeletesExactlyItsTracks) {
  putSong("A\\a1.mp3");
  putSong("A\\a2.mp3");
  putSong("B\\b.mp3");
  SourceRef first = addSource("A", MediaType::kLocalFolder, "A");
  SourceRef second = addSource("B", MediaType::kLocalFolder, "B");
  scan(first);
  scan(second);
  EXPECT_EQ(catalogue.removeSource(first.id), 2);
  EXPECT_EQ(fileNames(), std::vector<std::string>{"\\b.mp3"});
}

// A scan or rescan that meets no MP3 file says so once, at its end; one
// that meets any says nothing of the kind.
TEST_F(ScanTest, AFolderWithoutMp3FilesYieldsNoTrackAndSaysSoOnce) {
  std::filesystem::create_directories(music("Empty\\Deeper"));
  putSong("Empty\\Deeper\\cover.jpg");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder, "Empty");
  EXPECT_EQ(scan(source), 1);
  EXPECT_TRUE(tracks().empty());
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].caption, "No MP3 Files");
  EXPECT_EQ(alerts.records()[0].text.rfind("No MP3 files were found in the media source \"Mine\":\n", 0), 0u)
      << alerts.records()[0].text;
  scan(source, true);
  EXPECT_EQ(alerts.count(), 2u);
  putSong("Empty\\song.mp3");
  scan(source, true);
  EXPECT_EQ(alerts.count(), 2u);
  EXPECT_EQ(tracks().size(), 1u);
}

TEST_F(ScanTest, PathsLongerThanWindowsCanOpenAreSkipped) {
  std::string deep;
  while (music(deep).size() < 300) deep += "folder-of-some-length\\";
  putSong(deep + "lost.mp3");
  putSong("found.mp3");
  scan(addSource("Mine", MediaType::kLocalFolder));
  EXPECT_EQ(fileNames(), std::vector<std::string>{"\\found.mp3"});
  // Said once, at the end of the job.
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].caption, "Paths Too Long");
  EXPECT_EQ(alerts.records()[0].text.rfind("1 files or folders were skipped", 0), 0u) << alerts.records()[0].text;
}

#ifndef _WIN32
// A link back up the tree, and a FIFO named like a track: each folder is
// walked once, and the FIFO is refused instead of blocking the job.
TEST_F(ScanTest, LinkLoopsAndFifosNeitherMultiplyNorHang) {
  putSong("A\\one.mp3");
  putSong("A\\B\\two.mp3");
  std::filesystem::create_directory_symlink(musicDir.path() + "/A", musicDir.path() + "/A/B/up");
  std::filesystem::create_directory_symlink(musicDir.path() + "/A/B", musicDir.path() + "/again");
  ASSERT_EQ(mkfifo((musicDir.path() + "/zz.mp3").c_str(), 0644), 0);
  scan(addSource("Mine", MediaType::kLocalFolder));
  std::vector<std::string> names = fileNames();
  auto named = [&](const std::string& file) {
    return std::count_if(names.begin(), names.end(), [&](const std::string& name) {
      return name.size() >= file.size() && name.compare(name.size() - file.size(), file.size(), file) == 0;
    });
  };
  // Whichever way the walk met them first, each file once; the FIFO is
  // catalogued with default tags and its open refused.
  EXPECT_EQ(names.size(), 3u);
  EXPECT_EQ(named("\\one.mp3"), 1);
  EXPECT_EQ(named("\\two.mp3"), 1);
  std::vector<std::string> captions = alerts.captions();
  EXPECT_EQ(std::count(captions.begin(), captions.end(), "MP3 Access Denied"), 1);
}
#endif

#ifndef _WIN32
TEST_F(ScanTest, AWholeVolumeIsWalkedFromItsRoot) {
  putSong("Album\\song.mp3");
  mapDrive('V', musicDir.path());
  SourceRef volume;
  volume.root = "V:";
  volume.name = "Disc";
  volume.mediaType = MediaType::kWriteOnce;
  volume = sources.at(sources.add(volume));
  scan(volume);
  mapDrive('V', "");
  EXPECT_EQ(fileNames(), std::vector<std::string>{"\\Album\\song.mp3"});
}
#endif

class ScanFailureTest : public CatalogueTest {};

TEST_F(ScanFailureTest, RescanOfAMissingVolumeKeepsEveryTrackAndSaysSo) {
  putSong("Disc\\a.mp3");
  putSong("Disc\\b.mp3");
  SourceRef source = addSource("Disc", MediaType::kWriteOnce, "Disc");
  scan(source);
  std::filesystem::rename(music("Disc"), music("Elsewhere"));
  EXPECT_EQ(scan(source, true), 0);
  EXPECT_EQ(tracks().size(), 2u);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].caption, "Volume Not Found");
}

TEST_F(ScanFailureTest, RescanKeepsTheTracksOfAFolderThatCouldNotBeEntered) {
  putSong("Sub\\a.mp3");
  putSong("Sub\\Inner\\b.mp3");
  putSong("Other\\c.mp3");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  scan(source);
  FaultPlan plan;
  // The base folder is listed first; "Sub" is the first or second folder after it.
  plan.fail(kFaultList, 2, kErrAccessDenied);
  EXPECT_EQ(scan(source, true), 1);
  EXPECT_EQ(tracks().size(), 3u);
}

TEST_F(ScanFailureTest, AStoppedRescanDropsNothing) {
  putSong("a.mp3");
  putSong("b.mp3");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  scan(source);
  JobEvents events;
  events.stopRequested = [] { return true; };
  catalogue.scanSource(source, true, events);
  EXPECT_EQ(tracks().size(), 2u);
}

// Cancel from the progress dialog: the job stops at the next file, keeps
// every track it stored and says how many; a cancelled rescan drops nothing.
// Closing the program stops a job without a word.
TEST_F(ScanFailureTest, ACancelledScanKeepsWhatItStoredAndSaysHowMuch) {
  for (int i = 0; i < 8; ++i) putSong("s" + std::to_string(i) + ".mp3");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  JobEvents events = log.events();
  events.cancelRequested = [this] { return log.counts.size() >= 3; };
  EXPECT_TRUE(catalogue.scanSource(source, false, events));
  EXPECT_EQ(tracks().size(), 3u);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].caption, "Scan Cancelled");
  EXPECT_EQ(alerts.records()[0].text, "The scan of the media source \"Mine\" was cancelled: 3 tracks were stored.");

  removeSong("s0.mp3");
  removeSong("s1.mp3");
  removeSong("s2.mp3");
  events.cancelRequested = [] { return true; };
  catalogue.scanSource(source, true, events);
  EXPECT_EQ(tracks().size(), 3u) << "no vanished file was looked for";
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_EQ(alerts.records()[1].text,
            "The rescan of the media source \"Mine\" was cancelled: 0 new tracks were stored, and no track was "
            "removed.");

  JobEvents closing;
  closing.stopRequested = [] { return true; };
  catalogue.scanSource(source, true, closing);
  EXPECT_EQ(alerts.count(), 2u);
}

TEST_F(ScanFailureTest, AFileThatCannotBeOpenedIsStoredWithDefaultTags) {
  putSong("locked.mp3");
  SourceRef source = addSource("Mine", MediaType::kLocalFolder);
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrSharingViolation);
  scan(source);
  TrackItem item = trackNamed("locked.mp3");
  EXPECT_EQ(item.tag.title, "Unspecified");
  EXPECT_EQ(alerts.captions(), std::vector<std::string>{"MP3 Sharing Violation"});
}

// A full disk stops the job at the first track it cannot store, with one
// box that says so and how many were stored; no half track is left behind.
TEST_F(ScanFailureTest, AFullDiskStopsTheJobWithOneBox) {
  putSong("One\\first.mp3");
  int writesPerTrack = 0;
  {
    FaultPlan counting;
    scan(addSource("One", MediaType::kLocalFolder, "One"));
    writesPerTrack = counting.seen(kFaultWrite);
  }
  for (int i = 0; i < 6; ++i) putSong("Six\\s" + std::to_string(i) + ".mp3");
  SourceRef source = addSource("Six", MediaType::kLocalFolder, "Six");
  log = JobLog();
  {
    FaultPlan plan;
    // Fails the last write of the fourth track, and every one after it.
    plan.fail(kFaultWrite, 4 * writesPerTrack, kErrDiskFull, true);
    EXPECT_EQ(scan(source), 0);
  }
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].caption, "Disk Full");
  EXPECT_NE(alerts.records()[0].text.find("3 tracks were stored"), std::string::npos) << alerts.records()[0].text;
  EXPECT_EQ(log.counts.size(), 4u);
  catalogue.close();
  catalogue.open();
  EXPECT_EQ(tracks().size(), 4u);
  EXPECT_EQ(alerts.count(), 1u);
}

}  // namespace
}  // namespace tuho::test
