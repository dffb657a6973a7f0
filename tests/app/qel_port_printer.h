// Names the probe outcomes in test failure messages.
#pragma once

#include "app/qel_port.h"

#include <ostream>

namespace qel {

inline void PrintTo(TQelPortError error, std::ostream* out)
{
    static const char* const names[] = {"mpeUNKNOWN", "mpePORT", "mpeCOM", "mpeCLASS", "mpeOK"};
    if (error <= mpeOK) {
        *out << names[error];
    } else {
        *out << "error " << static_cast<int>(error);
    }
}

} // namespace qel
