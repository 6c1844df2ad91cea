// tuhodb commands on the catalogue: sources, scanning, queries and edits,
// each through the same engine calls the program makes.
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "catalogue/SourceLocation.h"
#include "catalogue/TrackFiles.h"
#include "platform/Ansi.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "tools/tuhodb/CatalogueJson.h"
#include "tools/tuhodb/Commands.h"
#include "tools/tuhodb/Json.h"
#include "tools/tuhodb/Session.h"

namespace tuho::tuhodb {
namespace {

const std::vector<std::string> kFilterOptions = {"--genre", "--artist", "--album"};

TrackFilter filterOf(const Options& options) {
  TrackFilter filter;
  if (auto genre = options.get("--genre")) filter.genre = *genre;
  if (auto artist = options.get("--artist")) filter.artist = *artist;
  if (auto album = options.get("--album")) filter.album = *album;
  return filter;
}

bool mediaTypeOf(const std::string& kind, MediaType& type) {
  struct Kind {
    const char* name;
    MediaType type;
  };
  static const Kind kKinds[] = {{"local", MediaType::kLocalFolder}, {"network", MediaType::kNetworkFolder},
                                {"cd", MediaType::kWriteOnce},      {"write-once", MediaType::kWriteOnce},
                                {"udf", MediaType::kRewritable},    {"writeable", MediaType::kRewritable}};
  for (const Kind& known : kKinds) {
    if (kind == known.name) {
      type = known.type;
      return true;
    }
  }
  return false;
}

// A track that could not be changed: either there is none with the id, or
// the store failed (and told why).
int tellNotChanged(Session& session, int id) {
  if (session.catalogue().storeFailed()) {
    std::fprintf(stderr, "tuhodb: the track with the id %d could not be changed\n", id);
  } else {
    std::fprintf(stderr, "tuhodb: no track has the id %d\n", id);
  }
  return 1;
}

// The size of a file, 0 when it cannot be opened.
int64_t bytesOf(const std::string& path) {
  File file;
  int64_t bytes = 0;
  if (!file.open(path, kAccessRead, kShareReadWrite, kOpenExisting) || !file.size(&bytes)) return 0;
  return bytes;
}

void refuse(const std::string& why) { std::fprintf(stderr, "tuhodb: %s\n", consoleText(why).c_str()); }

// The source as the list can keep it, or nothing with the reason told: the
// same names and locations the Add Media wizard accepts.
std::optional<SourceRef> sourceToAdd(const std::string& name, const std::string& path, MediaType type) {
  SourceRef source;
  source.name = keptSourceName(name);
  source.mediaType = type;
  if (std::optional<std::string> why = sourceNameRefusal(source.name)) return refuse(*why), std::nullopt;
  if (std::optional<std::string> why = locationRefusal(path)) return refuse(*why), std::nullopt;
  std::optional<Location> location = splitSourceLocation(path);
  if (!location) {
    refuse(path +
           " is not a full path: give a drive and folder (D:\\Music), a share (\\\\server\\share) "
           "or, outside Windows, a folder from /");
    return std::nullopt;
  }
  source.root = location->root;
  source.folder = location->folder;
  return source;
}

}  // namespace

int runSources(const Args& args) {
  if (!args.empty()) return usage("sources");
  Session session;
  if (!session.open()) return 1;
  for (int i = 0; i < session.sources().count(); ++i) printLine(sourceJson(session.sources().at(i)));
  return 0;
}

int runAddSource(const Args& args) {
  const char* text = "add-source --name NAME --kind local|network|cd|udf|write-once|writeable --path PATH";
  Options options;
  MediaType type = MediaType::kLocalFolder;
  if (!parseOptions(args, {"--name", "--kind", "--path"}, {}, options) || !options.positional.empty() ||
      !options.has("--name") || !options.has("--path") || !mediaTypeOf(options.get("--kind").value_or(""), type)) {
    return usage(text);
  }
  std::optional<SourceRef> source = sourceToAdd(*options.get("--name"), *options.get("--path"), type);
  if (!source) return 1;
  Session session;
  if (!session.open()) return 1;
  if (session.sources().indexOfName(source->name) >= 0) {
    std::fprintf(stderr, "tuhodb: a media source needs a name of its own\n");
    return 1;
  }
  // A source whose scan cannot start is not kept: nothing would find its files.
  const std::string base = sourceFolder(*source);
  if (!folderExists(folderPath(base))) {
    std::fprintf(stderr, "tuhodb: the folder %s cannot be entered; the media source was not added\n",
                 consoleText(base).c_str());
    return 1;
  }
  int index = session.sources().add(*source);
  if (index < 0) {
    std::fprintf(stderr, "tuhodb: the media source list is full\n");
    return 1;
  }
  if (!session.sources().save()) return 1;
  const SourceRef& added = session.sources().at(index);
  printLine(sourceJson(added));
  ProgressLine progress("Found:");
  return session.catalogue().scanSource(added, false, progress.events()) ? 0 : 1;
}

int runRescan(const Args& args) {
  if (args.size() != 1) return usage("rescan NAME");
  Session session;
  if (!session.open()) return 1;
  const SourceRef* source = session.sourceNamed(args[0]);
  if (!source) return 1;
  ProgressLine progress("Found:");
  return session.catalogue().scanSource(*source, true, progress.events()) ? 0 : 1;
}

int runRemove(const Args& args) {
  if (args.size() != 1) return usage("remove NAME");
  Session session;
  if (!session.open()) return 1;
  const SourceRef* source = session.sourceNamed(args[0]);
  if (!source) return 1;
  int id = source->id;
  bool complete = true;
  int removed = session.catalogue().removeSource(id, &complete);
  // A source keeps its entry until every track of it is gone, so that the
  // tracks left can still be reached and removed.
  if (!complete) {
    std::fprintf(stderr, "Removed: %d\n", removed);
    std::fprintf(stderr, "tuhodb: not every track of %s could be removed; the media source stays registered\n",
                 consoleText(source->name).c_str());
    return 1;
  }
  session.sources().removeById(id);
  if (!session.sources().save()) return 1;
  std::fprintf(stderr, "Removed: %d\n", removed);
  return 0;
}

int runTracks(const Args& args) {
  Options options;
  if (!parseOptions(args, kFilterOptions, {}, options) || !options.positional.empty()) {
    return usage("tracks [--genre G] [--artist A] [--album B]");
  }
  Session session;
  if (!session.open()) return 1;
  std::string out;
  const bool read = session.catalogue().forEachTrack(filterOf(options), [&](const TrackItem& item) {
    out += trackJson(item) + "\n";
    return true;
  });
  return printListing(out, read);
}

int runGroups(const Args& args) {
  Options options;
  const char* text = "groups genre|artist|album|media [--genre G] [--artist A] [--album B]";
  if (!parseOptions(args, kFilterOptions, {}, options) || options.positional.size() != 1) return usage(text);
  const std::string& level = options.positional[0];
  const char* const kLevels[] = {"genre", "artist", "album", "media"};
  int groupBy = -1;
  for (int number = 0; number < kGroupLevelCount; ++number) {
    if (level == kLevels[number]) groupBy = number;
  }
  if (groupBy < 0) return usage(text);
  Session session;
  if (!session.open()) return 1;
  for (const GroupValue& value : session.catalogue().groupValues(filterOf(options), groupLevelOf(groupBy)).values) {
    printLine(groupJson(value));
  }
  return 0;
}

// The words are joined as the find box would hold them.
int runFind(const Args& args) {
  if (args.empty()) return usage("find TEXT...");
  std::string text;
  for (const std::string& word : args) text += word + " ";
  Session session;
  if (!session.open()) return 1;
  std::string out;
  for (const TrackItem& item : session.catalogue().findTracks(text)) out += trackJson(item) + "\n";
  return printListing(out, !session.catalogue().storeFailed());
}

// One JSON object: tracks, sources, tracks per source name and per kind,
// and the ready copies with the bytes their files take.
int runStats(const Args& args) {
  if (!args.empty()) return usage("stats");
  Session session;
  if (!session.open()) return 1;
  std::map<std::string, int> perSource, perKind;
  int tracks = 0, ready = 0;
  int64_t readyBytes = 0;
  const bool read = session.catalogue().forEachTrack(TrackFilter(), [&](const TrackItem& item) {
    ++tracks;
    ++perSource[item.source.id != 0 ? item.source.name : std::string()];
    ++perKind[std::to_string(item.source.id != 0 ? static_cast<int>(item.source.mediaType) : -1)];
    if (item.ready == 1) {
      ++ready;
      readyBytes += bytesOf(copyPath(session.catalogue().dataFolder(), item));
    }
    return true;
  });
  auto object = [](const std::map<std::string, int>& counts) {
    std::string json;
    for (const auto& [key, count] : counts)
      json += (json.empty() ? "" : ", ") + jsonString(key) + ": " + std::to_string(count);
    return "{" + json + "}";
  };
  std::string out = "{\"tracks\": " + std::to_string(tracks) +
                    ", \"sources\": " + std::to_string(session.sources().count()) +
                    ", \"perSource\": " + object(perSource) + ", \"perKind\": " + object(perKind) +
                    ", \"ready\": " + std::to_string(ready) + ", \"readyBytes\": " + std::to_string(readyBytes) + "}\n";
  return printListing(out, read);
}

// Every given value goes to every listed track; values not given stay as
// each track has them, as the tag dialog does for several tracks.
int runEdit(const Args& args) {
  Options options;
  const char* text = "edit ID [ID...] [--artist A] [--album B] [--title T] [--genre G] [--track N]";
  if (!parseOptions(args, {"--artist", "--album", "--title", "--genre", "--track"}, {}, options) ||
      options.positional.empty()) {
    return usage(text);
  }
  std::vector<int> ids(options.positional.size());
  for (size_t i = 0; i < ids.size(); ++i) {
    if (!parseId(options.positional[i], ids[i])) return usage(text);
  }
  TagChange change;
  if (auto value = options.get("--artist")) change.artist = *value;
  if (auto value = options.get("--album")) change.album = *value;
  if (auto value = options.get("--title")) change.title = *value;
  if (auto value = options.get("--genre")) change.genre = *value;
  if (auto value = options.get("--track")) change.trackNo = *value;
  Session session;
  if (!session.open()) return 1;
  // The ids before the first that names no track are written as one batch;
  // those after it are left as they are.
  size_t held = 0;
  while (held < ids.size() && !session.catalogue().readTrack(ids[held]).isEmpty()) ++held;
  ids.resize(held + (held < ids.size() ? 1 : 0));
  std::set<int> written;
  for (const auto& [id, tag] : session.catalogue().updateTagsMany(ids, change)) written.insert(id);
  for (int id : ids) {
    if (!written.count(id)) return tellNotChanged(session, id);
    TrackItem item = session.catalogue().readTrack(id);
    if (item.isEmpty()) {
      std::fprintf(stderr, "tuhodb: the track with the id %d was changed but could not be read back\n", id);
      return 1;
    }
    printLine(trackJson(item));
  }
  return 0;
}

int runDelete(const Args& args) {
  int id = 0;
  if (args.size() != 1 || !parseId(args[0], id)) return usage("delete ID");
  Session session;
  if (!session.open()) return 1;
  if (!session.catalogue().deleteTrack(id)) return tellNotChanged(session, id);
  return 0;
}

}  // namespace tuho::tuhodb
