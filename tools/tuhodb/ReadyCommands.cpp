// tuhodb commands that act on listed tracks: the ready-to-play copy and
// delete jobs, play and enqueue, and exporting the whole catalogue.
#include <cstdio>
#include <memory>

#include "platform/Ansi.h"
#include "platform/Shell.h"
#include "tools/tuhodb/CatalogueJson.h"
#include "tools/tuhodb/Commands.h"
#include "tools/tuhodb/Session.h"

namespace tuho::tuhodb {
namespace {

bool parseIds(const std::vector<std::string>& texts, IdList& ids) {
  for (const std::string& text : texts) {
    int id = 0;
    if (!parseId(text, id)) return false;
    ids.append(id);
  }
  return !texts.empty();
}

void printMarks(const IdList& ids) {
  for (const IdEntry& entry : ids.entries) {
    printLine("{\"id\": " + std::to_string(entry.id) + ", \"mark\": " + std::to_string(entry.mark) + "}");
  }
}

// Answers the locate question with the given place, once per track: a
// second question about the same track means the place did not hold it.
JobEvents withLocateAnswer(JobEvents events, const std::optional<std::string>& place) {
  auto lastAsked = std::make_shared<std::string>();
  events.locateVolume = [place, lastAsked](const SourceRef& source, const std::string& base) {
    std::fprintf(stderr, "Need Volume: %s (%s)\n", consoleText(source.name).c_str(), consoleText(base).c_str());
    if (!place || *lastAsked == base + "|" + source.name) return std::optional<std::string>();
    *lastAsked = *place + "|" + source.name;
    return std::optional<std::string>(*place);
  };
  return events;
}

int runReadyJob(const Args& args, bool copy) {
  Options options;
  IdList ids;
  const char* text = copy ? "ready ID... [--locate PATH]" : "unready ID...";
  if (!parseOptions(args, copy ? std::vector<std::string>{"--locate"} : std::vector<std::string>{}, {}, options) ||
      !parseIds(options.positional, ids)) {
    return usage(text);
  }
  Session session;
  if (!session.open()) return 1;
  ProgressLine progress(copy ? "Copied:" : "Deleted:");
  JobEvents events = progress.events();
  IdList result = copy ? session.catalogue().copyReadyJob(ids, withLocateAnswer(events, options.get("--locate")))
                       : session.catalogue().deleteReadyJob(ids, events);
  printMarks(result);
  return 0;
}

// The track list's commands: "Play" for the first track, "Enqueue" for the
// rest; or "Enqueue" for every track. Each request is printed, and on
// Windows carried out.
int runShellCommand(const Args& args, bool playFirst) {
  IdList ids;
  if (!parseIds(args, ids)) return usage(playFirst ? "play ID..." : "enqueue ID...");
  Session session;
  if (!session.open()) return 1;
  std::vector<ShellRequest> requests;
  {
    ShellRecorder recorder;
    for (int i = 0; i < ids.count(); ++i) {
      int id = ids.entries[static_cast<size_t>(i)].id;
      if (playFirst && i == 0) {
        session.catalogue().playTrack(id, 0);
      } else {
        session.catalogue().enqueueTrack(id, 0);
      }
    }
    requests = recorder.requests();
  }
  for (const ShellRequest& request : requests) {
    printLine(shellJson(request));
#ifdef _WIN32
    shellExecute(request);
#endif
  }
  return 0;
}

}  // namespace

int runReady(const Args& args) { return runReadyJob(args, true); }
int runUnready(const Args& args) { return runReadyJob(args, false); }
int runPlay(const Args& args) { return runShellCommand(args, true); }
int runEnqueue(const Args& args) { return runShellCommand(args, false); }

}  // namespace tuho::tuhodb
