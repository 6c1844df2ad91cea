#include <windows.h>

#include "platform/Backend.h"

namespace tuho {

int showSystemAlert(const std::string& text, const std::string& caption, AlertButtons buttons) {
  // A Yes/No question defaults to No, the choice that changes nothing.
  UINT type = buttons == kAlertRetryCancel ? MB_RETRYCANCEL : buttons == kAlertYesNo ? MB_YESNO | MB_DEFBUTTON2 : MB_OK;
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type | MB_SETFOREGROUND | MB_TASKMODAL);
}

}  // namespace tuho
