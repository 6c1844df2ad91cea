#include <cstdio>

#include "platform/Ansi.h"
#include "platform/Backend.h"

namespace tuho {

// No shell here: the request is told on standard error instead.
void runShellVerb(const ShellRequest& request) {
  std::fprintf(stderr, "shell %s: %s in %s\n", request.verb.c_str(), consoleText(request.file).c_str(),
               consoleText(request.directory).c_str());
}

}  // namespace tuho
