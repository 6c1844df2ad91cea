#include <cstdio>

#include "platform/Ansi.h"
#include "platform/Backend.h"

namespace tuho {

// There is no desktop here: the box goes to standard error and gets the
// safe answer.
int showSystemAlert(const std::string& text, const std::string& caption, AlertButtons buttons) {
  std::fprintf(stderr, "%s: %s\n", consoleText(caption).c_str(), consoleText(text).c_str());
  std::fflush(stderr);
  if (buttons == kAlertRetryCancel) return kAnswerCancel;
  if (buttons == kAlertYesNo) return kAnswerNo;
  return kAnswerOk;
}

}  // namespace tuho
