// Genre names by ID3 genre number, shared by both tag versions.
#pragma once

namespace tuho {

struct GenreTable {
  static constexpr int kSlots = 150;
  static constexpr int kCount = 148;  // slots in use; 148 and 149 stay empty

  int count() const { return kCount; }
  // The name in slot `index`; callers check the range with count().
  const char* name(int index) const;
};

// The one read-only table; every reader may use it from any thread.
const GenreTable& genreTable();

}  // namespace tuho
