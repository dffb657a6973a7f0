// The pieces of the chart's HTML-like text: tokens (text runs and tags),
// a tag's attribute list, the four character entities and the numbers and
// colours attribute values hold.
#pragma once

#include "widgets/chart/chart_colors.h"

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// Takes the next token off Rest: the text before the first "<", or a tag
// "<...>" with its brackets, or (a "<" without ">") the rest without its
// "<". Empty when Rest is empty.
std::string NextHtmlToken(std::string& Rest);

struct THtmlAttribute {
    std::string Name;    // trimmed
    std::string Value;   // trimmed; may hold spaces but no "="
};

// Attributes "name=value" separated by spaces: one per "=". A value ends at
// the last space before the next name. Where no space precedes the next
// name, the value runs to that "=" and the next name is empty.
std::vector<THtmlAttribute> ParseHtmlAttributes(std::string_view Text);

// "&lt;", "&gt;", "&amp;" and "&quot;" decoded in that order, each in one
// step over the whole text.
std::string DecodeHtmlEntities(std::string Text);

std::string HtmlUpperCase(std::string Text);
std::string HtmlTrim(std::string_view Text);
// Without one leading and one trailing character of Quotes.
std::string HtmlUnquote(std::string_view Text, std::string_view Quotes = "\"");

// A number in the program's number format (its decimal separator) after
// trimming and one pair of quotes (single or double); plat::EConvertError
// otherwise.
double HtmlNumber(std::string_view Text);
// An integer value (quotes removed); 0 when it is no number.
int HtmlInteger(std::string_view Text);

// A colour value: a name (BLACK, RED, ...), "#RRGGBB", a colour identifier
// ("clBtnFace"), a decimal integer, else black. A "#" without two hex
// digits per channel raises plat::EConvertError.
TColor HtmlColorValue(std::string_view Text);

} // namespace qel
