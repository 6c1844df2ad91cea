#include "CatalogueFixture.h"

#include <filesystem>

#include "catalogue/TrackFiles.h"

namespace tuho::test {
namespace {

Bytes id3v1Block(const SongTag& tag) {
  Bytes block(128, 0);
  block[0] = 'T';
  block[1] = 'A';
  block[2] = 'G';
  auto put = [&](size_t offset, const std::string& text) {
    for (size_t i = 0; i < text.size() && i < 30; ++i) block[offset + i] = static_cast<uint8_t>(text[i]);
  };
  put(3, tag.title);
  put(33, tag.artist);
  put(63, tag.album);
  block[126] = static_cast<uint8_t>(tag.track);
  block[127] = static_cast<uint8_t>(tag.genre);
  return block;
}

std::string hostRelative(std::string relative) {
#ifndef _WIN32
  for (char& c : relative) if (c == '\\') c = '/';
#endif
  return relative;
}

}  // namespace

JobEvents JobLog::events() {
  JobEvents events;
  events.progress = [this](const std::string& file, int count) {
    files.push_back(file);
    counts.push_back(count);
  };
  return events;
}

CatalogueTest::CatalogueTest() : catalogue(sources, dataDir.path()) {
  sources.load(dataDir.path());
  catalogue.open();
}

CatalogueTest::~CatalogueTest() { catalogue.close(); }

std::string CatalogueTest::music(const std::string& relative) const {
  return relative.empty() ? musicDir.path() : musicDir.file(hostRelative(relative));
}

std::string CatalogueTest::putSong(const std::string& relative, const SongTag& tag) {
  std::string path = music(relative);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  Bytes bytes(256, 0xFF);  // stands in for audio frames
  Bytes block = id3v1Block(tag);
  bytes.insert(bytes.end(), block.begin(), block.end());
  writeBytes(path, bytes);
  return path;
}

void CatalogueTest::removeSong(const std::string& relative) { std::filesystem::remove(music(relative)); }

SourceRef CatalogueTest::addSource(const std::string& name, int kind, const std::string& relative) {
  Location location = splitLocation(music(relative));
  SourceRef source;
  source.root = location.root;
  source.folder = location.folder;
  source.mediaType = kind;
  source.name = name;
  int index = sources.add(source);
  return sources.at(index);
}

int CatalogueTest::scan(const SourceRef& source, bool rescan) {
  return catalogue.scanSource(source, rescan, log.events());
}

std::vector<TrackItem> CatalogueTest::tracks(const TrackFilter& filter) { return catalogue.listTracks(filter); }

std::vector<std::string> CatalogueTest::fileNames(const TrackFilter& filter) {
  std::vector<std::string> names;
  for (const TrackItem& item : tracks(filter)) names.push_back(item.folder + "\\" + item.fileName);
  return names;
}

TrackItem CatalogueTest::trackNamed(const std::string& fileName) {
  for (const TrackItem& item : tracks()) {
    if (item.fileName == fileName) return item;
  }
  return TrackItem();
}

}  // namespace tuho::test
