// Drives modal dialogs from inside their own message loops: the steps run
// one at a time from a thread timer, which every loop on the thread
// dispatches. A step acts (posting, never sending, so it never blocks) and
// returns true when it is done.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tuho::test {

class DialogScript {
 public:
  using Step = std::function<bool()>;
  explicit DialogScript(std::vector<Step> steps);
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;
  bool finished() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  static DialogScript* current_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool running_ = false;
  UINT_PTR timer_ = 0;
};

// A visible dialog of this thread with this caption, or null.
HWND visibleDialog(const std::string& caption);
// A visible window that `owner` owns (a box or dialog it opened), or null.
HWND ownedWindow(HWND owner);
std::string textOf(HWND window);
void postCommand(HWND dialog, int id);

}  // namespace tuho::test
