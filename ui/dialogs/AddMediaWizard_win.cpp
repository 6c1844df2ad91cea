#include "ui/dialogs/AddMediaWizard.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "catalogue/SourceLocation.h"
#include "platform/Alert.h"
#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/kit/WindowAttach.h"
#include "ui/dialogs/FolderBrowser.h"

namespace tuho {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 350;
constexpr int kTextChars = 511;

struct MediaChoice {
  int id;
  const char* text;
  MediaType kind;
  int y;
  int height;
};

const MediaChoice kChoices[] = {
    {2106, "Standard CD", MediaType::kWriteOnce, 165, 14},
    {2107, "Local Folder", MediaType::kLocalFolder, 185, 14},
    {2108, "Network Folder", MediaType::kNetworkFolder, 205, 14},
    {2109, "UDF Formated CD", MediaType::kRewritable, 225, 14},
    {2110, "Other Write Once", MediaType::kWriteOnce, 245, 15},
    {2111, "Other Writeable", MediaType::kRewritable, 265, 14},
};

struct PageText {
  int header;
  const char* notes;
  const char* box;
  int boxHeight;
};

const PageText kPages[] = {
    {IDB_ADD_MEDIA_TYPE, "Please select the media type...", "Types", 160},
    {IDB_ADD_MEDIA_LOCATION, "Browse to the folder containing the MP3's.\nSub-Folders will also be scanned.",
     "Location", 85},
    {IDB_ADD_MEDIA_NAME,
     "Please give the Media Source an appropriate name.\nYou will use this name to identify the CD or Folder.", "Name",
     85},
};

void whoops(const std::string& text) { alert(text, "Whoops"); }
void pleaseChooseAFolder() { whoops("Please choose a folder"); }

}  // namespace

void AddMediaWizard::loadBitmaps(HINSTANCE instance) {
  banner_.reset(loadBitmap(instance, IDB_ADD_MEDIA_BANNER));
  for (int page = 0; page < 3; ++page) headers_[page].reset(loadBitmap(instance, kPages[page].header));
}

bool AddMediaWizard::run(HINSTANCE instance, HWND owner, const SourceList& sources, std::function<bool()> jobRunning) {
  instance_ = instance;
  sources_ = &sources;
  jobRunning_ = std::move(jobRunning);
  page_ = kTypePage;
  INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ADD_MEDIA), owner, &dialogProcOf<AddMediaWizard>,
                                   reinterpret_cast<LPARAM>(this));
  return result == 0;
}

void AddMediaWizard::initialise(HWND dialog) {
  dialog_ = dialog;
  if (!radioFont_) radioFont_.reset(pointFont(dialog, 10));
  if (!editFont_) editFont_.reset(pointFont(dialog, 12));
  placeChild(dialog, IDOK, 315, 315, 75, 25);
  placeChild(dialog, IDCANCEL, 230, 315, 75, 25);
  buildPage(kTypePage);
}

HWND AddMediaWizard::addLarge(const char* className, const char* text, DWORD style, int x, int y, int width,
                              int height, int id, HFONT font) {
  HWND control = skin_.add(className, text, style, x, y, width, height, id);
  setFont(control, font);
  return control;
}

void AddMediaWizard::buildPage(Page page) {
  page_ = page;
  const PageText& text = kPages[page];
  skin_.apply(dialog_, kWidth, kHeight, banner_, headers_[page]);
  skin_.add("BUTTON", "Notes", BS_GROUPBOX, 10, 74, 380, 55, -1);
  skin_.add("STATIC", text.notes, SS_LEFT, 20, 94, 360, 25, IDC_WIZARD_NOTES);
  skin_.add("BUTTON", text.box, BS_GROUPBOX, 10, 139, 380, text.boxHeight, -1);
  skin_.add("STATIC", nullptr, SS_ETCHEDHORZ, 0, 307, 405, 2, -1);
  if (page == kTypePage) buildTypePage();
  if (page == kLocationPage) buildLocationPage();
  if (page == kNamePage) buildNamePage();
}

void AddMediaWizard::buildTypePage() {
  for (const MediaChoice& choice : kChoices) {
    addLarge("BUTTON", choice.text, BS_RADIOBUTTON | WS_TABSTOP, 125, choice.y, 200, choice.height, choice.id,
             radioFont_);
  }
  CheckDlgButton(dialog_, kChoices[0].id, BST_CHECKED);
}

