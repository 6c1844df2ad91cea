// tuhodb tags [--stats] FILE...: one JSON object per file and line with the
// values the tag reader finds, as the catalogue would store them.
#include <chrono>
#include <cstdio>
#include <string>

#include "tags/TagReader.h"
#include "tools/tuhodb/Commands.h"
#include "tools/tuhodb/Json.h"

namespace tuho::tuhodb {
namespace {

std::string tagLine(const std::string& file, const TrackTag& tag) {
  return "{\"file\": " + jsonString(file) + ", \"artist\": " + jsonOptional(tag.artist) +
         ", \"album\": " + jsonOptional(tag.album) + ", \"title\": " + jsonOptional(tag.title) +
         ", \"track\": " + jsonOptional(tag.trackNo) + ", \"genre\": " + jsonOptional(tag.genre) +
         ", \"comment\": " + jsonOptional(tag.comment) + "}";
}

std::string errorLine(const std::string& file, uint32_t error) {
  return "{\"file\": " + jsonString(file) +
         ", \"error\": " + jsonString(trackOpenFailureCaption(error)) + "}";
}

}  // namespace

int runTags(const Args& args) {
  bool stats = false;
  Args files;
  for (const std::string& arg : args) {
    if (arg == "--stats") {
      stats = true;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: tuhodb tags [--stats] FILE...\n");
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  int failures = 0;
  for (const std::string& file : files) {
    TrackTag tag;
    uint32_t error = 0;
    const bool read = readTag(file, tag, &error);
    failures += read ? 0 : 1;
    std::string line = read ? tagLine(file, tag) : errorLine(file, error);
    std::fprintf(stdout, "%s\n", line.c_str());
  }
  if (stats) {
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%zu files in %.3f s: %.0f files/s\n", files.size(), seconds,
                 seconds > 0 ? double(files.size()) / seconds : 0.0);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace tuho::tuhodb
