// TDateField: the date part of the value and the program's date format.
#include "platform/controls/standard/date_field.h"

namespace plat {

PLAT_DEFINE_CLASS(TDateField, TCustomDateTimeField)

TDateTime TDateField::Date() const
{
    return EncodeDate(Parts().Year, Parts().Month, Parts().Day);
}

void TDateField::SetDate(TDateTime value)
{
    AssignMembers(value, {&TDateTimeParts::Year, &TDateTimeParts::Month, &TDateTimeParts::Day});
}

std::string TDateField::DefaultFormat() const
{
    return FormatSettings().ShortDateFormat;
}

} // namespace plat
