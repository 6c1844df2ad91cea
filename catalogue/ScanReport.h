// What a scan or rescan tells the user once, at its end, beside the
// progress it showed: that it met no MP3 file at all, or that the user
// cancelled it and how much it stored before.
#pragma once

#include <string>

#include "store/SourceList.h"

namespace tuho {

void tellNothingFound(const SourceRef& source, const std::string& base);
// `stored`: the tracks the job added before it was cancelled, all kept.
void tellScanCancelled(const SourceRef& source, bool rescan, int stored);

}  // namespace tuho
