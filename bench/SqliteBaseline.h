// The same tracks in an in-memory SQLite table without an index: the
// baseline the grouping queries are measured against. Only the benchmark
// links SQLite; the product does not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue/TrackItem.h"

struct sqlite3;

namespace bench {

class SqliteBaseline {
 public:
  explicit SqliteBaseline(const std::vector<tuho::TrackItem>& tracks);
  ~SqliteBaseline();
  SqliteBaseline(const SqliteBaseline&) = delete;
  SqliteBaseline& operator=(const SqliteBaseline&) = delete;

  // Distinct values of a column with their ready summary, as groupValues
  // returns them; the count of values.
  size_t groupBy(const std::string& column);
  // Every column of the tracks of one artist; the count of tracks.
  size_t tracksOf(const std::string& artist);
  // Every column of the tracks that hold each word (ignoring case) in their
  // title, artist, album, genre or file name; the count of tracks.
  size_t find(const std::vector<std::string>& words);
  // The same tracks' ids alone: which tracks, as the index's find answers.
  size_t findIds(const std::vector<std::string>& words);

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace bench
