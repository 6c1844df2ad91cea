#include "store/StoreErrors.h"

#include <cstdio>

#include "platform/OpenFailure.h"

namespace tuho {

const char kErrorCaption[] = "ERROR";
const char kMalformedCaption[] = "DB Malformed Block on Write";

int showOpenFailure(const std::string& path, uint32_t error, AlertButtons buttons) {
  return alert(path, openFailureCaption("DB ", error), buttons);
}

std::string storeErrorText(int op, int step, int fieldId) {
  char head[64];
  std::snprintf(head, sizeof head, "Error %d:%d:%d", op, step, fieldId);
  return std::string(head) +
         "\n\n"
         "Please visit the Brambleward web site\n"
         "and report this error so that we can fix it.";
}

void showStoreError(int op, int step, int fieldId) { alert(storeErrorText(op, step, fieldId), kErrorCaption); }

void showMalformedBlock() { alert(kMalformedCaption, kErrorCaption); }

}  // namespace tuho
