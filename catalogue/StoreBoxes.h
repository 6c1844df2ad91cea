// The boxes the user sees when a store cannot be opened, read or written,
// and when opening mended a damaged store file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Alert.h"
#include "store/StoreErrors.h"

namespace tuho {

extern const char kErrorCaption[];        // "ERROR"
extern const char kMalformedCaption[];    // "DB Malformed Block on Write"
extern const char kReadFailureCaption[];  // "DB Read Failure"

// The box with the path as text and the "DB ..." caption from the error.
int showOpenFailure(const std::string& path, uint32_t error, AlertButtons buttons = kAlertOk);
// "Error op:step:field", an empty line and the request to report it.
std::string storeErrorText(int op, int step, int fieldId);
// What a system error number means, in a few words with the number.
std::string errorReason(uint32_t error);
// "PATH could not be read (REASON). Nothing was changed." under "DB Read Failure".
std::string readFailureText(const std::string& path, uint32_t error);
void showReadFailure(const std::string& path, uint32_t error);

// Shows each failure and repair a store reports. While a job runs, a full
// disk shows no box: the job tells it once at its end, with what it stored.
// "Every record id handed out" is shown once. Not thread-safe: its store's
// owner calls it under the lock that guards the store.
class StoreBoxes final : public StoreReporter {
 public:
  void failed(const StoreFailure& failure) override;
  void repaired(const StoreRepairNote& note) override;
  bool retry(const StoreFailure& failure) override;

  void startJob();
  // True when the disk filled since startJob().
  bool endJob();

 private:
  bool inJob_ = false;
  bool diskFullInJob_ = false;
  bool idsExhaustedShown_ = false;
};

}  // namespace tuho
