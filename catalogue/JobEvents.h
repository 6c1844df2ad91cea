// What a long job tells the world while it runs, and what it may ask. The
// worker thread turns these into its notices and dialogs; tests record them.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "store/SourceList.h"

namespace tuho {

struct JobEvents {
  // One call per file worked on, with the running count the progress dialog shows.
  std::function<void(const std::string& fileName, int count)> progress;
  // Asked when a disc is not where the catalogue expects it: the source and
  // the base path it was looked for at. A location to look at instead, or
  // nothing when the user cancels.
  std::function<std::optional<std::string>(const SourceRef& source, const std::string& base)> locateVolume;
  // True when the program is closing: the job stops at the next file.
  std::function<bool()> stopRequested;
  // True when the user cancelled the job: it stops at the next file too,
  // keeps what it stored and says how much that is.
  std::function<bool()> cancelRequested;

  void reportProgress(const std::string& fileName, int count) const {
    if (progress) progress(fileName, count);
  }
  bool cancelled() const { return cancelRequested && cancelRequested(); }
  bool shouldStop() const { return (stopRequested && stopRequested()) || cancelled(); }
};

}  // namespace tuho
