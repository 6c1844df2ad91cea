#include "CatalogueFixture.h"

#include <filesystem>

#include "catalogue/TrackFiles.h"

namespace tuho::test {
namespace {

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
  writeBytes(path, songWithId3v1(tag));
  return path;
}

void CatalogueTest::removeSong(const std::string& relative) { std::filesystem::remove(music(relative)); }

SourceRef CatalogueTest::addSource(const std::string& name, MediaType kind, const std::string& relative) {
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
