// A broken internal rule of the library's containers and engines: raised
// with the rule's fixed text where a debug build would fail an assertion,
// so that misuse is reported and never reads or writes out of bounds.
#pragma once

#include <stdexcept>

namespace qel {

class EAssertionFailed : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

} // namespace qel
