// Field ids of the store's own records: the header record and the media
// source records. (Track record fields belong to the catalogue.)
#pragma once

namespace tuho {

constexpr int FLD_STORE_NAME = 100;
constexpr int FLD_STORE_FORMAT = 101;
constexpr int FLD_STORE_FLAGS = 102;
constexpr int FLD_CATALOGUE_A = 1000;
constexpr int FLD_CATALOGUE_B = 1001;
// In the source list's header record: the highest source id ever handed out
// (0 in lists written before it was kept, whose highest entry stands for it).
constexpr int FLD_SOURCES_A = 1010;

constexpr int FLD_SOURCE_NAME = 200;
constexpr int FLD_SOURCE_MEDIA = 300;
constexpr int FLD_SOURCE_ROOT = 302;
constexpr int FLD_FOLDER = 303;
constexpr int FLD_SOURCE_ID = 1200;

extern const char kStoreName[];  // "Jukebin"

}  // namespace tuho
