#include "platform/services.h"

namespace platform {

Services& services() {
    static Services s;
    return s;
}

}  // namespace platform
