// The boxes a store shows when its file cannot be opened, read or written.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Alert.h"

namespace tuho {

constexpr int kStoreRead = 100;
constexpr int kStoreWrite = 200;

// Error numbers of reads and writes outside the record write steps.
enum StoreErrorStep {
  kErrOpenReserved = 1001,
  kErrOpenCounter = 1002,
  kErrHeaderSeek = 1301,
  kErrHeaderCounter = 1302,
  kErrHeadMagic = 2401,
  kErrHeadByte20 = 2402,
  kErrHeadByte21 = 2403,
  kErrHeadByte22 = 2404,
  kErrHeadReserved = 2405,
  kErrHeadCounter = 2406,
  kErrDeleteSeek = 3101,
  kErrDeleteFlag = 3102,
};

extern const char kErrorCaption[];       // "ERROR"
extern const char kMalformedCaption[];   // "DB Malformed Block on Write"
extern const char kReadFailureCaption[];  // "DB Read Failure"

// The box with the path as text and the "DB ..." caption from the error.
int showOpenFailure(const std::string& path, uint32_t error, AlertButtons buttons = kAlertOk);
// "Error op:step:field", an empty line and the request to report it.
std::string storeErrorText(int op, int step, int fieldId);
void showStoreError(int op, int step, int fieldId);
// What a system error number means, in a few words with the number.
std::string errorReason(uint32_t error);
// "PATH could not be read (REASON). Nothing was changed." under "DB Read Failure".
std::string readFailureText(const std::string& path, uint32_t error);
void showReadFailure(const std::string& path, uint32_t error);
void showMalformedBlock();

}  // namespace tuho
