// Drives modal loops (dialogs, message boxes, popup menus) from inside:
// the steps run one at a time from a timer, which every modal loop on the
// thread dispatches, whatever code opened the loop. A step acts (posting
// rather than sending where a send could block) and returns true when it is
// done; a step that waits returns false and is tried again at the next tick.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tuho::test {

class ModalScript {
 public:
  using Step = std::function<bool()>;
  // The timer belongs to `timerWindow` when one is given (a popup menu's
  // loop dispatches its owner's timers), else to the thread.
  explicit ModalScript(std::vector<Step> steps, HWND timerWindow = nullptr);
  ~ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;
  bool finished() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  static ModalScript* current_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool running_ = false;
  HWND timerWindow_ = nullptr;
  UINT_PTR timer_ = 0;
};

// A step that waits for a visible dialog of this thread with the caption
// and hands it to `act`.
ModalScript::Step onDialog(const std::string& caption, std::function<void(HWND)> act);
// A step that waits for an open popup menu, keeps its entries (text and
// command, top to bottom) and closes it.
ModalScript::Step readMenu(std::vector<std::pair<std::string, UINT>>* entries);

// A visible dialog of this thread with this caption, or null.
HWND visibleDialog(const std::string& caption);
// A visible window that `owner` owns (a box or dialog it opened), or null.
HWND ownedWindow(HWND owner);
std::string textOf(HWND window);
void postCommand(HWND dialog, int id);
// Presses a dialog's button as a click would: WM_COMMAND with BN_CLICKED.
void press(HWND dialog, int id);

}  // namespace tuho::test
