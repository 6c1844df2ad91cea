// Catalogue costs at a given size, each as a ratio against a baseline
// measured in the same run (medians of several runs):
//   first scan            against reading the same files' tags alone
//   unchanged rescan      against its floor: listing the folders plus one walk
//   compaction at close   against copying the catalogue file
//   read-only tuhodb      against its open plus its query in process
//   grouping queries and the tracks of one artist
//                         against the same tracks in SQLite without an index
//
// usage: catalogue_bench [FILE_COUNT]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "SqliteBaseline.h"
#include "catalogue/Catalogue.h"
#include "catalogue/TrackFiles.h"
#include "platform/Alert.h"
#include "platform/FileSystem.h"
#include "tags/TagReader.h"

namespace {

using bench::fs::path;

int readAllTags(const std::string& folder) {
  int files = 0;
  tuho::listFolder(folder, [&](const tuho::FolderEntry& entry) {
    std::string child = folder + "/" + entry.name;
    if (entry.isFolder) {
      files += readAllTags(child);
    } else {
      tuho::TrackTag tag;
      tuho::readTag(child, tag);
      ++files;
    }
    return true;
  });
  return files;
}

int countFiles(const std::string& folder) {
  int files = 0;
  tuho::listFolder(folder, [&](const tuho::FolderEntry& entry) {
    files += entry.isFolder ? countFiles(folder + "/" + entry.name) : 1;
    return true;
  });
  return files;
}

// A source list and catalogue on one data folder, as a session opens them.
struct Session {
  tuho::SourceList sources;
  tuho::Catalogue catalogue;
  explicit Session(const path& data) : catalogue((sources.load(data.string()), sources), data.string()) {
    catalogue.open();
  }
};

tuho::SourceRef addSource(const path& data, const path& music) {
  tuho::SourceList sources;
  sources.load(data.string());
  tuho::SourceRef source;
  tuho::Location location = tuho::splitLocation(music.string());
  source.root = location.root;
  source.folder = location.folder;
  source.name = "Bench";
  return sources.at(sources.add(source));
}

// The seconds one run of a program takes, started directly (posix_spawn, no
// shell) with its output going nowhere: std::system would also time a fork of
// this large process and a shell.
double processSeconds(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  double seconds = bench::seconds([&] {
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
        waitpid(child, &status, 0) != child || status != 0) {
      std::fprintf(stderr, "failed: %s\n", argv[0]);
    }
  });
  posix_spawn_file_actions_destroy(&actions);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = 3;
  const path root = bench::fs::temp_directory_path() / ("tuho-catalogue-bench-" + std::to_string(count));
  const path music = root / "music", data = root / "data";
  bench::fs::remove_all(root);
  bench::makeMusic(music, count);
  tuho::AlertSink quiet;
  std::printf("files: %d (%d artists, %d albums, %d genres), medians of %d+ runs\n", count, bench::kArtists,
              bench::kAlbums, bench::kGenres, runs);

  double tagsAlone = bench::median(runs, [&] { readAllTags(music.string()); });
  tuho::SourceRef source;
  double scan = bench::median(
      runs,
      [&] {
        Session session(data);
        session.catalogue.scanSource(source, false, tuho::JobEvents());
      },
      [&] {
        bench::fs::remove_all(data);
        bench::fs::create_directories(data);
        source = addSource(data, music);
      });
  bench::row("first scan", scan, tagsAlone, "tags alone");

  Session session(data);
  std::vector<tuho::TrackItem> all;
  double walk = bench::median(runs, [&] { all = session.catalogue.listTracks(tuho::TrackFilter()); });
  double listing = bench::median(runs, [&] { countFiles(music.string()); });
  double rescan = bench::median(runs, [&] { session.catalogue.scanSource(source, true, tuho::JobEvents()); });
  bench::row("unchanged rescan", rescan, walk + listing, "list + 1 walk");

  bench::SqliteBaseline sqlite(all);
  const char* columns[] = {"genre", "artist", "album"};
  const tuho::GroupLevel levels[] = {tuho::LEVEL_GENRE, tuho::LEVEL_ARTIST, tuho::LEVEL_ALBUM};
  for (int i = 0; i < 3; ++i) {
    double ours = bench::median(5, [&] { session.catalogue.groupValues(tuho::TrackFilter(), levels[i]); });
    double theirs = bench::median(5, [&] { sqlite.groupBy(columns[i]); });
    bench::row((std::string("group by ") + columns[i]).c_str(), ours, theirs, "SQLite");
  }
  tuho::TrackFilter oneArtist;
  oneArtist.artist = "Artist 7";
  double ours = bench::median(5, [&] { session.catalogue.listTracks(oneArtist); });
  double theirs = bench::median(5, [&] { sqlite.tracksOf("Artist 7"); });
  bench::row("tracks of one artist", ours, theirs, "SQLite");
  session.catalogue.close();

  const std::string catalogueFile = (data / "Tuho.dat").string();
  double fileCopy = bench::median(runs, [&] { bench::fs::copy_file(catalogueFile, catalogueFile + ".copy",
                                                                     bench::fs::copy_options::overwrite_existing); });
  // Each close has one more deleted track to remove, so each compacts.
  std::unique_ptr<Session> deleting;
  size_t deleted = 0;
  double compaction = bench::median(
      runs, [&] { deleting->catalogue.close(); },
      [&] {
        deleting = std::make_unique<Session>(data);
        deleting->catalogue.deleteTrack(all[deleted++].id);
      });
  bench::row("compaction at close", compaction, fileCopy, "file copy");

#ifdef TUHO_BENCH_TUHODB
  double inProcess = bench::median(runs, [&] {
    Session reader(data);
    reader.catalogue.groupValues(tuho::TrackFilter(), tuho::LEVEL_GENRE);
  });
  const std::vector<std::string> command = {TUHO_BENCH_TUHODB, "--data", data.string(), "groups", "genre"};
  std::vector<double> times;
  for (int i = 0; i < 2 * runs + 1; ++i) times.push_back(processSeconds(command));
  std::sort(times.begin(), times.end());
  bench::row("tuhodb groups genre (process)", times[times.size() / 2], inProcess, "open + query");
#endif
  bench::fs::remove_all(root);
  return 0;
}
