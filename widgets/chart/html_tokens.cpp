// Tokens, attributes, entities, numbers and colours of the chart's HTML-like
// text.
#include "widgets/chart/html_tokens.h"

#include "platform/canvas/colors.h"
#include "platform/date_time.h"
#include "platform/float_format.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <utility>

namespace qel {

std::string NextHtmlToken(std::string& Rest)
{
    std::string Token;
    const std::size_t Open = Rest.find('<');
    if (Open == std::string::npos) {
        Token = std::move(Rest);
        Rest.clear();
    } else if (Open > 0) {
        Token = Rest.substr(0, Open);
        Rest.erase(0, Open);
    } else {
        const std::size_t Close = Rest.find('>', 1);
        if (Close == std::string::npos) {
            Token = Rest.substr(1);
            Rest.clear();
        } else {
            Token = Rest.substr(0, Close + 1);
            Rest.erase(0, Close + 1);
        }
    }
    return Token;
}

std::string HtmlTrim(std::string_view Text)
{
    const auto IsBlank = [](char C) { return static_cast<unsigned char>(C) <= ' '; };
    while (!Text.empty() && IsBlank(Text.front())) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && IsBlank(Text.back())) {
        Text.remove_suffix(1);
    }
    return std::string(Text);
}

std::string HtmlUpperCase(std::string Text)
{
    for (char& C : Text) {
        if (C >= 'a' && C <= 'z') {
            C = static_cast<char>(C - 'a' + 'A');
        }
    }
    return Text;
}

std::string HtmlUnquote(std::string_view Text, std::string_view Quotes)
{
    if (!Text.empty() && Quotes.find(Text.front()) != std::string_view::npos) {
        Text.remove_prefix(1);
    }
    if (!Text.empty() && Quotes.find(Text.back()) != std::string_view::npos) {
        Text.remove_suffix(1);
    }
    return std::string(Text);
}

std::vector<THtmlAttribute> ParseHtmlAttributes(std::string_view Text)
{
    std::vector<std::size_t> Equals;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '=') {
            Equals.push_back(I);
        }
    }
    std::vector<THtmlAttribute> Attributes;
    std::size_t NameStart = 0;
    for (std::size_t K = 0; K < Equals.size(); ++K) {
        const std::size_t ValueStart = Equals[K] + 1;
        std::size_t ValueEnd = Text.size();
        std::size_t NextNameStart = Text.size();
        if (K + 1 < Equals.size()) {
            // The next name ends at its "=" (blanks before it aside) and
            // starts after the last space before that end.
            std::size_t NameEnd = Equals[K + 1];
            while (NameEnd > ValueStart && Text[NameEnd - 1] == ' ') {
                --NameEnd;
            }
            const std::size_t Space = Text.substr(ValueStart, NameEnd - ValueStart).rfind(' ');
            ValueEnd = Space == std::string_view::npos ? Equals[K + 1] : ValueStart + Space;
            NextNameStart = Space == std::string_view::npos ? Equals[K + 1] : ValueEnd + 1;
        }
        Attributes.push_back({HtmlTrim(Text.substr(NameStart, Equals[K] - NameStart)),
            HtmlTrim(Text.substr(ValueStart, ValueEnd - ValueStart))});
        NameStart = NextNameStart;
    }
    return Attributes;
}

namespace {

void ReplaceAll(std::string& Text, std::string_view From, std::string_view To)
{
    std::string Result;
    std::size_t Start = 0;
    for (std::size_t At = Text.find(From); At != std::string::npos; At = Text.find(From, Start)) {
        Result.append(Text, Start, At - Start);
        Result.append(To);
        Start = At + From.size();
    }
    Result.append(Text, Start);
    Text = std::move(Result);
}

} // namespace

std::string DecodeHtmlEntities(std::string Text)
{
    ReplaceAll(Text, "&lt;", "<");
    ReplaceAll(Text, "&gt;", ">");
    ReplaceAll(Text, "&amp;", "&");
    ReplaceAll(Text, "&quot;", "\"");
    return Text;
}

double HtmlNumber(std::string_view Text)
{
    return plat::StrToFloat(HtmlUnquote(HtmlTrim(Text), "\"'"));
}

int HtmlInteger(std::string_view Text)
{
    const std::string Number = HtmlUnquote(HtmlTrim(Text), "\"'");
    int Value = 0;
    const auto [End, Error] = std::from_chars(Number.data(), Number.data() + Number.size(), Value);
    return Error == std::errc{} && End == Number.data() + Number.size() ? Value : 0;
}

