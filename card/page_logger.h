// The logger a page decoder works for: the current logger of the logger list,
// taken as the model class whose settings and limits the decoder uses.
#pragma once

#include "loggers/qel_base.h"

#include <stdexcept>
#include <string>

namespace qel {

// The current logger as a TLogger; a missing logger or one of another class
// raises std::logic_error naming the decoder and the class it needs.
template <class TLogger>
TLogger& CurrentLoggerFor(const char* decoder, const char* loggerClass)
{
    auto* logger = dynamic_cast<TLogger*>(QelList.GetCurrent());
    if (logger == nullptr) {
        throw std::logic_error(std::string("the page decoder ") + decoder + " needs a logger of class " + loggerClass);
    }
    return *logger;
}

} // namespace qel
