// tuhodb: the command-line companion of the catalogue program. It works on
// the same files with the same code; boxes become "CAPTION: text" lines on
// standard error.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "platform/Alert.h"
#include "platform/Path.h"
#include "tools/tuhodb/Commands.h"
#include "tools/tuhodb/Session.h"

namespace {

using tuho::tuhodb::Args;

struct Command {
  const char* name;
  int (*run)(const Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"init", tuho::tuhodb::runInit, "init DIR                  create the data files as a first start does"},
    {"dump", tuho::tuhodb::runDump, "dump FILE                 print a store file as JSON"},
    {"check", tuho::tuhodb::runCheck, "check FILE                verify a store file's records"},
    {"compact", tuho::tuhodb::runCompact, "compact DIR               close the catalogue in DIR as the program does"},
    {"tags", tuho::tuhodb::runTags, "tags [--stats] FILE...    print the tags of MP3 files as JSON"},
    {"sources", tuho::tuhodb::runSources, "sources                   list the media sources"},
    {"add-source", tuho::tuhodb::runAddSource,
     "add-source --name NAME --kind local|network|cd|udf|write-once|writeable --path PATH"},
    {"rescan", tuho::tuhodb::runRescan, "rescan NAME               rescan a media source"},
    {"remove", tuho::tuhodb::runRemove, "remove NAME               remove a media source and its tracks"},
    {"tracks", tuho::tuhodb::runTracks, "tracks [--genre G] [--artist A] [--album B]"},
    {"groups", tuho::tuhodb::runGroups, "groups genre|artist|album|media [--genre G] [--artist A] [--album B]"},
    {"find", tuho::tuhodb::runFind, "find TEXT...              the tracks holding every word, with their source"},
    {"stats", tuho::tuhodb::runStats, "stats                     counts of tracks, sources, kinds and ready copies"},
    {"edit", tuho::tuhodb::runEdit, "edit ID [ID...] [--artist A] [--album B] [--title T] [--genre G] [--track N]"},
    {"delete", tuho::tuhodb::runDelete, "delete ID                 delete a track from the catalogue"},
    {"ready", tuho::tuhodb::runReady, "ready ID... [--locate PATH]  make disc tracks ready to play"},
    {"unready", tuho::tuhodb::runUnready, "unready ID...             delete ready-to-play copies"},
    {"play", tuho::tuhodb::runPlay, "play ID...                play the first track, enqueue the rest"},
    {"enqueue", tuho::tuhodb::runEnqueue, "enqueue ID...             enqueue the tracks"},
    {"export", tuho::tuhodb::runExport, "export --format m3u|csv   the whole catalogue"},
};

int usage() {
  std::fprintf(stderr,
               "usage: tuhodb [--data DIR] [--drive X=PATH]... COMMAND ...\n"
               "  --data DIR      the data folder (default: the program's own)\n"
               "  --drive X=PATH  outside Windows: drive X: is the folder PATH\n");
  for (const Command& command : kCommands) std::fprintf(stderr, "  tuhodb %s\n", command.usage);
  return 2;
}

// Global options stand before the command. Returns the index of the
// command, -1 for bad usage or -2 for a data folder the catalogue cannot
// name. A drive's folder is the system's own path, taken as it is.
int parseGlobals(int argc, char** argv) {
  int i = 1;
  while (i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-') {
    std::string option = argv[i];
    std::string value = argv[i + 1];
    if (option == "--data") {
      auto folder = tuho::tuhodb::ansiArguments(argc, argv, i + 1, i + 2);
      if (!folder) return -2;
      tuho::tuhodb::globalOptions().dataFolder = folder->front();
    } else if (option == "--drive" && value.size() > 2 && value[1] == '=') {
      tuho::mapDrive(value[0], value.substr(2));
    } else {
      return -1;
    }
    i += 2;
  }
  return i < argc ? i : -1;
}

}  // namespace

int main(int argc, char** argv) {
  int at = parseGlobals(argc, argv);
  if (at == -2) return 2;
  if (at < 0) return usage();
  tuho::useConsoleAlerts();
  std::optional<Args> args = tuho::tuhodb::ansiArguments(argc, argv, at + 1, argc);
  if (!args) return 2;
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[at], command.name) == 0) return tuho::tuhodb::afterSessions(command.run(*args));
  }
  return usage();
}