namespace {

struct TNamedColor {
    std::string_view Name;
    TColor Color;
};

// The names a colour value may give, upper case.
constexpr TNamedColor HtmlColorNames[] = {
    {"BLACK", 0x000000}, {"RED", 0x0000FF}, {"BLUE", 0xFF0000}, {"YELLOW", 0x00FFFF},
    {"WHITE", 0xFFFFFF}, {"GREEN", 0x008000}, {"LIME", 0x00FF00},
};

// The class library's colour identifiers, upper case.
constexpr TNamedColor ColorIdentifiers[] = {
    {"CLBLACK", plat::clBlack}, {"CLMAROON", plat::clMaroon}, {"CLGREEN", plat::clGreen},
    {"CLOLIVE", plat::clOlive}, {"CLNAVY", plat::clNavy}, {"CLPURPLE", plat::clPurple},
    {"CLTEAL", plat::clTeal}, {"CLGRAY", plat::clGray}, {"CLSILVER", plat::clSilver},
    {"CLRED", plat::clRed}, {"CLLIME", plat::clLime}, {"CLYELLOW", plat::clYellow},
    {"CLBLUE", plat::clBlue}, {"CLFUCHSIA", plat::clFuchsia}, {"CLAQUA", plat::clAqua},
    {"CLWHITE", plat::clWhite}, {"CLNONE", plat::clNone}, {"CLDEFAULT", plat::clDefault},
    {"CLSCROLLBAR", plat::clScrollBar}, {"CLBACKGROUND", plat::clBackground},
    {"CLACTIVECAPTION", plat::clActiveCaption}, {"CLINACTIVECAPTION", plat::clInactiveCaption},
    {"CLMENU", plat::clMenu}, {"CLWINDOW", plat::clWindow}, {"CLWINDOWFRAME", plat::clWindowFrame},
    {"CLMENUTEXT", plat::clMenuText}, {"CLWINDOWTEXT", plat::clWindowText},
    {"CLCAPTIONTEXT", plat::clCaptionText}, {"CLACTIVEBORDER", plat::clActiveBorder},
    {"CLINACTIVEBORDER", plat::clInactiveBorder}, {"CLAPPWORKSPACE", plat::clAppWorkSpace},
    {"CLHIGHLIGHT", plat::clHighlight}, {"CLHIGHLIGHTTEXT", plat::clHighlightText},
    {"CLBTNFACE", plat::clBtnFace}, {"CLBTNSHADOW", plat::clBtnShadow}, {"CLGRAYTEXT", plat::clGrayText},
    {"CLBTNTEXT", plat::clBtnText}, {"CLINACTIVECAPTIONTEXT", plat::clInactiveCaptionText},
    {"CLBTNHIGHLIGHT", plat::clBtnHighlight}, {"CL3DDKSHADOW", plat::cl3DDkShadow},
    {"CL3DLIGHT", plat::cl3DLight}, {"CLINFOTEXT", plat::clInfoText}, {"CLINFOBK", plat::clInfoBk},
    {"CLHOTLIGHT", plat::clHotLight}, {"CLGRADIENTACTIVECAPTION", plat::clGradientActiveCaption},
    {"CLGRADIENTINACTIVECAPTION", plat::clGradientInactiveCaption},
    {"CLMENUHIGHLIGHT", plat::clMenuHighlight}, {"CLMENUBAR", plat::clMenuBar},
};

template <std::size_t N>
bool FindNamedColor(const TNamedColor (&Table)[N], std::string_view Name, TColor& Color)
{
    for (const TNamedColor& Entry : Table) {
        if (Entry.Name == Name) {
            Color = Entry.Color;
            return true;
        }
    }
    return false;
}

std::uint8_t HexChannel(std::string_view Value, std::size_t At)
{
    unsigned Channel = 0;
    const char* First = Value.data() + At;
    const auto [End, Error] = At + 2 <= Value.size() ? std::from_chars(First, First + 2, Channel, 16)
                                                     : std::from_chars_result{First, std::errc::invalid_argument};
    if (Error != std::errc{} || End != First + 2) {
        throw plat::EConvertError("'" + std::string(Value) + "' is not a valid colour value");
    }
    return static_cast<std::uint8_t>(Channel);
}

} // namespace

TColor HtmlColorValue(std::string_view Text)
{
    const std::string Value = HtmlUnquote(HtmlTrim(HtmlUpperCase(std::string(Text))));
    TColor Color = plat::clBlack;
    if (FindNamedColor(HtmlColorNames, Value, Color)) {
        return Color;
    }
    if (!Value.empty() && Value.front() == '#') {
        return RGBToColor(HexChannel(Value, 1), HexChannel(Value, 3), HexChannel(Value, 5));
    }
    if (FindNamedColor(ColorIdentifiers, Value, Color)) {
        return Color;
    }
    std::int32_t Number = 0;
    const auto [End, Error] = std::from_chars(Value.data(), Value.data() + Value.size(), Number);
    return Error == std::errc{} && End == Value.data() + Value.size() && !Value.empty() ? Number : plat::clBlack;
}

} // namespace qel
