#include "tags/Id3v1.h"

#include <cstring>

#include "tags/GenreTable.h"

namespace tuho {
namespace {

constexpr size_t kTitleAt = 3;
constexpr size_t kArtistAt = 33;
constexpr size_t kAlbumAt = 63;
constexpr size_t kCommentAt = 97;
constexpr size_t kTextWidth = 30;
constexpr size_t kTrackAt = 126;
constexpr size_t kGenreAt = 127;

// A 30-byte field up to its first zero byte; an empty field gives no value.
// Trailing spaces stay: they are part of what the tag holds.
void fillText(std::optional<std::string>& value, const uint8_t* field) {
  if (value) return;
  const void* zero = std::memchr(field, 0, kTextWidth);
  size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - field) : kTextWidth;
  if (length > 0) value.emplace(reinterpret_cast<const char*>(field), length);
}

// Bytes 148 to 255 (255 is the usual "no genre") name no genre.
void fillGenre(std::optional<std::string>& value, uint8_t number) {
  if (value || number >= genreTable().count()) return;
  value = genreTable().name(number);
}

// The track byte is taken whether or not the tag marks one, as an unsigned
// number; one digit gets a leading zero so that numbers sort as text.
void fillTrackNo(std::optional<std::string>& value, uint8_t number) {
  if (value) return;
  std::string text = std::to_string(number);
  value = text.size() == 1 ? "0" + text : text;
}

}  // namespace

void fillFromId3v1(const uint8_t* block, size_t size, TrackTag& tag) {
  if (size != kId3v1Size || std::memcmp(block, "TAG", 3) != 0) return;
  fillText(tag.album, block + kAlbumAt);
  fillText(tag.artist, block + kArtistAt);
  fillText(tag.comment, block + kCommentAt);
  fillGenre(tag.genre, block[kGenreAt]);
  fillText(tag.title, block + kTitleAt);
  fillTrackNo(tag.trackNo, block[kTrackAt]);
}

}  // namespace tuho
