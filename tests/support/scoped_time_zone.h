// Sets TZ for the lifetime of the object and makes the C library re-read it,
// on entry and again after the former value is back.
#pragma once

#include "platform/time_zone.h"
#include "tests/support/temp_dir.h"

#include <optional>
#include <string>

namespace qeltest {

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone) : FEnv(std::in_place, "TZ", zone) { plat::RefreshTimeZone(); }
    ~ScopedTimeZone()
    {
        FEnv.reset();
        plat::RefreshTimeZone();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<ScopedEnv> FEnv;
};

} // namespace qeltest
