// The find box and the counts line of the main window: typing lists the
// tracks that hold every word, an empty box or Escape gives the list back
// to the tree's current node, and the counts follow the rows and the
// selection.
#include <string>

#include "catalogue/FindWords.h"
#include "ui/MainWindow.h"
#include "ui/UiIds.h"
#include "ui/kit/Gdi.h"

namespace tuho {
namespace {

// Right of the button strip, which ends at x 510; above the frame at y 54.
constexpr int kFindLeft = 520;
constexpr int kFindTop = 8;
constexpr int kFindWidth = 180;
constexpr int kFindHeight = 22;
constexpr int kCountsTop = 33;
constexpr int kCountsWidth = 240;
constexpr int kCountsHeight = 17;

std::string windowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
  return text;
}

}  // namespace

HWND MainWindow::findBox() const { return GetDlgItem(window_, IDC_FIND_BOX); }

void MainWindow::createFindControls() {
  HWND box = createChild(window_, "EDIT", "", WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kFindLeft, kFindTop,
                         kFindWidth, kFindHeight, IDC_FIND_BOX, instance_);
  HWND counts = createChild(window_, "STATIC", "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kFindLeft, kCountsTop,
                            kCountsWidth, kCountsHeight, IDC_COUNTS, instance_);
  for (HWND control : {box, counts}) setFont(control, viewFont_);
  // The cue shows while the box is empty, also while it has the focus.
  SendMessageW(box, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Find"));
}

bool MainWindow::takeKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  HWND box = findBox();
  if (message.wParam == 'F' && (GetKeyState(VK_CONTROL) & 0x8000) &&
      (message.hwnd == window_ || IsChild(window_, message.hwnd))) {
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 0, -1);
    return true;
  }
  if (message.wParam == VK_ESCAPE && message.hwnd == box) {
    SetWindowTextA(box, "");  // the change gives the list back to the node
    return true;
  }
  return false;
}

void MainWindow::onFindChanged() {
  if (settingFindText_) return;
  const std::string text = windowText(findBox());
  if (!findWordsOf(text).empty()) {
    list_.fillFound(text);
  } else if (list_.showsFind()) {
    tree_.showCurrent();
  }
}

// A node chosen in the tree ends a find: its rows replace the found ones
// and the box empties without finding again.
void MainWindow::showNodeTracks(const TrackFilter& path) {
  if (list_.showsFind() || GetWindowTextLengthA(findBox()) > 0) {
    settingFindText_ = true;
    SetWindowTextA(findBox(), "");
    settingFindText_ = false;
  }
  list_.fillList(path);
}

std::string MainWindow::countsText() const {
  return std::to_string(catalogueTracks_) + " tracks, " + std::to_string(list_.rowCount()) + " listed, " +
         std::to_string(list_.selectedCount()) + " selected";
}

// The catalogue is counted again only when the rows changed (a fill, an
// edit, a deletion, a job's end), and so is the open Media Store's source;
// a selection change costs no count.
void MainWindow::showCounts(bool rowsChanged) {
  if (rowsChanged) {
    catalogueTracks_ = catalogue_->countTracks(TrackFilter());
    mediaStore_.tracksChanged();
  }
  SetDlgItemTextA(window_, IDC_COUNTS, countsText().c_str());
}

// The list tells of every row whose selection changed, thousands at a time
// for Ctrl+A, Shift+End or a click: the first change of a burst sets a
// timer, and the counts line is set once when the burst is over (a timer's
// message comes after every posted message and repaint) instead of
// repainting for each row. A timer takes no place in the queue that could
// run out, and one whose message was taken without being handled fires
// again; when none can be had, the counts are shown at once.
void MainWindow::showSelectedCountSoon() {
  if (countsTimer_) return;
  countsTimer_ = SetTimer(window_, TIMER_SHOW_COUNTS, USER_TIMER_MINIMUM, nullptr) != 0;
  if (!countsTimer_) showCounts(false);
}

}  // namespace tuho
