#include "platform/com.h"

namespace platform::com {
namespace {
thread_local int depth = 0;
}

void Initialize() {
    ++depth;
}

void Uninitialize() {
    if (depth > 0) {
        --depth;
    }
}

int Depth() {
    return depth;
}

}  // namespace platform::com
