#include "ui/browse/TrackList.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "ui/SkinStrip.h"
#include "ui/UiIds.h"

namespace tuho {
namespace {

// Rows keep the record id as their item data.
LPARAM rowData(int id) { return static_cast<LPARAM>(id); }

void setCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Rows run by track number: "2" before "10", and "2/12" as 2.
bool byTrackNumber(const TrackItem& a, const TrackItem& b) {
  const std::string& left = a.tag.trackNo.value_or("");
  const std::string& right = b.tag.trackNo.value_or("");
  long leftNumber = std::strtol(left.c_str(), nullptr, 10);
  long rightNumber = std::strtol(right.c_str(), nullptr, 10);
  return leftNumber != rightNumber ? leftNumber < rightNumber : left < right;
}

}  // namespace

void TrackList::attach(HWND mainWindow, HINSTANCE instance, Catalogue* catalogue, SkinStrip* strip, int* listFlag) {
  window_ = mainWindow;
  instance_ = instance;
  catalogue_ = catalogue;
  strip_ = strip;
  listFlag_ = listFlag;
}

HWND TrackList::control() const { return GetDlgItem(window_, IDC_LIST); }

void TrackList::insertColumns() {
  struct Column {
    const char* header;
    int width;
  };
  const Column columns[] = {{"Artist", 100}, {"Album", 100}, {"#", 30}, {"Title", 255}};
  HWND list = control();
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = columns[i].width;
    column.pszText = const_cast<char*>(columns[i].header);
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

int TrackList::imageFor(const TrackItem& item) const {
  if (item.ready == 1) return readyImage;
  return isFolderKind(item.source.mediaType) ? folderImage : normalImage;
}

int TrackList::insertRow(const TrackItem& item) {
  HWND list = control();
  std::string artist = item.tag.artist.value_or("");
  LVITEMA row = {};
  row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  row.iItem = rowCount();
  row.pszText = const_cast<char*>(artist.c_str());
  row.iImage = imageFor(item);
  row.lParam = rowData(item.id);
  int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
  if (index < 0) return index;
  setCell(list, index, 1, item.tag.album.value_or(""));
  setCell(list, index, 2, item.tag.trackNo.value_or(""));
  setCell(list, index, 3, item.tag.title.value_or(""));
  return index;
}

void TrackList::fillList(const TrackFilter& filter) {
  strip_->reset();
  *listFlag_ = 0;
  filter_ = filter;
  HWND list = control();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  bool playable = false;
  bool canMakeReady = false;
  std::vector<TrackItem> tracks = catalogue_->listTracks(filter);
  std::stable_sort(tracks.begin(), tracks.end(), byTrackNumber);
  for (const TrackItem& item : tracks) {
    bool folder = isFolderKind(item.source.mediaType);
    playable = playable || folder || item.ready == 1;
    if (item.ready == 1 && !folder) *listFlag_ = 1;
    if (item.ready != 1 && !folder) canMakeReady = true;
    insertRow(item);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  if (playable) {
    strip_->enable(BTN_PLAY_ALL);
    strip_->enable(BTN_ENQUEUE_ALL);
  }
  if (canMakeReady) strip_->enable(BTN_READY_ALL);
}

LRESULT TrackList::onListNotify(NMHDR* notification) {
  if (notification->code == NM_CLICK || notification->code == NM_RCLICK) {
    auto* activate = reinterpret_cast<NMITEMACTIVATE*>(notification);
    if (activate->iItem >= 0) strip_->enableSelectionButtons();
  }
  return 0;
}

int TrackList::rowCount() const { return static_cast<int>(SendMessageA(control(), LVM_GETITEMCOUNT, 0, 0)); }

int TrackList::idAt(int row) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(control(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return static_cast<int>(item.lParam);
}

IdList TrackList::collectAllIds() const {
  IdList ids;
  for (int row = 0; row < rowCount(); ++row) ids.append(idAt(row));
  return ids;
}

IdList TrackList::collectSelectedIds() const {
  IdList ids;
  HWND list = control();
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
    ids.append(idAt(row));
  }
  return ids;
}

void TrackList::playItems(bool selectedOnly, bool enqueueOnly) {
  IdList ids = selectedOnly ? collectSelectedIds() : collectAllIds();
  for (int i = 0; i < ids.count(); ++i) {
    int id = ids.entries[static_cast<size_t>(i)].id;
    if (i == 0 && !enqueueOnly) {
      catalogue_->playTrack(id, reinterpret_cast<intptr_t>(window_));
    } else {
      catalogue_->enqueueTrack(id, reinterpret_cast<intptr_t>(window_));
    }
  }
}

bool TrackList::refreshRowImages(const IdList& result) {
  bool changed = false;
  HWND list = control();
  for (int row = 0; row < rowCount(); ++row) {
    int id = idAt(row);
    int index = result.indexOf(id);
    if (index < 0) continue;
    LVITEMA image = {};
    image.mask = LVIF_IMAGE;
    image.iItem = row;
    // A track the job did not make ready shows what the catalogue now says.
    bool ready = result.entries[static_cast<size_t>(index)].mark == 1;
    image.iImage = ready ? readyImage : imageFor(catalogue_->readTrack(id));
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&image));
    changed = true;
  }
  if (changed) {
    strip_->enable(BTN_PLAY_ALL);
    strip_->enable(BTN_ENQUEUE_ALL);
  }
  return changed;
}

}  // namespace tuho
