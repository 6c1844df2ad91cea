#include "store/StoreErrors.h"

namespace tuho {
namespace {

class SilentReporter final : public StoreReporter {
 public:
  void failed(const StoreFailure&) override {}
  void repaired(const StoreRepairNote&) override {}
  bool retry(const StoreFailure&) override { return false; }
};

}  // namespace

StoreFailure openFailure(const std::string& path, uint32_t error) {
  StoreFailure failure;
  failure.kind = StoreFailure::Kind::kOpen;
  failure.path = path;
  failure.error = error;
  return failure;
}

StoreFailure readFailure(const std::string& path, uint32_t error) {
  StoreFailure failure = openFailure(path, error);
  failure.kind = StoreFailure::Kind::kRead;
  return failure;
}

StoreReporter& silentStoreReporter() {
  static SilentReporter silent;
  return silent;
}

}  // namespace tuho
