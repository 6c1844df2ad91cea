// Shell verbs on files ("Play", "Enqueue", "open"): the only way the program
// reaches the user's media player. Tests install a ShellRecorder that keeps
// the requests instead of carrying them out.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tuho {

struct ShellRequest {
  std::string verb;
  std::string file;       // file name alone, or the full path
  std::string directory;  // folder that holds it
  intptr_t owner = 0;     // owner window
  bool quiet = false;     // a failure shows no box of the shell's own
  // When given, the wait after "Play" ends as soon as it holds: the player
  // need not settle for tracks nobody will hand it any more.
  const std::atomic<bool>* interrupt = nullptr;
};

// ShellExecuteExA, then a wait until the started player is idle for input
// (at most 400 ms); "Play" waits a further 2 s so that the player has taken
// the file before anything is enqueued behind it.
void shellExecute(const ShellRequest& request);

class ShellRecorder {
 public:
  ShellRecorder();
  ~ShellRecorder();
  ShellRecorder(const ShellRecorder&) = delete;
  ShellRecorder& operator=(const ShellRecorder&) = delete;

  std::vector<ShellRequest> requests() const;
  // Each request then takes this long, as a real player keeps the caller
  // waiting.
  void setDelay(unsigned milliseconds) { delayMs_ = milliseconds; }

 private:
  friend void shellExecute(const ShellRequest&);
  void take(const ShellRequest& request);
  ShellRecorder* previous_;
  mutable std::mutex mutex_;
  std::vector<ShellRequest> requests_;
  std::atomic<unsigned> delayMs_{0};
};

}  // namespace tuho
