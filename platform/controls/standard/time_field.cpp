// TTimeField: the time part of the value and the program's time format.
#include "platform/controls/standard/time_field.h"

namespace plat {

PLAT_DEFINE_CLASS(TTimeField, TCustomDateTimeField)

TDateTime TTimeField::Time() const
{
    return EncodeTime(Parts().Hour, Parts().Minute, Parts().Second, 0);
}

void TTimeField::SetTime(TDateTime value)
{
    AssignMembers(value, {&TDateTimeParts::Hour, &TDateTimeParts::Minute, &TDateTimeParts::Second});
}

std::string TTimeField::DefaultFormat() const
{
    return FormatSettings().LongTimeFormat;
}

} // namespace plat
