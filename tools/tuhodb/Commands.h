// The commands of tuhodb. Each takes the arguments after its name and
// returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace tuho::tuhodb {

using Args = std::vector<std::string>;

int runInit(const Args& args);
int runDump(const Args& args);
int runCheck(const Args& args);
int runCompact(const Args& args);
int runTags(const Args& args);
int runSources(const Args& args);
int runAddSource(const Args& args);
int runRescan(const Args& args);
int runRemove(const Args& args);
int runTracks(const Args& args);
int runGroups(const Args& args);
int runFind(const Args& args);
int runStats(const Args& args);
int runEdit(const Args& args);
int runDelete(const Args& args);
int runReady(const Args& args);
int runUnready(const Args& args);
int runPlay(const Args& args);
int runEnqueue(const Args& args);
int runExport(const Args& args);

}  // namespace tuho::tuhodb
