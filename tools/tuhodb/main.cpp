// tuhodb: the command-line companion of the catalogue program. It works on
// the same files with the same code; boxes become "CAPTION: text" lines on
// standard error.
#include <cstdio>
#include <cstring>

#include "platform/Alert.h"
#include "tools/tuhodb/Commands.h"

namespace {

using tuho::tuhodb::Args;

struct Command {
  const char* name;
  int (*run)(const Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"init", tuho::tuhodb::runInit, "init DIR            create the data files as a first start does"},
    {"dump", tuho::tuhodb::runDump, "dump FILE           print a store file as JSON"},
    {"check", tuho::tuhodb::runCheck, "check FILE          verify a store file's records"},
    {"compact", tuho::tuhodb::runCompact, "compact DIR         close the catalogue in DIR as the program does"},
    {"tags", tuho::tuhodb::runTags, "tags [--stats] FILE...  print the tags of MP3 files as JSON"},
};

int usage() {
  std::fprintf(stderr, "usage: tuhodb COMMAND ...\n");
  for (const Command& command : kCommands) std::fprintf(stderr, "  tuhodb %s\n", command.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  tuho::useConsoleAlerts();
  Args args(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(args);
  }
  return usage();
}
