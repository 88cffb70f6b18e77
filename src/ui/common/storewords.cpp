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
               " was damaged after its last valid record. The valid records stay in it; the "
               "whole old file is kept as " +
               notice.backup + ".";
    }
    return {};
}

} // namespace longhand