void AddMediaWizard::buildLocationPage() {
  addLarge("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 20, 170, 265, 25, IDC_WIZARD_LOCATION, editFont_);
  skin_.add("BUTTON", "Browse", BS_PUSHBUTTON | WS_TABSTOP, 295, 170, 75, 25, IDC_WIZARD_BROWSE);
  SendDlgItemMessageA(dialog_, IDC_WIZARD_LOCATION, EM_LIMITTEXT, kTextChars, 0);
}

void AddMediaWizard::buildNamePage() {
  addLarge("EDIT", "New CD", ES_MULTILINE | ES_AUTOHSCROLL | WS_TABSTOP, 20, 170, 360, 25, IDC_WIZARD_NAME,
           editFont_);
  SendDlgItemMessageA(dialog_, IDC_WIZARD_NAME, EM_LIMITTEXT, kTextChars, 0);
  SetDlgItemTextA(dialog_, IDC_WIZARD_NAME, name_.c_str());
}

// The whole text of a box, however long: a text longer than the box
// should hold (set from outside, pasted) is refused with its limit, not cut.
std::string AddMediaWizard::itemText(int id) const {
  HWND box = GetDlgItem(dialog_, id);
  std::string text(static_cast<size_t>(std::max(0, GetWindowTextLengthA(box))) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(box, &text[0], static_cast<int>(text.size()))));
  return text;
}

void AddMediaWizard::browse() {
  PickedFolder picked = browseForFolder(dialog_);
  if (!picked.item) return;
  chosenFolder_ = std::move(picked.item);
  chosenPath_ = picked.path;
  rememberedPath_ = picked.path;
  SetDlgItemTextA(dialog_, IDC_WIZARD_LOCATION, picked.path.c_str());
}

void AddMediaWizard::leaveTypePage() {
  for (const MediaChoice& choice : kChoices) {
    if (IsDlgButtonChecked(dialog_, choice.id) == BST_CHECKED) kind_ = choice.kind;
  }
  skin_.destroy();
  buildPage(kLocationPage);
  if (!rememberedPath_.empty()) {
    SetDlgItemTextA(dialog_, IDC_WIZARD_LOCATION, rememberedPath_.c_str());
  } else {
    // Once the page is shown, the folder browser opens by itself.
    PostMessageA(dialog_, WM_COMMAND, IDC_WIZARD_BROWSE, 0);
  }
}

void AddMediaWizard::leaveLocationPage() {
  std::string location = itemText(IDC_WIZARD_LOCATION);
  if (std::optional<std::string> why = locationRefusal(location)) return whoops(*why);
  std::optional<Location> split = location.size() < 2 ? std::nullopt : splitSourceLocation(location);
  if (!split) return pleaseChooseAFolder();
  drive_ = split->root;
  folder_ = split->folder;
  // The shell's name fits only while the box still holds the browsed folder;
  // a drive typed by hand is looked up by its path.
  std::optional<std::string> shellName;
  std::string label;
  if (chosenFolder_ && location == chosenPath_) shellName = shellDisplayName(chosenFolder_);
  if (isWholeDrive(location)) {
    label = volumeLabelOf(drive_);
    if (label.empty() && !shellName) shellName = shellDisplayNameOfPath(drive_ + "\\");
  }
  // Without one (it may have characters the code page lacks) the folder's name serves.
  if (shellName && shellName->empty()) shellName.reset();
  name_ = suggestedSourceName(location, shellName, label);
  skin_.destroy();
  buildPage(kNamePage);
  SetDlgItemTextA(dialog_, IDOK, "Finish");
}

void AddMediaWizard::finish() {
  // Kept without outer spaces, so that "x" and "x " are one name.
  name_ = keptSourceName(itemText(IDC_WIZARD_NAME));
  if (std::optional<std::string> why = sourceNameRefusal(name_)) return whoops(*why);
  if (sources_->indexOfName(name_) >= 0) {
    alert("A Media Source already exists with this name", "Whoops");
  } else if (jobRunning_ && jobRunning_()) {
    alert("The new Media Source cannot be scanned while another job runs.\nPress Finish again once it has ended.",
          "Whoops");
  } else {
    EndDialog(dialog_, 0);
  }
}

void AddMediaWizard::next() {
  switch (page_) {
    case kTypePage: leaveTypePage(); break;
    case kLocationPage: leaveLocationPage(); break;
    case kNamePage: finish(); break;
  }
}

void AddMediaWizard::onCommand(WPARAM command) {
  if (command >= IDC_WIZARD_TYPE_FIRST && command <= IDC_WIZARD_TYPE_LAST) {
    for (const MediaChoice& choice : kChoices) CheckDlgButton(dialog_, choice.id, BST_UNCHECKED);
    CheckDlgButton(dialog_, static_cast<int>(command), BST_CHECKED);
  } else if (command == IDC_WIZARD_BROWSE && page_ == kLocationPage) {
    browse();
  } else if (command == IDCANCEL) {
    EndDialog(dialog_, -1);
  } else if (command == IDOK) {
    next();
  }
}

INT_PTR AddMediaWizard::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      initialise(dialog);
      return TRUE;
    case WM_COMMAND:
      onCommand(wParam);  // the whole wParam: only clicks and the dialog's own commands
      return TRUE;
    case WM_DESTROY:
      skin_.destroy();
      dialog_ = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace tuho
