// Track list costs at 1,000, 10,000 and 50,000 rows (or the counts given):
// filling the real list of the main window from the catalogue and sorting
// it by a clicked column, against the floor of inserting the same rows
// into a bare report list view in this process. Figures are ratios within
// one run. Runs under Wine with a display.
//
// usage: list_bench [ROWS...]
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "bench/WindowBenchSupport_win.h"
#include "catalogue/Catalogue.h"
#include "ui/MainWindow.h"
#include "ui/UiIds.h"

namespace {

using tuho::bench::pump;
using tuho::bench::seconds;

tuho::TrackItem track(int number, int sourceId) {
  tuho::TrackItem item;
  item.fileName = "song" + std::to_string(number) + ".mp3";
  item.folder = "\\Album " + std::to_string(number % 401);
  item.source.id = sourceId;
  item.tag.title = "Song " + std::to_string((number * 7919) % 100003);
  item.tag.artist = "Artist " + std::to_string(number % 97);
  item.tag.album = "Album " + std::to_string(number % 401);
  item.tag.genre = "Rock";
  char trackNo[8];
  std::snprintf(trackNo, sizeof trackNo, "%02d", number % 100);
  item.tag.trackNo = trackNo;
  item.tag.comment = "None";
  return item;
}

// The floor: the same rows, texts in four columns, into a bare list view.
// As a child with an image list and row images and data, the list view also
// notifies its parent of each row and keeps each row's image: the rows of
// the real list need both.
double bareInsert(const std::vector<tuho::TrackItem>& tracks, bool likeTheRealList) {
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", (likeTheRealList ? WS_CHILD | WS_VISIBLE : WS_POPUP) | LVS_REPORT,
                              0, 0, 500, 400, likeTheRealList ? parent : nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 3, 0);
  if (likeTheRealList) SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = 100;
    column.pszText = const_cast<char*>("Column");
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  double time = seconds([&] {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (const tuho::TrackItem& item : tracks) {
      LVITEMA row = {};
      row.mask = LVIF_TEXT | (likeTheRealList ? LVIF_IMAGE | LVIF_PARAM : 0);
      row.iItem = INT_MAX;
      row.pszText = const_cast<char*>(item.tag.artist->c_str());
      row.lParam = item.id;
      int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
      const std::string* cells[] = {&*item.tag.album, &*item.tag.trackNo, &*item.tag.title};
      for (int column = 1; column < 4; ++column) {
        LVITEMA cell = {};
        cell.iSubItem = column;
        cell.pszText = const_cast<char*>(cells[column - 1]->c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
      }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  });
  DestroyWindow(list);
  DestroyWindow(parent);
  ImageList_Destroy(images);
  return time;
}

void measure(int count, HINSTANCE instance) {
  tuho::bench::BenchCatalogue bench("tuho-list-bench-" + std::to_string(count));
  tuho::Catalogue& catalogue = bench.catalogue();
  const int sourceId = bench.sourceId();
  std::vector<tuho::TrackItem> tracks;
  for (int i = 0; i < count; ++i) {
    tracks.push_back(track(i, sourceId));
    catalogue.storeTrack(tracks.back(), false);
  }
  double floor = bareInsert(tracks, false);
  double childFloor = bareInsert(tracks, true);
  double query = seconds([&] { catalogue.listTracks(tuho::TrackFilter()); });
  {
    tuho::MainWindow window;
    window.create(instance, SW_HIDE, &catalogue);
    pump();
    tuho::TrackList& list = window.list();
    // The window's first fill (its first tree node) has run; the rows it
    // left go first, timed apart, so that the fill starts from an empty
    // list as the floor does.
    double clear = seconds([&] { list.clear(); });
    double fill = seconds([&] { list.fillList(tuho::TrackFilter()); });
    double sort = seconds([&] { list.sortByColumn(3); });
    // A find that lists every row ("song" is in every title), then sorted as
    // the node's rows were: the same fill through the find.
    double find = seconds([&] {
      list.fillFound("song");
      list.sortByColumn(3);
    });
    const int found = list.rowCount();
    std::printf("%6d rows: floor %.3f s; catalogue query %.3f s; fill+sort %.3f s = %.2fx floor "
                "(%.2fx without the query); title sort %.3f s = %.2fx floor; emptying the list %.3f s; "
                "bare child list with images and data %.3f s = %.2fx floor\n",
                list.rowCount(), floor, query, fill, fill / floor, (fill - query) / floor, sort, sort / floor, clear,
                childFloor, childFloor / floor);
    std::printf("%6d rows: find fill+sort %.3f s = %.2fx floor; node fill+sort %.3f s = %.2fx floor\n", found, find,
                find / floor, fill + sort, (fill + sort) / floor);
  }
}

}  // namespace

int main(int argc, char** argv) {
  tuho::bench::initControls();
  std::vector<int> counts = {1000, 10000, 50000};
  if (argc > 1) counts.clear();
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  for (int count : counts) measure(count, GetModuleHandleA(nullptr));
  return 0;
}
