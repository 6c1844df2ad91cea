// JSON lines for the catalogue's values.
#pragma once

#include <string>

#include "catalogue/TrackItem.h"
#include "platform/Shell.h"

namespace tuho::tuhodb {

std::string sourceJson(const SourceRef& source);
std::string trackJson(const TrackItem& item);
std::string groupJson(const GroupValue& value);
std::string shellJson(const ShellRequest& request);

}  // namespace tuho::tuhodb
