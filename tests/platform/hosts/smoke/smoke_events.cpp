// Recorded smoke input, one line per input.
#include "tests/platform/hosts/smoke/smoke_events.h"

namespace plat::smoke {

void WriteRecordedInput(std::ostream& out, const TRecordedInput& recorded)
{
    const TQueuedInput& input = recorded.Input;
    out << recorded.TimeMs << ' ' << static_cast<int>(input.Kind) << ' ' << static_cast<int>(input.Button) << ' '
        << static_cast<int>(input.Modifiers) << ' ' << input.Value << ' ' << input.X << ' ' << input.Y << '\n';
    out.flush();
}

std::optional<TRecordedInput> ReadRecordedInput(std::istream& in)
{
    TRecordedInput recorded;
    int kind = 0;
    int button = 0;
    int modifiers = 0;
    if (!(in >> recorded.TimeMs >> kind >> button >> modifiers >> recorded.Input.Value >> recorded.Input.X >>
          recorded.Input.Y)) {
        return std::nullopt;
    }
    recorded.Input.Kind = static_cast<THostInputKind>(kind);
    recorded.Input.Button = static_cast<THostButton>(button);
    recorded.Input.Modifiers = static_cast<std::uint8_t>(modifiers);
    return recorded;
}

} // namespace plat::smoke
