#include "ui/browse/TrackList.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <iterator>
#include <memory>
#include <set>

#include "ui/kit/ContextMenu.h"

namespace tuho {
namespace {

void setCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

const std::string& cellOf(const TrackRow& row, int column) {
  switch (column) {
    case 0: return row.artist;
    case 1: return row.album;
    case 2: return row.trackNo;
    case 3: return row.title;
    default: return row.media;
  }
}

// Byte order on the rows' own strings: no row is looked up or read back
// from the control, so a sort stays a plain string comparison per step.
int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM column) {
  const std::string& a = cellOf(*reinterpret_cast<const TrackRow*>(first), static_cast<int>(column));
  const std::string& b = cellOf(*reinterpret_cast<const TrackRow*>(second), static_cast<int>(column));
  int order = a.compare(b);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// The keys that move the focus or the selection through the rows.
bool isRowKey(WORD key) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_SPACE: return true;
    default: return false;
  }
}

}  // namespace

void TrackList::attach(HWND control, Catalogue* catalogue, TrackListHooks hooks, const RowImages& images) {
  control_ = control;
  window_ = GetParent(control);  // the owner of what the shell opens
  catalogue_ = catalogue;
  hooks_ = std::move(hooks);
  images_ = images;
}

void TrackList::insertColumns() {
  struct Column {
    const char* header;
    int width;
  };
  const Column columns[] = {{"Artist", 100}, {"Album", 100}, {"#", 30}, {"Title", 255}, {"Media", 100}};
  HWND list = control();
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < 9; ++i) SendMessageA(list, LVM_DELETECOLUMN, 1, 0);
  for (int i = 0; i < columnCount(); ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = columns[i].width;
    column.pszText = const_cast<char*>(columns[i].header);
    column.iSubItem = i;
    bool exists = SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)) != 0;
    if (!exists) SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}

