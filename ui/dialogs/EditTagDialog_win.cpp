#include "ui/dialogs/EditTagDialog.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {

const char kMultipleValues[] = "[Multiple Values]";

namespace {

using TagValue = std::optional<std::string> TrackTag::*;

// The five editable values with their edit boxes.
struct TagBox {
  TagValue value;
  int control;
};
const TagBox kBoxes[] = {{&TrackTag::artist, IDC_TAG_ARTIST},
                         {&TrackTag::album, IDC_TAG_ALBUM},
                         {&TrackTag::title, IDC_TAG_TITLE},
                         {&TrackTag::genre, IDC_TAG_GENRE},
                         {&TrackTag::trackNo, IDC_TAG_TRACK_NUMBER}};
const int kFileLines[] = {IDC_TAG_FILE_LINE1, IDC_TAG_FILE_LINE2, IDC_TAG_FILE_LINE3};

// The whole text of a box, however long.
std::string boxText(HWND dialog, int control) {
  HWND box = GetDlgItem(dialog, control);
  std::string text(static_cast<size_t>(std::max(0, GetWindowTextLengthA(box))) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(box, &text[0], static_cast<int>(text.size()))));
  return text;
}

// A box that still shows what it showed at the start gives back the value
// it was given, byte for byte, whatever the box made of it (a value longer
// than a box once was cut); an edited one gives its whole text.
std::string keptOrEdited(HWND dialog, int control, const std::string& shown, const std::optional<std::string>& given) {
  std::string now = boxText(dialog, control);
  return now == shown ? given.value_or("") : now;
}

// The tag the dialog shows: each value the tracks share, "[Multiple
// Values]" for each in which any two differ (byte for byte).
TrackTag sharedTag(const std::vector<TrackItem>& tracks) {
  TrackTag shown = tracks.front().tag;
  for (size_t i = 1; i < tracks.size(); ++i) {
    for (const TagBox& box : kBoxes) {
      if (tracks[i].tag.*box.value != tracks[i - 1].tag.*box.value) shown.*box.value = kMultipleValues;
    }
  }
  return shown;
}

// The values written: all five for one track; for several only the
// artist, album and genre the user changed.
TagChange changeFrom(const EditTagDialog& dialog, const TrackTag& shown) {
  TagChange change;
  if (dialog.multiple) {
    if (dialog.tag.artist != shown.artist) change.artist = dialog.tag.artist;
    if (dialog.tag.album != shown.album) change.album = dialog.tag.album;
    if (dialog.tag.genre != shown.genre) change.genre = dialog.tag.genre;
    return change;
  }
  change.artist = dialog.tag.artist;
  change.album = dialog.tag.album;
  change.title = dialog.tag.title;
  change.trackNo = dialog.tag.trackNo;
  change.genre = dialog.tag.genre;
  return change;
}

// The tracks of an edit are written in batches of this many: a batch costs
// the disk a few flushes whatever its size, and between batches the
// progress count moves on.
constexpr size_t kTracksPerBatch = 1000;

// Runs the modal dialog (template 104) over the owner: 0 for OK, -1 for Cancel.
bool okayedEditTagDialog(HINSTANCE instance, HWND owner, EditTagDialog& dialog) {
  INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_EDIT_TAG), owner, &dialogProcOf<EditTagDialog>,
                                   reinterpret_cast<LPARAM>(&dialog));
  return result == 0;
}

}  // namespace

INT_PTR EditTagDialog::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      for (int i = 0; i < 3; ++i) SetDlgItemTextA(dialog, kFileLines[i], fileLines[static_cast<size_t>(i)].c_str());
      for (size_t i = 0; i < std::size(kBoxes); ++i) {
        SetDlgItemTextA(dialog, kBoxes[i].control, (tag.*kBoxes[i].value).value_or("").c_str());
        shownBoxes[i] = boxText(dialog, kBoxes[i].control);
      }
      if (multiple) {
        EnableWindow(GetDlgItem(dialog, IDC_TAG_TITLE), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_TAG_TRACK_NUMBER), FALSE);
      }
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDOK) {
        for (size_t i = 0; i < std::size(kBoxes); ++i) {
          tag.*kBoxes[i].value = keptOrEdited(dialog, kBoxes[i].control, shownBoxes[i], tag.*kBoxes[i].value);
        }
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (wParam == IDCANCEL) {
        EndDialog(dialog, -1);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}


void editTags(const EditTagTargets& targets, const IdList& ids) {
  // In store order: the reads and each batch's writes then move through
  // the file rather than about it, so a row costs the same in a long list
  // as in a short one.
  std::vector<int> wanted;
  wanted.reserve(ids.entries.size());
  for (const IdEntry& entry : ids.entries) wanted.push_back(entry.id);
  const std::vector<TrackItem> tracks = targets.catalogue->readTracks(wanted);
  if (tracks.empty()) return;
  EditTagDialog dialog;
  TrackTag shown = sharedTag(tracks);
  dialog.tag = shown;
  dialog.multiple = tracks.size() > 1;
  const TrackItem& first = tracks.front();
  dialog.fileLines = {first.source.id ? first.source.name : std::string(), first.folder, first.fileName};
  if (dialog.multiple) dialog.fileLines = {kMultipleValues, kMultipleValues, kMultipleValues};
  if (!okayedEditTagDialog(targets.instance, targets.owner, dialog)) return;
  TagChange change = changeFrom(dialog, shown);
  std::vector<std::pair<int, TrackTag>> written;
  std::set<std::vector<std::optional<std::string>>> paths;
  if (targets.bulkChange) targets.bulkChange(true);
  for (size_t from = 0; from < tracks.size(); from += kTracksPerBatch) {
    std::vector<int> batch;
    for (size_t i = from; i < std::min(tracks.size(), from + kTracksPerBatch); ++i) batch.push_back(tracks[i].id);
    // A track deleted meanwhile, or a write that failed, leaves the views
    // showing what the catalogue holds.
    for (auto& [id, tag] : targets.catalogue->updateTagsMany(batch, change)) {
      if (paths.insert({tag.genre, tag.artist, tag.album}).second) {
        targets.groupWritten(TrackFilter{tag.genre, tag.artist, tag.album});
      }
      written.emplace_back(id, std::move(tag));
      if (targets.writtenSoFar) targets.writtenSoFar(static_cast<int>(written.size()));
    }
  }
  targets.tracksWritten(written);
  if (targets.bulkChange) targets.bulkChange(false);
}

}  // namespace tuho
