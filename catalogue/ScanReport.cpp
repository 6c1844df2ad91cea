#include "catalogue/ScanReport.h"

#include "platform/Alert.h"

namespace tuho {
namespace {

std::string tracksText(int count, const char* kind) {
  return std::to_string(count) + kind + (count == 1 ? " track was" : " tracks were");
}

}  // namespace

void tellNothingFound(const SourceRef& source, const std::string& base) {
  alert("No MP3 files were found in the media source \"" + source.name + "\":\n" + base, "No MP3 Files");
}

void tellScanCancelled(const SourceRef& source, bool rescan, int stored) {
  std::string text = (rescan ? "The rescan of the media source \"" : "The scan of the media source \"") + source.name +
                     "\" was cancelled: " + tracksText(stored, rescan ? " new" : "") + " stored";
  // A cancelled rescan has not looked for vanished files: it drops none.
  text += rescan ? ", and no track was removed." : ".";
  alert(text, "Scan Cancelled");
}

}  // namespace tuho
