#include "storewords.h"

namespace longhand {

std::string storeNoticeText(const StoreNotice& notice) {
    switch (notice.kind) {
    case StoreNotice::Kind::Unreadable:
        return kFacStoreUnreadable + notice.path;
    case StoreNotice::Kind::Unwritable:
        return kFacStoreUnwritable + notice.path;
    case StoreNotice::Kind::Busy:
        return kFacStoreBusy + notice.path;
    case StoreNotice::Kind::Cut:
        return "The factorial store " + notice.path +
               " held damaged records. They were taken out of it and added to the end of " +
               notice.backup + "; every valid record stays in the store.";
    }
    return {};
}

} // namespace longhand
