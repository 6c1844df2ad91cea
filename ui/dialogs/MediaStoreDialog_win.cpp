#include "ui/dialogs/MediaStoreDialog.h"

#include <vector>

#include "catalogue/TrackFiles.h"
#include "platform/Alert.h"
#include "platform/FileSystem.h"
#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

struct Placement {
  int id;
  int x, y, width, height;
};

const Placement kControls[] = {
    {IDC_STORE_GROUP, 10, 74, 380, 181}, {IDC_STORE_LIST, 20, 94, 275, 151},  {IDC_STORE_ADD, 305, 94, 75, 25},
    {IDC_STORE_REMOVE, 305, 129, 75, 25}, {IDC_STORE_RESCAN, 305, 220, 75, 25}, {IDC_STORE_CLOSE, 315, 265, 75, 25},
};

const char* kindText(MediaType kind) {
  switch (kind) {
    case MediaType::kLocalFolder: return "Local Folder";
    case MediaType::kNetworkFolder: return "Network Folder";
    case MediaType::kWriteOnce: return "Write Once Disc";
    case MediaType::kRewritable: return "Writeable Disc";
  }
  return "Unknown Kind";
}

std::string tracksText(int tracks) { return std::to_string(tracks) + (tracks == 1 ? " track" : " tracks"); }

std::string removalQuestion(const std::string& name, int tracks) {
  return "Remove the Media Source \"" + name + "\" and its " + tracksText(tracks) + " from the catalogue?";
}

}  // namespace

void MediaStoreDialog::loadBitmaps(HINSTANCE instance) {
  upper_.reset(loadBitmap(instance, IDB_MEDIA_STORE_BANNER));
  lower_.reset(loadBitmap(instance, IDB_MEDIA_STORE_LOWER));
  wizard_.loadBitmaps(instance);
}

bool MediaStoreDialog::open(HINSTANCE instance) {
  if (!host_.sources) return false;
  if (dialog_) {
    SetForegroundWindow(dialog_);
    BringWindowToTop(dialog_);
    return true;
  }
  instance_ = instance;
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MEDIA_STORE), host_.owner,
                                   &dialogProcOf<MediaStoreDialog>, reinterpret_cast<LPARAM>(this));
  if (!dialog) return false;
  ShowWindow(dialog, SW_SHOW);
  return true;
}

void MediaStoreDialog::initialise(HWND dialog) {
  dialog_ = dialog;
  host_.opened();
  skin_.apply(dialog, kWidth, kHeight, upper_, lower_);
  for (const Placement& control : kControls) {
    placeChild(dialog, control.id, control.x, control.y, control.width, control.height);
    setFont(GetDlgItem(dialog, control.id), skin_.font());
  }
  skin_.add("STATIC", "", SS_LEFT | SS_NOPREFIX, 10, 258, 295, 36, IDC_STORE_DETAILS);
  refill();
  jobStateChanged();
}

void MediaStoreDialog::refill() {
  SourceList& sources = *host_.sources;
  SendDlgItemMessageA(dialog_, IDC_STORE_LIST, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < sources.count(); ++i) {
    SendDlgItemMessageA(dialog_, IDC_STORE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sources.at(i).name.c_str()));
  }
  showDetails();
}

void MediaStoreDialog::showDetails() {
  int index = selectedSource();
  std::string text;
  if (index >= 0) {
    const SourceRef& source = host_.sources->at(index);
    TrackFilter filter;
    filter.sourceId = source.id;
    const std::string location = folderPath(sourceFolder(source));  // a whole disc as "D:\"
    // A disc drive without its disc, or a share that does not answer, is
    // not reachable: its tracks play from ready copies only.
    const bool reachable = folderExists(location);
    text = std::string(kindText(source.mediaType)) + ": " + location + "\r\n" +
           tracksText(host_.catalogue->countTracks(filter)) + (reachable ? ", reachable now" : ", not reachable now");
  }
  SetDlgItemTextA(dialog_, IDC_STORE_DETAILS, text.c_str());
}

void MediaStoreDialog::jobStateChanged() {
  if (!dialog_) return;
  showDetails();  // a scan or removal that ended changed the counts
  BOOL idle = host_.jobRunning() ? FALSE : TRUE;
  for (int id : {IDC_STORE_ADD, IDC_STORE_REMOVE, IDC_STORE_RESCAN}) EnableWindow(GetDlgItem(dialog_, id), idle);
}

