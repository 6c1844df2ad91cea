#include "tools/tuhodb/CatalogueJson.h"

#include "tools/tuhodb/Json.h"

namespace tuho::tuhodb {

std::string sourceJson(const SourceRef& source) {
  return "{\"id\": " + std::to_string(source.id) + ", \"name\": " + jsonString(source.name) +
         ", \"root\": " + jsonString(source.root) + ", \"folder\": " + jsonString(source.folder) +
         ", \"kind\": " + std::to_string(static_cast<int>(source.mediaType)) + "}";
}

std::string trackJson(const TrackItem& item) {
  std::string source = item.source.id != 0 ? jsonString(item.source.name) : "null";
  return "{\"id\": " + std::to_string(item.id) + ", \"ready\": " + std::to_string(item.ready) +
         ", \"file\": " + jsonString(item.fileName) + ", \"folder\": " + jsonString(item.folder) +
         ", \"source\": " + source + ", \"title\": " + jsonOptional(item.tag.title) +
         ", \"artist\": " + jsonOptional(item.tag.artist) + ", \"album\": " + jsonOptional(item.tag.album) +
         ", \"genre\": " + jsonOptional(item.tag.genre) + ", \"track\": " + jsonOptional(item.tag.trackNo) +
         ", \"comment\": " + jsonOptional(item.tag.comment) + "}";
}

std::string groupJson(const GroupValue& value) {
  return "{\"value\": " + jsonString(value.value) + ", \"state\": " + std::to_string(static_cast<int>(value.state)) +
         ", \"kind\": " + std::to_string(static_cast<int>(value.kind)) + "}";
}

std::string shellJson(const ShellRequest& request) {
  return "{\"verb\": " + jsonString(request.verb) + ", \"file\": " + jsonString(request.file) +
         ", \"directory\": " + jsonString(request.directory) + "}";
}

}  // namespace tuho::tuhodb
