// The input a smoke run received, as lines a replay reads back: the time in
// milliseconds since the form showed, the input kind, button, modifiers,
// value, and the point relative to the form's client area.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/window_input.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>

namespace plat::smoke {

struct TRecordedInput {
    std::int64_t TimeMs = 0;
    TQueuedInput Input;   // X and Y relative to the form's client area
};

void WriteRecordedInput(std::ostream& out, const TRecordedInput& recorded);
std::optional<TRecordedInput> ReadRecordedInput(std::istream& in);

} // namespace plat::smoke
