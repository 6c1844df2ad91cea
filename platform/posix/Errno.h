// errno to Win32 error numbers, so that captions come from one table.
#pragma once

#include <cstdint>
#include <string>

namespace tuho {

uint32_t win32FromErrno(int error);
// Sets the thread's last error from errno and returns false, for one-line
// failure paths.
bool failWithErrno();
// As failWithErrno, for an operation on `native`: Win32 tells a missing
// file (2) from a missing folder on the way to it (3).
bool failWithErrnoFor(const std::string& native);

}  // namespace tuho
