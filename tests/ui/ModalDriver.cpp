#include "ModalDriver.h"

namespace tuho::test {
namespace {

ModalDriver* gDriver = nullptr;

}  // namespace

ModalDriver::ModalDriver(std::string caption, std::function<void(HWND)> drive)
    : caption_(std::move(caption)), drive_(std::move(drive)) {
  gDriver = this;
  timer_ = SetTimer(nullptr, 0, 30, &ModalDriver::tick);
}

ModalDriver::~ModalDriver() {
  if (timer_) KillTimer(nullptr, timer_);
  if (gDriver == this) gDriver = nullptr;
}

void CALLBACK ModalDriver::tick(HWND, UINT, UINT_PTR, DWORD) {
  ModalDriver* self = gDriver;
  if (!self || self->ran_) return;
  HWND dialog = FindWindowA("#32770", self->caption_.c_str());
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, self->timer_);
  self->timer_ = 0;
  self->ran_ = true;
  self->drive_(dialog);
}

void press(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace tuho::test
