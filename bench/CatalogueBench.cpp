// Catalogue costs at a given size: the first scan of a source, a rescan of
// the unchanged source, what the rescan would cost looking every file up
// with a walk from the first record, and the floor a rescan cannot beat:
// listing the folders and walking the catalogue once. Also a grouping query
// and a whole-catalogue walk. Figures are ratios within one run.
//
// usage: catalogue_bench [FILE_COUNT]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench/Timing.h"
#include "catalogue/Catalogue.h"
#include "catalogue/TrackFiles.h"
#include "platform/Alert.h"
#include "platform/FileSystem.h"

namespace {

namespace fs = std::filesystem;
using tuho::bench::seconds;

void writeSong(const fs::path& path, int number) {
  std::string bytes(1024, '\xff');
  std::string tag(128, '\0');
  tag.replace(0, 3, "TAG");
  std::string title = "Song " + std::to_string(number);
  std::string artist = "Artist " + std::to_string(number % 97);
  std::string album = "Album " + std::to_string(number % 401);
  tag.replace(3, title.size(), title);
  tag.replace(33, artist.size(), artist);
  tag.replace(63, album.size(), album);
  tag[127] = static_cast<char>(number % 148);
  std::ofstream(path, std::ios::binary) << bytes << tag;
}

void makeMusic(const fs::path& folder, int count) {
  for (int i = 0; i < count; ++i) {
    fs::path album = folder / ("Folder " + std::to_string(i / 20));
    fs::create_directories(album);
    writeSong(album / ("song " + std::to_string(i) + ".mp3"), i);
  }
}

int countFiles(const std::string& folder) {
  int files = 0;
  tuho::listFolder(folder, [&](const tuho::FolderEntry& entry) {
    files += entry.isFolder ? countFiles(folder + "/" + entry.name) : 1;
    return true;
  });
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 5000;
  fs::path root = fs::temp_directory_path() / ("tuho-catalogue-bench-" + std::to_string(count));
  fs::remove_all(root);
  fs::create_directories(root / "data");
  makeMusic(root / "music", count);
  tuho::AlertSink quiet;

  tuho::SourceList sources;
  sources.load((root / "data").string());
  tuho::Catalogue catalogue(sources, (root / "data").string());
  catalogue.open();
  tuho::SourceRef source;
  tuho::Location location = tuho::splitLocation((root / "music").string());
  source.root = location.root;
  source.folder = location.folder;
  source.name = "Bench";
  source = sources.at(sources.add(source));

  double scan = seconds([&] { catalogue.scanSource(source, false, tuho::JobEvents()); });
  double rescan = seconds([&] { catalogue.scanSource(source, true, tuho::JobEvents()); });
  std::vector<tuho::TrackItem> all;
  double walk = seconds([&] { all = catalogue.listTracks(tuho::TrackFilter()); });
  double listing = seconds([&] { countFiles((root / "music").string()); });
  // A rescan that looks each file up from the first record, as a plain walk
  // would: measured on a sample and scaled, since it grows with the square.
  size_t sample = std::min<size_t>(all.size(), 500);
  double lookups = seconds([&] {
    for (size_t i = 0; i < sample; ++i) catalogue.findTrack(source.id, all[i * all.size() / sample].folder,
                                                            all[i * all.size() / sample].fileName);
  });
  double perFileWalks = lookups / static_cast<double>(sample) * static_cast<double>(all.size());
  double groups = seconds([&] { catalogue.groupValues(tuho::TrackFilter(), tuho::LEVEL_ARTIST); });
  catalogue.close();

  double floor = walk + listing;
  std::printf("tracks: %zu\n", all.size());
  std::printf("first scan            %8.3f s  (%.0f files/s)\n", scan, all.size() / scan);
  std::printf("rescan, unchanged     %8.3f s  = %.2f x the floor\n", rescan, rescan / floor);
  std::printf("floor (list + 1 walk) %8.3f s\n", floor);
  std::printf("rescan by per-file walks (estimated from %zu lookups) %8.3f s = %.1f x our rescan\n", sample,
              perFileWalks, perFileWalks / rescan);
  std::printf("group values (artist) %8.3f s  = %.2f x one walk\n", groups, groups / walk);
  fs::remove_all(root);
  return 0;
}
