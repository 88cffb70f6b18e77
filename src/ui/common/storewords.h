// The words of the factorial store's notices, as the windows show them.
#pragma once

#include "store/factorialstore.h"

#include <string>

namespace longhand {

inline constexpr const char* kFacStoreUnwritable = "The factorial store cannot be written: ";
inline constexpr const char* kFacStoreUnreadable =
    "The factorial store cannot be read, so the factorial is computed without it and not "
    "stored: ";
inline constexpr const char* kFacStoreBusy =
    "Another window kept the factorial store busy, so this factorial was not stored: ";

// The working panel's text while another window holds the store's lock.
inline constexpr const char* kFacStoreLockWaitNote =
    "waiting for another window to finish with the factorial store";

// The message box text of a notice.
std::string storeNoticeText(const StoreNotice& notice);

} // namespace longhand
