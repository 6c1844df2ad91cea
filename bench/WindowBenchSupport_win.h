// What the window benchmarks share: the common controls, a message pump
// that empties the queue, and a fresh catalogue with one folder source in a
// temporary folder, removed again when the bench is done with it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <string>

#include "catalogue/Catalogue.h"

namespace tuho::bench {

inline void initControls() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
}

inline void pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class BenchCatalogue {
 public:
  explicit BenchCatalogue(const std::string& name) : root_(std::filesystem::temp_directory_path() / name) {
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "music");
    sources_.load(root_.string());
    SourceRef source;
    source.root = (root_ / "music").string();
    source.name = "Bench";
    source.mediaType = MediaType::kLocalFolder;
    sourceId_ = sources_.at(sources_.add(source)).id;
    catalogue_ = std::make_unique<Catalogue>(sources_, root_.string());
    catalogue_->open();
  }
  ~BenchCatalogue() {
    catalogue_->close();
    catalogue_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  BenchCatalogue(const BenchCatalogue&) = delete;
  BenchCatalogue& operator=(const BenchCatalogue&) = delete;

  Catalogue& catalogue() { return *catalogue_; }
  SourceList& sources() { return sources_; }
  int sourceId() const { return sourceId_; }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
  SourceList sources_;
  int sourceId_ = 0;
  std::unique_ptr<Catalogue> catalogue_;
};

}  // namespace tuho::bench
