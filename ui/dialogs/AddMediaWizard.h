// The Add Media wizard: one modal dialog whose three pages (media type,
// location, name) are built and destroyed in code. Its answers, the path
// last picked with Browse and the picked folder's shell item stay from one
// run to the next, so a second run offers the previous location.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "store/SourceList.h"
#include "ui/kit/DialogSkin.h"
#include "platform/win32/ScopedCom.h"
#include "ui/kit/ScopedGdi.h"
#include "ui/dialogs/FolderBrowser.h"

namespace tuho {

constexpr int IDC_WIZARD_NOTES = 2120;
constexpr int IDC_WIZARD_TYPE_FIRST = 2106;  // "Standard CD"
constexpr int IDC_WIZARD_TYPE_LAST = 2111;   // "Other Writeable"
constexpr int IDC_WIZARD_LOCATION = 2112;
constexpr int IDC_WIZARD_BROWSE = 2113;
constexpr int IDC_WIZARD_NAME = 2114;

class AddMediaWizard {
 public:
  enum Page { kTypePage, kLocationPage, kNamePage };

  // The banner and the three page headers, once.
  void loadBitmaps(HINSTANCE instance);
  // True after "Finish", false after "Cancel". Names are checked against sources.
  // While `jobRunning` says so, "Finish" says that the new source cannot be
  // scanned yet and keeps the page, so that no answer is lost.
  bool run(HINSTANCE instance, HWND owner, const SourceList& sources, std::function<bool()> jobRunning = nullptr);
  // How a drive's own name is had (the volume label); tests put a stand-in here.
  std::string (*volumeLabelOf)(const std::string& root) = &volumeLabel;

  // The answers of the last run that ended with "Finish".
  const std::string& name() const { return name_; }
  const std::string& drive() const { return drive_; }
  const std::string& folder() const { return folder_; }
  MediaType kind() const { return kind_; }

  HWND dialog() const { return dialog_; }
  Page page() const { return page_; }

  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void initialise(HWND dialog);
  void onCommand(WPARAM command);
  void next();
  void buildPage(Page page);
  void buildTypePage();
  void buildLocationPage();
  void buildNamePage();
  void leaveTypePage();
  void leaveLocationPage();
  void finish();
  void browse();
  std::string itemText(int id) const;
  HWND addLarge(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id,
                HFONT font);

  HINSTANCE instance_ = nullptr;
  HWND dialog_ = nullptr;
  const SourceList* sources_ = nullptr;
  std::function<bool()> jobRunning_;
  Page page_ = kTypePage;
  DialogSkin skin_;  // the current page's windows
  ScopedBitmap banner_;
  ScopedBitmap headers_[3];
  ScopedFont radioFont_;
  ScopedFont editFont_;
  ScopedItemIdList chosenFolder_;
  std::string chosenPath_;
  std::string rememberedPath_;
  std::string name_;
  std::string drive_;
  std::string folder_;
  MediaType kind_ = MediaType::kWriteOnce;
};

}  // namespace tuho
