// Tags per second: our reader, TagLib (when built with it) reading the same
// six values, and the floor of opening each file, reading its first 4 KiB and
// last 128 bytes and closing it. All three run on the same generated files
// with a warm cache; each figure is the best of several rounds.
//
// usage: tags_bench [FILE_COUNT] [FOLDER]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/File.h"
#include "tags/TagReader.h"

#ifdef TUHO_BENCH_TAGLIB
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/taglib.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

void append(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

void appendSize(Bytes& out, uint32_t size, bool syncsafe) {
  int shift = syncsafe ? 7 : 8;
  uint32_t mask = syncsafe ? 0x7F : 0xFF;
  for (int i = 3; i >= 0; --i) out.push_back(uint8_t((size >> (shift * i)) & mask));
}

void appendFrame(Bytes& out, const std::string& id, const Bytes& content) {
  append(out, id);
  appendSize(out, static_cast<uint32_t>(content.size()), false);
  out.push_back(0);
  out.push_back(0);
  out.insert(out.end(), content.begin(), content.end());
}

Bytes latin1Text(const std::string& text) {
  Bytes content{0};
  append(content, text);
  return content;
}

Bytes utf16Text(const std::string& ascii) {
  Bytes content{1, 0xFF, 0xFE};
  for (char c : ascii) {
    content.push_back(uint8_t(c));
    content.push_back(0);
  }
  return content;
}

// A typical file: a version 3 tag with the six frames and a few others, some
// with a small picture, padding, audio, and an ID3v1 block.
Bytes typicalFile(int n) {
  auto text = (n % 3 == 0) ? utf16Text : latin1Text;
  std::string number = std::to_string(n);
  Bytes frames;
  appendFrame(frames, "TIT2", text("Title number " + number));
  appendFrame(frames, "TPE1", text("Artist " + std::to_string(n % 97)));
  appendFrame(frames, "TALB", text("Album " + std::to_string(n % 1013)));
  appendFrame(frames, "TRCK", text(std::to_string(n % 14 + 1) + "/14"));
  appendFrame(frames, "TCON", text("(" + std::to_string(n % 148) + ")"));
  appendFrame(frames, "TYER", text("1999"));
  Bytes comment{0};
  append(comment, "eng");
  comment.push_back(0);
  append(comment, "Ripped for the benchmark");
  appendFrame(frames, "COMM", comment);
  if (n % 4 == 0) appendFrame(frames, "APIC", Bytes(3000, 0x5A));
  frames.resize(frames.size() + 1024, 0);

  Bytes file;
  append(file, "ID3");
  file.insert(file.end(), {3, 0, 0});
  appendSize(file, static_cast<uint32_t>(frames.size()), true);
  file.insert(file.end(), frames.begin(), frames.end());
  for (int i = 0; i < 8192; ++i) file.push_back(uint8_t(i * 31 + n));
  Bytes v1(128, 0);
  std::copy_n("TAG", 3, v1.begin());
  std::string title = "V1 title " + number;
  std::copy(title.begin(), title.end(), v1.begin() + 3);
  v1[126] = uint8_t(n % 20);
  v1[127] = uint8_t(n % 148);
  file.insert(file.end(), v1.begin(), v1.end());
  return file;
}

std::vector<std::string> generate(const std::string& folder, int count) {
  std::filesystem::create_directories(folder);
  std::vector<std::string> paths;
  for (int n = 0; n < count; ++n) {
    std::string path = folder + "/track" + std::to_string(n) + ".mp3";
    Bytes bytes = typicalFile(n);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    paths.push_back(path);
  }
  return paths;
}

size_t gSink = 0;  // keeps the work from being optimised away

void ourReader(const std::string& path) {
  tuho::TrackTag tag;
  tuho::readTag(path, tag);
  gSink += tag.title ? tag.title->size() : 0;
}

void floorRead(const std::string& path) {
  tuho::File file;
  if (!file.open(path, tuho::kAccessRead, tuho::kShareRead, tuho::kOpenExisting)) return;
  uint8_t buffer[4096];
  uint32_t got = 0;
  file.read(buffer, sizeof buffer, &got);
  gSink += got;
  if (file.seek(-128, tuho::kSeekEnd)) file.read(buffer, 128, &got);
  gSink += got;
}

#ifdef TUHO_BENCH_TAGLIB
void tagLibReader(const std::string& path) {
  TagLib::MPEG::File file(path.c_str(), false);
  TagLib::Tag* tag = file.tag();
  if (!tag) return;
  std::string values[] = {tag->artist().to8Bit(true), tag->album().to8Bit(true), tag->title().to8Bit(true),
                          std::to_string(tag->track()), tag->genre().to8Bit(true),
                          tag->comment().to8Bit(true)};
  gSink += values[2].size();
}
#endif

double bestRate(const std::vector<std::string>& paths, const std::function<void(const std::string&)>& read) {
  double best = 0;
  for (int round = 0; round < 3; ++round) {
    auto start = std::chrono::steady_clock::now();
    for (const std::string& path : paths) read(path);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::max(best, double(paths.size()) / seconds);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  std::string folder = argc > 2 ? argv[2] : (std::filesystem::temp_directory_path() / "tuho-tags-bench").string();
  std::vector<std::string> paths = generate(folder, count);
  bestRate(paths, floorRead);  // warm the cache

  double floor = bestRate(paths, floorRead);
  double ours = bestRate(paths, ourReader);
  std::printf("files: %d in %s\n", count, folder.c_str());
  std::printf("floor  (open, 4 KiB + 128 B, close): %10.0f files/s\n", floor);
  std::printf("tuho tag reader:                     %10.0f tags/s   floor/ours %.2fx\n", ours, floor / ours);
#ifdef TUHO_BENCH_TAGLIB
  double tagLib = bestRate(paths, tagLibReader);
  std::printf("TagLib %d.%d:                         %10.0f tags/s   ours/TagLib %.2fx\n", TAGLIB_MAJOR_VERSION,
              TAGLIB_MINOR_VERSION, tagLib, ours / tagLib);
#else
  std::printf("TagLib: not built in (pkg-config taglib not found)\n");
#endif
  std::printf("(checksum %zu)\n", gSink);
  std::filesystem::remove_all(folder);
  return 0;
}
