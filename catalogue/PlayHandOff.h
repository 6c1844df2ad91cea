// Play and enqueue on a thread of their own. Handing one track to the shell
// waits for the player (up to 400 ms, and 2 s more after "Play"), so a node
// of a few hundred tracks handed over on the window's thread would stop the
// window answering for minutes.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "catalogue/Catalogue.h"

namespace tuho {

class PlayHandOff {
 public:
  explicit PlayHandOff(Catalogue& catalogue) : catalogue_(catalogue) {}
  ~PlayHandOff() { stop(); }
  PlayHandOff(const PlayHandOff&) = delete;
  PlayHandOff& operator=(const PlayHandOff&) = delete;

  // Hands the tracks to the shell in the order given: the first with "Play"
  // unless enqueueOnly, every other with "Enqueue". A request that plays
  // replaces whatever still waits, since the player starts afresh with it
  // anyway; a request that only enqueues waits its turn behind the others.
  void request(const std::vector<int>& trackIds, bool enqueueOnly, intptr_t ownerWindow);
  // True while tracks wait or one is being handed over.
  bool busy() const;
  // Drops what waits and cuts short the wait for the player; later requests
  // are ignored. The track being handed over still goes.
  void requestStop();
  // True once the thread has left the catalogue for good (or never started).
  bool ended() const;
  // requestStop, then returns once the thread has ended. Called before the
  // catalogue closes.
  void stop();

 private:
  struct Step {
    int trackId;
    bool play;
    intptr_t owner;
  };
  void run();

  Catalogue& catalogue_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Step> waiting_;
  bool handing_ = false;
  bool stopped_ = false;
  bool ended_ = true;
  // Set when what is being handed over is no longer wanted.
  std::atomic<bool> interrupt_{false};
  std::thread thread_;
};

}  // namespace tuho
