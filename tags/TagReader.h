// Reads the tags of one MP3 file: the ID3v2 tag at its start, then the ID3v1
// tag in its last 128 bytes for the values the ID3v2 tag did not supply. The
// file is only ever read.
#pragma once

#include <cstdint>
#include <string>

#include "platform/File.h"
#include "tags/TrackTag.h"

namespace tuho {

// The state of one read; made anew for every file. Genre names come from the
// shared read-only genreTable().
struct TagReader {
  File file;
  TrackTag tag;
  int version = 0;  // major version byte of the ID3v2 tag; 0 until read
  int done = 0;     // 1 once an ID3v2 tag of a supported version was read
};

// Reads the file's tags into `tag`, replacing its values, and sets filled to 1.
// False when the file cannot be opened: `tag` is then unchanged and
// *openError (when given) holds the Win32 error.
bool readTag(const std::string& fullPath, TrackTag& tag, uint32_t* openError = nullptr);

// The box caption for a music file that could not be opened ("MP3 ...").
std::string trackOpenFailureCaption(uint32_t error);

}  // namespace tuho
