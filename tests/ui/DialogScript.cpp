#include "DialogScript.h"

namespace tuho::test {

DialogScript* DialogScript::current_ = nullptr;

DialogScript::DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {
  current_ = this;
  timer_ = SetTimer(nullptr, 0, 30, &DialogScript::tick);
}

DialogScript::~DialogScript() {
  KillTimer(nullptr, timer_);
  current_ = nullptr;
}

void CALLBACK DialogScript::tick(HWND, UINT, UINT_PTR, DWORD) {
  DialogScript* self = current_;
  if (!self || self->running_ || self->finished()) return;
  self->running_ = true;
  if (self->steps_[self->next_]()) ++self->next_;
  self->running_ = false;
}

namespace {

struct Search {
  std::string caption;
  HWND owner = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK visit(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (!IsWindowVisible(window)) return TRUE;
  bool match = search->owner ? GetWindow(window, GW_OWNER) == search->owner : textOf(window) == search->caption;
  if (match) search->found = window;
  return match ? FALSE : TRUE;
}

}  // namespace

HWND visibleDialog(const std::string& caption) {
  Search search{caption, nullptr, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ownedWindow(HWND owner) {
  Search search{"", owner, nullptr};
  if (owner) EnumThreadWindows(GetCurrentThreadId(), &visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string textOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

void postCommand(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }

}  // namespace tuho::test
