// The caption of the box shown when a file cannot be opened: a prefix that
// says which kind of file ("DB " for a store, "MP3 " for a track) and the
// reason taken from the Win32 error.
#pragma once

#include <cstdint>
#include <string>

namespace tuho {

std::string openFailureCaption(const char* prefix, uint32_t error);

}  // namespace tuho
