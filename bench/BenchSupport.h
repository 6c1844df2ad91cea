// What the catalogue benchmarks share: timing with medians, and a music
// folder of generated tagged files shaped like a real collection.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace bench {

namespace fs = std::filesystem;

constexpr int kArtists = 1000;
constexpr int kAlbums = 5000;
constexpr int kGenres = 40;

inline double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Median of `runs` timings; `prepare` runs untimed before each.
inline double median(int runs, const std::function<void()>& work, const std::function<void()>& prepare = {}) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    times.push_back(seconds(work));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// An ID3v1-tagged file: album n % 5000 belongs to artist n % 1000.
inline void writeSong(const fs::path& path, int number) {
  std::string bytes(1024, '\xff');
  std::string tag(128, '\0');
  tag.replace(0, 3, "TAG");
  std::string title = "Song " + std::to_string(number);
  std::string artist = "Artist " + std::to_string(number % kArtists);
  std::string album = "Album " + std::to_string(number % kAlbums);
  tag.replace(3, title.size(), title);
  tag.replace(33, artist.size(), artist);
  tag.replace(63, album.size(), album);
  tag[127] = static_cast<char>(number % kGenres);
  std::ofstream(path, std::ios::binary) << bytes << tag;
}

// `count` songs, 20 to a folder.
inline void makeMusic(const fs::path& folder, int count) {
  for (int i = 0; i < count; ++i) {
    fs::path album = folder / ("Folder " + std::to_string(i / 20));
    if (i % 20 == 0) fs::create_directories(album);
    writeSong(album / ("song " + std::to_string(i) + ".mp3"), i);
  }
}

inline void row(const char* what, double ours, double baseline, const char* against) {
  std::printf("%-34s %8.4f s  %7.2f x %s (%.4f s)\n", what, ours, ours / baseline, against, baseline);
}

}  // namespace bench