std::array<int, 5> TrackList::readColumnWidths() const {
  std::array<int, 5> widths{};
  for (int i = 0; i < columnCount(); ++i) {
    widths[static_cast<size_t>(i)] = static_cast<int>(SendMessageA(control(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
  }
  return widths;
}

void TrackList::applyColumnWidths(const std::array<int, 5>& widths) {
  for (int i = 0; i < columnCount(); ++i) {
    SendMessageA(control(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(LOWORD(widths[static_cast<size_t>(i)]), 0));
  }
}

int TrackList::imageFor(const TrackRow& row, bool ready) const {
  return ready ? images_.ready : row.folder ? images_.folder : images_.disc;
}

// The row takes what the catalogue says of the track's source and copy.
void TrackList::noteState(TrackRow& row, const TrackItem& item) const {
  row.knownSource = item.source.id != 0;
  row.folder = row.knownSource && isFolderKind(item.source.mediaType);
  row.allows = commandsOf(row.knownSource, row.folder, item.ready == 1);
}

int TrackList::insertRow(const TrackItem& item) {
  auto data = std::make_unique<TrackRow>();
  data->genre = item.tag.genre.value_or("");
  data->trackNo = item.tag.trackNo.value_or("");
  data->artist = item.tag.artist.value_or("");
  data->album = item.tag.album.value_or("");
  data->title = item.tag.title.value_or("");
  data->media = item.source.id != 0 ? item.source.name : std::string();
  data->fileName = item.fileName;
  data->sourceId = item.recordSourceId;
  data->id = item.id;
  noteState(*data, item);
  const int image = imageFor(*data, item.ready == 1);
  return appendRow(std::move(data), image, 0);
}

// The list owns the row's data from here on (freed with LVN_DELETEITEM); a
// row the control refuses frees it at once.
int TrackList::appendRow(std::unique_ptr<TrackRow> data, int image, UINT state) {
  HWND list = control();
  LVITEMA row = {};
  // A state only for a row put back selected or focused: a fill sets none.
  row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | (state ? LVIF_STATE : 0);
  row.iItem = INT_MAX;  // the control puts it at the end
  row.pszText = const_cast<char*>(data->artist.c_str());
  row.iImage = image;
  row.lParam = reinterpret_cast<LPARAM>(data.get());
  row.state = state;
  row.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
  if (index < 0) return index;
  const TrackRow* inserted = data.release();
  for (int column = 1; column < columnCount(); ++column) setCell(list, index, column, cellOf(*inserted, column));
  return index;
}

void TrackList::clear() {
  filter_ = TrackFilter();
  finding_ = false;
  SendMessageA(control(), LVM_DELETEALLITEMS, 0, 0);
  rowsChosen_ = false;
  recountCommands();
}

void TrackList::fillList(const TrackFilter& filter) {
  clear();
  filter_ = filter;
  std::vector<TrackItem> tracks = catalogue_->listTracks(filter);
  if (tracks.empty()) {
    hooks_.emptied();  // a node whose tracks are all gone removes itself
    return;
  }
  fillRows(tracks, 2);
}

void TrackList::fillFound(const std::string& text) {
  clear();
  finding_ = true;
  findWords_ = findWordsOf(text);
  fillRows(catalogue_->findTracks(text), 3);
}

void TrackList::fillRows(const std::vector<TrackItem>& tracks, int sortColumn) {
  HWND list = control();
  if (hooks_.filling) hooks_.filling(true);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListCommands all;
  int listed = 0;
  for (const TrackItem& item : tracks) {
    insertRow(item);
    all |= commandsOf(item);
    if (hooks_.rowsListed) hooks_.rowsListed(++listed);
  }
  sortByColumn(sortColumn);
  if (hooks_.filling) hooks_.filling(false);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  setCommands(all);
}

int TrackList::selectedCount() const { return static_cast<int>(SendMessageA(control(), LVM_GETSELECTEDCOUNT, 0, 0)); }

void TrackList::tellCounts(bool rowsChanged) {
  if (hooks_.countsChanged) hooks_.countsChanged(rowsChanged);
}

void TrackList::recountCommands() {
  ListCommands all;
  for (int row = 0, count = rowCount(); row < count; ++row) {
    if (const TrackRow* data = rowAt(row)) all |= data->allows;
  }
  setCommands(all);
}

// The hook hears of every setting, not only of a change: after a fill the
// strip shows the value afresh even when it is the one it had.
void TrackList::setCommands(const ListCommands& commands) {
  commands_ = commands;
  if (hooks_.commandsChanged) hooks_.commandsChanged();
  tellCounts(true);
}

void TrackList::sortByColumn(int column) {
  SendMessageA(control(), LVM_SORTITEMS, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&compareRows));
}

LRESULT TrackList::onListNotify(NMHDR* notification) {
  switch (notification->code) {
    case LVN_COLUMNCLICK:
      sortByColumn(reinterpret_cast<NMLISTVIEW*>(notification)->iSubItem);
      onClick(notification, false);
      break;
    case NM_CLICK:
      onClick(notification, false);
      break;
    case NM_RCLICK:
      onClick(notification, true);
      break;
    case NM_DBLCLK:
      if (onRowLabel(notification) && hooks_.activated) hooks_.activated();
      break;
    case LVN_KEYDOWN:
      // Moving through the rows chooses them as a click does.
      if (rowCount() > 0 && isRowKey(reinterpret_cast<NMLVKEYDOWN*>(notification)->wVKey)) markRowsChosen();
      break;
    case LVN_DELETEALLITEMS:
      // TRUE: no LVN_DELETEITEM follows; the rows' data is freed by whoever
      // empties the list so.
      return releasing_ ? TRUE : FALSE;
    case LVN_DELETEITEM:
      if (!releasing_) delete reinterpret_cast<TrackRow*>(reinterpret_cast<NMLISTVIEW*>(notification)->lParam);
      break;
    case LVN_ITEMCHANGED:
      // A bulk removal tells the counts once, when it is done.
      if (!bulkRows_ && (reinterpret_cast<NMLISTVIEW*>(notification)->uChanged & LVIF_STATE)) tellCounts(false);
      break;
    default:
      break;
  }
  return 0;
}

bool TrackList::onRowLabel(NMHDR* notification) const {
  LVHITTESTINFO hit = {};
  hit.pt = messagePoint();
  ScreenToClient(notification->hwndFrom, &hit.pt);
  return SendMessageA(control(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0 && (hit.flags & LVHT_ONITEMLABEL);
}

// Only a click on a row's label counts: beside it nothing changes.
void TrackList::onClick(NMHDR* notification, bool withMenu) {
  if (!onRowLabel(notification)) return;
  markRowsChosen();
  if (withMenu) hooks_.rowMenuAt(messagePoint());
}

void TrackList::markRowsChosen() {
  if (rowsChosen_) return;
  rowsChosen_ = true;
  if (hooks_.commandsChanged) hooks_.commandsChanged();
}

// With drawing off: the control would otherwise invalidate each row it
// selects, shown or not; it is drawn once at the end.
void TrackList::selectAll() {
  if (rowCount() == 0) return;
  HWND list = control();
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  markRowsChosen();
}

// The control invalidates every row whose selection a key changes, shown or
// not (Home after Ctrl+A deselects them all, Shift+End selects the rest):
// in a list longer than a screen it handles the key with drawing off and is
// drawn once after. No key runs a loop of its own inside the control.
bool TrackList::takeRowKey(MSG& message) {
  const int kLongList = 100;
  if (message.hwnd != control() || message.message != WM_KEYDOWN || !isRowKey(static_cast<WORD>(message.wParam)) ||
      rowCount() < kLongList) {
    return false;
  }
  HWND list = control();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  TranslateMessage(&message);
  DispatchMessageA(&message);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  return true;
}

// A plain click leaves at most the clicked row selected; the control would
// deselect the others one by one, invalidating each. They are deselected
// here first, with drawing off, and the click then changes one row. The
// click itself goes on to the control as it came.
void TrackList::beforeClick(const MSG& message) {
  const int kManySelected = 100;
  const bool plain = !(message.wParam & (MK_SHIFT | MK_CONTROL));
  if (message.hwnd != control() || message.message != WM_LBUTTONDOWN || !plain || selectedCount() < kManySelected) {
    return;
  }
  HWND list = control();
  LVITEMA none = {};
  none.stateMask = LVIS_SELECTED;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int TrackList::focusedRow() const {
  int row = static_cast<int>(SendMessageA(control(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (row < 0) row = static_cast<int>(SendMessageA(control(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return row;
}

void TrackList::showFocusedRow() {
  if (rowCount() == 0 || SendMessageA(control(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0) return;
  LVITEMA state = {};
  state.stateMask = LVIS_FOCUSED;
  state.state = LVIS_FOCUSED;
  SendMessageA(control(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
}

int TrackList::rowCount() const { return static_cast<int>(SendMessageA(control(), LVM_GETITEMCOUNT, 0, 0)); }

TrackRow* TrackList::rowAt(int row) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(control(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<TrackRow*>(item.lParam);
}

std::unordered_map<int, TrackList::RowAt> TrackList::rowsById() const {
  std::unordered_map<int, RowAt> rows;
  for (int row = 0, count = rowCount(); row < count; ++row) {
    if (TrackRow* data = rowAt(row)) rows.emplace(data->id, RowAt{row, data});
  }
  return rows;
}

// An album is a node below its artist: two artists' albums of one name are
// two groups.
std::string TrackList::albumKey(const std::string& artist, const std::string& album) { return artist + '\x1f' + album; }

void TrackList::ShownValues::add(const TrackRow& row) {
  genres.insert(row.genre);
  artists.insert(row.artist);
  albums.insert(albumKey(row.artist, row.album));
  sourceIds.insert(row.sourceId);
}

TrackList::ShownValues TrackList::shownValues() const {
  ShownValues shown;
  for (int row = 0, count = rowCount(); row < count; ++row) {
    if (const TrackRow* data = rowAt(row)) shown.add(*data);
  }
  return shown;
}

IdList TrackList::collectAllIds() const {
  IdList ids;
  for (int row = 0, count = rowCount(); row < count; ++row) {
    if (const TrackRow* data = rowAt(row)) ids.append(data->id);
  }
  return ids;
}

IdList TrackList::collectSelectedIds() const {
  IdList ids;
  HWND list = control();
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
    if (const TrackRow* data = rowAt(row)) ids.append(data->id);
  }
  return ids;
}

// With drawing off, and with the counts line told once at the end instead
// of at each row's deselection: a list that redraws after each removal
// takes seconds for a few hundred rows. When at least half of the rows go,
// the staying ones are put back into an emptied list instead (an emptying
// costs the control little, a removal more than an insertion); otherwise
// the rows go from the bottom up, so that the indices of those still to go
// hold.
void TrackList::deleteRows(std::vector<int> rows) {
  if (rows.empty()) return;
  HWND list = control();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ++bulkRows_;
  if (2 * rows.size() >= static_cast<size_t>(rowCount())) {
    keepOnlyOthers(rows);
  } else {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) {
      SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
      busy();
    }
  }
  --bulkRows_;
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  // A find's rows are not a node's: the node stays when they all go.
  if (rowCount() == 0 && !finding_) hooks_.emptied();
  recountCommands();
}

// The rows not given stay, in their order, with their data, image,
// selection and focus. The list is emptied without a notice per row: the
// data of the rows that go is freed here.
void TrackList::keepOnlyOthers(const std::vector<int>& going) {
  HWND list = control();
  const int count = rowCount();
  std::vector<bool> goes(static_cast<size_t>(count), false);
  for (int row : going) {
    if (row >= 0 && row < count) goes[static_cast<size_t>(row)] = true;
  }
  struct Kept {
    TrackRow* data;
    int image;
    UINT state;
  };
  std::vector<Kept> kept;
  std::vector<std::unique_ptr<TrackRow>> leaving;
  for (int row = 0; row < count; ++row) {
    const bool stays = !goes[static_cast<size_t>(row)];
    LVITEMA item = {};
    item.mask = LVIF_PARAM | (stays ? LVIF_IMAGE | LVIF_STATE : 0);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) || !item.lParam) continue;
    auto* data = reinterpret_cast<TrackRow*>(item.lParam);
    if (stays) {
      kept.push_back(Kept{data, item.iImage, item.state});
    } else {
      leaving.emplace_back(data);
    }
  }
  releasing_ = true;
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  releasing_ = false;
  int focused = -1;
  for (const Kept& row : kept) {
    int index = appendRow(std::unique_ptr<TrackRow>(row.data), row.image, row.state);
    if (row.state & LVIS_FOCUSED) focused = index;
    busy();
  }
  if (focused >= 0) SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(focused), FALSE);
}

// The catalogue forgets the tracks; their files stay where they are, and a
// rescan brings them back. The emptied groups are looked for in one walk.
void TrackList::deleteSelected() {
  std::vector<int> rows;
  std::vector<int> ids;
  std::vector<TrackFilter> gone;
  HWND list = control();
  if (hooks_.treeBulkChange) hooks_.treeBulkChange(true);
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
    const TrackRow* data = rowAt(row);
    if (!data) continue;
    rows.push_back(row);
    ids.push_back(data->id);
    gone.push_back(TrackFilter{data->genre, data->artist, data->album, data->sourceId});
  }
  // In the order the store holds them: each deletion reads its record, and
  // neighbours share what was read.
  int done = 0;
  std::unordered_set<int> failed;
  for (int id : catalogue_->inStoreOrder(ids)) {
    if (!catalogue_->deleteTrack(id)) failed.insert(id);
    if (hooks_.tracksDeleted) hooks_.tracksDeleted(++done);
  }
  // A track the store could not delete (its box said why) keeps its row
  // and its groups: the list shows what the catalogue holds.
  if (!failed.empty()) {
    size_t kept = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
      if (failed.count(ids[i])) continue;
      rows[kept] = rows[i];
      gone[kept] = gone[i];
      ++kept;
    }
    rows.resize(kept);
    gone.resize(kept);
  }
  deleteRows(std::move(rows));
  if (!gone.empty()) pruneVanished(gone, finding_ || filter_.album ? ShownValues() : shownValues());
  if (hooks_.treeBulkChange) hooks_.treeBulkChange(false);
}

void TrackList::busy() {
  if (hooks_.stillBusy) hooks_.stillBusy();
}

void TrackList::editSelected() {
  IdList ids = collectSelectedIds();
  if (ids.count() > 0) hooks_.editTags(ids);
}

// Each row the job touched shows, and allows, what the catalogue now says
// of its track: a cancelled or failed copy leaves its tracks as they were.
// A track the copy job marked has a ready copy now, which is all that
// changed: its row follows without reading the track again.
void TrackList::refreshAfterJob(const IdList& result) {
  std::unordered_map<int, bool> madeReady;
  for (const IdEntry& entry : result.entries) madeReady[entry.id] = madeReady[entry.id] || entry.mark == 1;
  // The others are read again, all at once in store order.
  std::vector<int> unmarked;
  for (const auto& [id, ready] : madeReady) {
    if (!ready) unmarked.push_back(id);
  }
  std::unordered_map<int, TrackItem> reread;
  for (TrackItem& item : catalogue_->readTracks(unmarked)) reread.emplace(item.id, std::move(item));
  HWND list = control();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (int row = 0, count = rowCount(); row < count; ++row) {
    TrackRow* data = rowAt(row);
    auto touched = data ? madeReady.find(data->id) : madeReady.end();
    if (touched == madeReady.end()) continue;
    bool ready = touched->second;
    if (ready) {
      data->allows = commandsOf(data->knownSource, data->folder, true);
    } else {
      auto item = reread.find(data->id);
      if (item == reread.end()) continue;  // deleted meanwhile: the row goes with the next fill
      noteState(*data, item->second);
      ready = item->second.ready == 1;
    }
    LVITEMA image = {};
    image.mask = LVIF_IMAGE;
    image.iItem = row;
    image.iImage = imageFor(*data, ready);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&image));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  recountCommands();
}

void TrackList::updateRowAfterEdit(const TrackTag& tag, int id) { updateRowsAfterEdit({{id, tag}}); }

// One walk of the rows finds them all by id and, once they have their new
// values, tells which values the staying rows show.
void TrackList::updateRowsAfterEdit(const std::vector<std::pair<int, TrackTag>>& written) {
  const std::unordered_map<int, RowAt> rows = rowsById();
  auto leaves = [](const std::optional<std::string>& filter, const std::optional<std::string>& value) {
    return filter && *filter != value.value_or("");
  };
  std::vector<TrackFilter> olds, news;
  std::vector<int> leaving;
  HWND list = control();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (const auto& [id, tag] : written) {
    busy();
    auto found = rows.find(id);
    if (found == rows.end()) continue;
    const int row = found->second.row;
    TrackRow* data = found->second.data;
    olds.push_back(TrackFilter{data->genre, data->artist, data->album, data->sourceId});
    news.push_back(TrackFilter{tag.genre, tag.artist, tag.album, data->sourceId});
    if (leaves(filter_.genre, tag.genre) || leaves(filter_.artist, tag.artist) || leaves(filter_.album, tag.album)) {
      leaving.push_back(row);
      continue;
    }
    // The tag's four columns; the media column stays as it is.
    const std::optional<std::string>* values[] = {&tag.artist, &tag.album, &tag.trackNo, &tag.title};
    std::string* cells[] = {&data->artist, &data->album, &data->trackNo, &data->title};
    for (size_t column = 0; column < std::size(cells); ++column) {
      std::string value = values[column]->value_or("");
      if (value == *cells[column]) continue;
      *cells[column] = value;
      setCell(list, row, static_cast<int>(column), value);
    }
    data->genre = tag.genre.value_or(data->genre);
    if (finding_ && !rowMatchesFind(*data)) leaving.push_back(row);  // edited out of the find
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  ShownValues staying;
  if (!filter_.album && !olds.empty()) {
    std::unordered_set<int> leavingRows(leaving.begin(), leaving.end());
    for (const auto& entry : rows) {
      if (!leavingRows.count(entry.second.row)) staying.add(*entry.second.data);
    }
  }
  deleteRows(std::move(leaving));
  pruneVanished(olds, staying);
  // The new groups with their source: grouped by media, a new artist or
  // album appears under the source it is on.
  if (hooks_.groupWritten) {
    for (const TrackFilter& path : news) hooks_.groupWritten(path);
  }
}

bool TrackList::rowMatchesFind(const TrackRow& row) const {
  TrackItem item;
  item.tag.title = row.title;
  item.tag.artist = row.artist;
  item.tag.album = row.album;
  item.tag.genre = row.genre;
  item.fileName = row.fileName;
  return trackMatches(item, findWords_);
}

// Groups of the old values that no row shows any more leave the tree. A
// find's rows are only some of each group's tracks: the tree asks the
// catalogue instead.
void TrackList::pruneVanished(const std::vector<TrackFilter>& olds, const ShownValues& shown) {
  if (finding_) {
    std::set<std::vector<std::string>> asked;
    for (const TrackFilter& old : olds) {
      const std::vector<std::string> path = {old.genre.value_or(""), old.artist.value_or(""), old.album.value_or(""),
                                             std::to_string(old.sourceId.value_or(0))};
      if (asked.insert(path).second && hooks_.groupMaybeGone) hooks_.groupMaybeGone(old);
    }
    return;
  }
  if (filter_.album || olds.empty()) return;
  const auto& [genres, artists, albums, sourceIds] = shown;
  std::set<std::vector<std::string>> checked;
  for (const TrackFilter& old : olds) {
    std::vector<std::string> path = {old.genre.value_or(""), old.artist.value_or(""), old.album.value_or(""),
                                     std::to_string(old.sourceId.value_or(0))};
    if (!checked.insert(path).second) continue;
    busy();
    bool genreGone = !filter_.genre && !filter_.artist && !filter_.sourceId && !genres.count(path[0]);
    bool sourceGone =
        !filter_.genre && !filter_.artist && !filter_.sourceId && !sourceIds.count(old.sourceId.value_or(0));
    bool artistGone = !filter_.artist && !artists.count(path[1]);
    bool albumGone = !albums.count(albumKey(path[1], path[2]));
    // Every level whose value went: the tree deletes the highest node on the
    // path it shows at one of them (a genre is no node when grouped by
    // artist, and an artist's album is no node until the artist is opened).
    std::vector<GroupLevel> goneLevels;
    if (genreGone) goneLevels.push_back(LEVEL_GENRE);
    if (sourceGone) goneLevels.push_back(LEVEL_MEDIA);
    if (artistGone) goneLevels.push_back(LEVEL_ARTIST);
    if (albumGone) goneLevels.push_back(LEVEL_ALBUM);
    if (!goneLevels.empty()) hooks_.groupGone(old, goneLevels);
  }
}

}  // namespace tuho
