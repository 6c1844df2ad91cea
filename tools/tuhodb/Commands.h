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

}  // namespace tuho::tuhodb
