#include "SqliteBaseline.h"

#include <sqlite3.h>

namespace bench {
namespace {

const char kSchema[] =
    "CREATE TABLE tracks (id INTEGER, file TEXT, source INTEGER, folder TEXT, title TEXT, artist TEXT,"
    " album TEXT, genre TEXT, trackno TEXT, comment TEXT, ready INTEGER)";

void bindText(sqlite3_stmt* statement, int column, const std::optional<std::string>& text) {
  sqlite3_bind_text(statement, column, text ? text->c_str() : "", -1, SQLITE_TRANSIENT);
}

// Reads every row, copying its texts out as a caller of the catalogue would.
size_t readRows(sqlite3_stmt* statement, std::vector<std::string>& out) {
  size_t rows = 0;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
      const unsigned char* text = sqlite3_column_text(statement, column);
      out.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    ++rows;
  }
  return rows;
}

}  // namespace

SqliteBaseline::SqliteBaseline(const std::vector<tuho::TrackItem>& tracks) {
  sqlite3_open(":memory:", &db_);
  sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr);
  sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db_, "INSERT INTO tracks VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
  for (const tuho::TrackItem& track : tracks) {
    sqlite3_bind_int(insert, 1, track.id);
    sqlite3_bind_text(insert, 2, track.fileName.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 3, track.source.id);
    sqlite3_bind_text(insert, 4, track.folder.c_str(), -1, SQLITE_TRANSIENT);
    bindText(insert, 5, track.tag.title);
    bindText(insert, 6, track.tag.artist);
    bindText(insert, 7, track.tag.album);
    bindText(insert, 8, track.tag.genre);
    bindText(insert, 9, track.tag.trackNo);
    bindText(insert, 10, track.tag.comment);
    sqlite3_bind_int(insert, 11, track.ready);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
}

SqliteBaseline::~SqliteBaseline() { sqlite3_close(db_); }

size_t SqliteBaseline::groupBy(const std::string& column) {
  std::string sql = "SELECT " + column + ", MIN(ready), MAX(ready), MIN(rowid) FROM tracks GROUP BY " + column;
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr);
  std::vector<std::string> out;
  size_t rows = readRows(statement, out);
  sqlite3_finalize(statement);
  return rows;
}

size_t SqliteBaseline::tracksOf(const std::string& artist) {
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db_, "SELECT * FROM tracks WHERE artist = ?", -1, &statement, nullptr);
  sqlite3_bind_text(statement, 1, artist.c_str(), -1, SQLITE_TRANSIENT);
  std::vector<std::string> out;
  size_t rows = readRows(statement, out);
  sqlite3_finalize(statement);
  return rows;
}

namespace {

// LIKE ignores the case of ASCII letters, as the find does.
sqlite3_stmt* prepareFind(sqlite3* db, const char* columns, const std::vector<std::string>& words) {
  std::string sql = std::string("SELECT ") + columns + " FROM tracks WHERE 1";
  for (size_t i = 1; i <= words.size(); ++i) {
    const std::string word = "?" + std::to_string(i);
    sql += " AND (title LIKE " + word + " OR artist LIKE " + word + " OR album LIKE " + word + " OR genre LIKE " +
           word + " OR file LIKE " + word + ")";
  }
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
  for (size_t i = 0; i < words.size(); ++i) {
    sqlite3_bind_text(statement, static_cast<int>(i + 1), ("%" + words[i] + "%").c_str(), -1, SQLITE_TRANSIENT);
  }
  return statement;
}

}  // namespace

size_t SqliteBaseline::find(const std::vector<std::string>& words) {
  sqlite3_stmt* statement = prepareFind(db_, "*", words);
  std::vector<std::string> out;
  size_t rows = readRows(statement, out);
  sqlite3_finalize(statement);
  return rows;
}

size_t SqliteBaseline::findIds(const std::vector<std::string>& words) {
  sqlite3_stmt* statement = prepareFind(db_, "id", words);
  std::vector<int> ids;
  while (sqlite3_step(statement) == SQLITE_ROW) ids.push_back(sqlite3_column_int(statement, 0));
  sqlite3_finalize(statement);
  return ids.size();
}

}  // namespace bench
