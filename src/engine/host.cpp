#include "host.h"

namespace longhand {

EngineHost& silentHost() {
    static SilentHost host; // holds no state, so sharing it is harmless
    return host;
}

} // namespace longhand
