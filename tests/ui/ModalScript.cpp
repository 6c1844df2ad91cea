#include "ModalScript.h"

namespace tuho::test {

ModalScript* ModalScript::current_ = nullptr;

ModalScript::ModalScript(std::vector<Step> steps, HWND timerWindow)
    : steps_(std::move(steps)), timerWindow_(timerWindow) {
  current_ = this;
  timer_ = SetTimer(timerWindow_, timerWindow_ ? 91 : 0, 30, &ModalScript::tick);
}

ModalScript::~ModalScript() {
  KillTimer(timerWindow_, timer_);
  if (current_ == this) current_ = nullptr;
}

void CALLBACK ModalScript::tick(HWND, UINT, UINT_PTR, DWORD) {
  ModalScript* self = current_;
  if (!self || self->running_ || self->finished()) return;
  self->running_ = true;
  if (self->steps_[self->next_]()) ++self->next_;
  self->running_ = false;
}

ModalScript::Step onDialog(const std::string& caption, std::function<void(HWND)> act) {
  return [caption, act] {
    HWND dialog = visibleDialog(caption);
    if (!dialog) return false;
    act(dialog);
    return true;
  };
}

ModalScript::Step readMenu(std::vector<std::pair<std::string, UINT>>* entries) {
  return [entries] {
    HWND window = FindWindowA("#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return false;
    auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      entries->emplace_back(text, GetMenuItemID(menu, i));
    }
    EndMenu();
    return true;
  };
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

void press(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace tuho::test
