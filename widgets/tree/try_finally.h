// Runs a closing step after a body, also when the body raises: the data
// tree's way of closing an update, leaving a state or restoring an option
// around event handlers that may raise. The closing step may raise itself
// (EndUpdate delivers notifications), so it does not run in a destructor.
#pragma once

namespace qel {

template <class Body, class Final>
void TryFinally(Body&& body, Final&& final)
{
    try {
        body();
    } catch (...) {
        final();
        throw;
    }
    final();
}

} // namespace qel
