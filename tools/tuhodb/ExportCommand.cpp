// tuhodb export: the whole catalogue as an M3U playlist of full paths or as
// CSV, texts in UTF-8.
#include <cstdio>

#include "catalogue/Catalogue.h"
#include "catalogue/TrackFiles.h"
#include "platform/Ansi.h"
#include "platform/Path.h"
#include "tools/tuhodb/Commands.h"
#include "tools/tuhodb/Session.h"

namespace tuho::tuhodb {
namespace {

// Where the program plays the track from, in UTF-8; a track it cannot play
// is listed where its file was. The system's own path on POSIX is UTF-8
// already.
std::string playablePath(const std::string& dataFolder, const TrackItem& item) {
  std::string path = nativePath(inFolder(playFrom(dataFolder, item).value_or(trackFolder(item)), item.fileName));
#ifdef _WIN32
  return utf8FromAnsi(path);
#else
  return path;
#endif
}

std::string csvField(const std::string& ansi) {
  std::string out = "\"";
  for (char c : utf8FromAnsi(ansi)) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string csvRow(const TrackItem& item) {
  const TrackTag& tag = item.tag;
  std::string row = std::to_string(item.id) + "," + std::to_string(item.ready);
  for (const std::string& text : {item.fileName, item.folder, item.source.name, tag.title.value_or(""),
                                  tag.artist.value_or(""), tag.album.value_or(""), tag.genre.value_or(""),
                                  tag.trackNo.value_or(""), tag.comment.value_or("")}) {
    row += "," + csvField(text);
  }
  return row;
}

std::string m3uEntry(const std::string& dataFolder, const TrackItem& item) {
  std::string title = item.tag.artist.value_or("") + " - " + item.tag.title.value_or("");
  return "#EXTINF:-1," + utf8FromAnsi(title) + "\n" + playablePath(dataFolder, item);
}

}  // namespace

int runExport(const Args& args) {
  Options options;
  if (!parseOptions(args, {"--format"}, {}, options) || !options.positional.empty()) {
    return usage("export --format m3u|csv");
  }
  std::string format = options.get("--format").value_or("");
  if (format != "m3u" && format != "csv") return usage("export --format m3u|csv");
  Session session;
  if (!session.open()) return 1;
  Catalogue& catalogue = session.catalogue();
  std::string out =
      format == "m3u" ? "#EXTM3U\n" : "id,ready,file,folder,source,title,artist,album,genre,track,comment\n";
  const bool read = catalogue.forEachTrack(TrackFilter(), [&](const TrackItem& item) {
    out += (format == "m3u" ? m3uEntry(catalogue.dataFolder(), item) : csvRow(item)) + "\n";
    return true;
  });
  return printListing(out, read);
}

}  // namespace tuho::tuhodb
