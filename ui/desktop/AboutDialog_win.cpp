#include "ui/desktop/AboutDialog.h"

#include <cstdio>
#include <vector>

#include "platform/ProgramFolder.h"
#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {
namespace {

constexpr COLORREF kVersionBackground = RGB(244, 243, 243);
constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 250;

// The fixed part of the version resource, or null when there is none whole.
const VS_FIXEDFILEINFO* fixedInfo(const std::vector<BYTE>& block) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", &value, &length)) return nullptr;
  if (!value || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
  auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
  return info->dwSignature == VS_FFI_SIGNATURE ? info : nullptr;
}

}  // namespace

std::string versionText(const std::string& path) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  std::vector<BYTE> block(size);
  const VS_FIXEDFILEINFO* info = nullptr;
  if (size && GetFileVersionInfoA(path.c_str(), 0, size, block.data())) info = fixedInfo(block);
  if (!info) return "Version: ";
  char text[64];
  std::snprintf(text, sizeof text, "Version: %d.%d.%d.%d", HIWORD(info->dwFileVersionMS),
                LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
  return text;
}

bool AboutDialog::run(HINSTANCE instance, HWND parent) {
  if (!background_) background_.reset(CreateSolidBrush(kVersionBackground));
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), parent, dialogProcOf<AboutDialog>,
                         reinterpret_cast<LPARAM>(this)) == 0;
}

namespace {

// The template gives the picture's size in dialog units, which come out
// smaller than the picture with some system fonts: fit the client area to
// the picture's pixels so that none of it is cut off.
void fitToPicture(HWND dialog) {
  RECT outer{0, 0, kPictureWidth, kPictureHeight};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  HWND picture = GetWindow(dialog, GW_CHILD);
  if (picture) SetWindowPos(picture, nullptr, 0, 0, kPictureWidth, kPictureHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void AboutDialog::initialise(HWND dialog) {
  fitToPicture(dialog);
  if (!font_) font_.reset(pointFont(dialog, 8));
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
  HWND version = createChild(dialog, "STATIC", versionText(programPath()).c_str(), WS_VISIBLE, 10, 10, 140, 15,
                             IDC_ABOUT_VERSION, instance);
  setFont(version, font_);
}

INT_PTR AboutDialog::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      initialise(dialog);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_ABOUT_VERSION) return FALSE;
      SetBkColor(reinterpret_cast<HDC>(wParam), kVersionBackground);
      return reinterpret_cast<INT_PTR>(background_.get());
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, 0);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, -1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace tuho
