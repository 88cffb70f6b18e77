// Asking a cancellation check from the threads of one calculation.
#include "cancel.h"

#include <mutex>

namespace longhand::fast {

bool cancelRequested(const CancelCheck& check) {
    static std::mutex turns;
    const std::lock_guard<std::mutex> lock(turns);
    return check();
}

} // namespace longhand::fast