void MediaStoreDialog::tracksChanged() {
  if (dialog_) showDetails();
}

int MediaStoreDialog::selectedSource() const {
  LRESULT row = SendDlgItemMessageA(dialog_, IDC_STORE_LIST, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR) return -1;
  LRESULT length = SendDlgItemMessageA(dialog_, IDC_STORE_LIST, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length == LB_ERR) return -1;
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  SendDlgItemMessageA(dialog_, IDC_STORE_LIST, LB_GETTEXT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(text.data()));
  return host_.sources->indexOfName(text.data());
}

bool MediaStoreDialog::confirmRemoval(int index) const {
  const SourceRef& source = host_.sources->at(index);
  TrackFilter filter;
  filter.sourceId = source.id;
  return alert(removalQuestion(source.name, host_.catalogue->countTracks(filter)), "Media Store", kAlertYesNo) ==
         kAnswerYes;
}

void MediaStoreDialog::add() {
  SourceList& sources = *host_.sources;
  if (host_.jobRunning()) return;
  if (sources.count() >= kMaxSources) {
    alert("The Media Store is full: it holds " + std::to_string(kMaxSources) +
              " Media Sources. Remove one before adding another.",
          "Media Store");
    return;
  }
  // The wizard is modal to this dialog; the main window waits as well, so
  // that no job starts from its menus while the answers are collected, and
  // "Finish" holds its page while a job still runs.
  EnableWindow(host_.owner, FALSE);
  const bool finished = wizard_.run(instance_, dialog_, sources, host_.jobRunning);
  EnableWindow(host_.owner, TRUE);
  if (!finished) return;
  SourceRef source;
  source.folder = wizard_.folder();
  source.root = wizard_.drive();
  source.mediaType = wizard_.kind();
  source.name = wizard_.name();
  // A source whose scan cannot start is not kept: nothing would find its files.
  const std::string base = sourceFolder(source);
  if (!folderExists(folderPath(base))) {
    alert("The Media Source \"" + source.name + "\" was not added: its folder " + base + " cannot be entered.",
          "Media Store");
    return;
  }
  int index = sources.add(source);
  if (index < 0) return;
  // The list changes, in memory and on disk, only once its scan has started.
  if (!host_.startScan(sources.entry(index))) {
    sources.removeById(sources.at(index).id);
    alert("The Media Source \"" + source.name + "\" was not added: its scan could not be started.", "Media Store");
    return;
  }
  // A failed save has told the user; the list is written with the next one.
  static_cast<void>(sources.save());
  refill();
}

void MediaStoreDialog::remove() {
  SourceList& sources = *host_.sources;
  int index = host_.jobRunning() ? -1 : selectedSource();
  if (index < 0 || !confirmRemoval(index)) return;
  int id = sources.at(index).id;
  if (!host_.startRemoval(id)) return;
  LRESULT row = SendDlgItemMessageA(dialog_, IDC_STORE_LIST, LB_GETCURSEL, 0, 0);
  SendDlgItemMessageA(dialog_, IDC_STORE_LIST, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  sources.removeById(id);
  static_cast<void>(sources.save());  // a failure has told the user
  showDetails();
}

void MediaStoreDialog::rescan() {
  int index = host_.jobRunning() ? -1 : selectedSource();
  if (index < 0) return;
  host_.startRescan(host_.sources->entry(index));
}

void MediaStoreDialog::close() {
  host_.closed();
  skin_.destroy();
  DestroyWindow(dialog_);
}

INT_PTR MediaStoreDialog::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      initialise(dialog);
      return TRUE;
    case WM_COMMAND:
      if (wParam == MAKEWPARAM(IDC_STORE_LIST, LBN_SELCHANGE)) showDetails();
      // The whole wParam: only clicks reach the buttons.
      switch (wParam) {
        case IDC_STORE_ADD: add(); break;
        case IDC_STORE_REMOVE: remove(); break;
        case IDC_STORE_RESCAN: rescan(); break;
        case IDC_STORE_CLOSE:
        case IDCANCEL: close(); break;
        default: break;
      }
      return TRUE;
    case WM_DESTROY:
      dialog_ = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace tuho
