// DrawText: the text is split into lines (at line breaks, and at spaces with
// DT_WORDBREAK), each line cut with an ellipsis where asked, then every line
// is written with ExtTextOut and the prefixed character underlined.
#include "platform/canvas/draw_text.h"

#include "platform/canvas/utf8_text.h"

#include <algorithm>

namespace plat {

namespace {

struct TTextLine {
    std::string Text;
    int Underline = -1; // byte offset of the prefixed character in Text, or -1
};

// Removes prefix ampersands; "&&" stands for "&". Answers the byte offset of
// the (last) prefixed character in the result, or -1.
std::string StripPrefixes(std::string_view text, std::uint32_t format, int& underline)
{
    underline = -1;
    if (format & DT_NOPREFIX)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '&') {
            out += '&';
            ++i;
            continue;
        }
        if (i + 1 < text.size())
            underline = static_cast<int>(out.size());
    }
    if (format & DT_HIDEPREFIX)
        underline = -1;
    return out;
}

std::string ExpandTabs(std::string_view text, TDeviceContext& dc, std::uint32_t format)
{
    if (!(format & DT_EXPANDTABS) || text.find('\t') == std::string_view::npos)
        return std::string(text);
    const int stopChars = (format & DT_TABSTOP) ? static_cast<int>(format >> 8 & 0xFF) : 8;
    const int spaceWidth = std::max(dc.GetTextExtent(" ").cx, 1);
    const int stop = std::max(stopChars, 1) * std::max(dc.GetTextMetrics().AveCharWidth, 1);
    std::string out;
    for (char c : text) {
        if (c != '\t') {
            out += c;
            continue;
        }
        const int width = dc.GetTextExtent(out.substr(out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1)).cx;
        const int next = (width / stop + 1) * stop;
        out.append(static_cast<std::size_t>(std::max((next - width + spaceWidth - 1) / spaceWidth, 1)), ' ');
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text, bool singleLine)
{
    std::vector<std::string> lines;
    if (singleLine) {
        std::string line;
        for (char c : text)
            if (c != '\r' && c != '\n')
                line += c;
        lines.push_back(line);
        return lines;
    }
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            continue;
        }
        line += text[i];
    }
    lines.push_back(line);
    return lines;
}

// Breaks one line at spaces so that each piece fits the width; a word wider
// than the width stands alone on its line.
std::vector<std::string> WrapLine(TDeviceContext& dc, const std::string& line, std::int64_t width)
{
    std::vector<std::string> out;
    std::string current;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t wordEnd = std::min(line.find(' ', i), line.size());
        const std::string word = line.substr(i, wordEnd - i);
        const std::string candidate = current.empty() ? word : current + " " + word;
        if (current.empty() || dc.GetTextExtent(candidate).cx <= width) {
            current = candidate;
        } else {
            out.push_back(current);
            current = word;
        }
        i = wordEnd + 1;
    }
    out.push_back(current);
    return out;
}

// The longest prefix of text that fits with "..." behind it.
std::string EndEllipsis(TDeviceContext& dc, const std::string& text, std::int64_t width)
{
    if (dc.GetTextExtent(text).cx <= width)
        return text;
    const std::vector<TDecodedChar> chars = DecodeUtf8(text);
    std::size_t low = 0;
    std::size_t high = chars.size();
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        const std::string candidate = text.substr(0, chars[mid - 1].Offset + chars[mid - 1].Length) + "...";
        if (dc.GetTextExtent(candidate).cx <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return (low == 0 ? std::string() : text.substr(0, chars[low - 1].Offset + chars[low - 1].Length)) + "...";
}

// Keeps the end of a path: "...\name" with as much of the start as fits.
std::string PathEllipsis(TDeviceContext& dc, const std::string& text, std::int64_t width)
{
    if (dc.GetTextExtent(text).cx <= width)
        return text;
    const std::size_t slash = text.find_last_of("\\/");
    if (slash == std::string::npos)
        return EndEllipsis(dc, text, width);
    const std::string tail = text.substr(slash);
    const std::string head = text.substr(0, slash);
    const std::vector<TDecodedChar> chars = DecodeUtf8(head);
    for (std::size_t keep = chars.size(); keep-- > 0;) {
        const std::string candidate = head.substr(0, chars[keep].Offset) + "..." + tail;
        if (dc.GetTextExtent(candidate).cx <= width || keep == 0)
            return candidate;
    }
    return "..." + tail;
}

} // namespace

int DrawTextOn(TDeviceContext& dc, std::string_view text, TRect& rect, std::uint32_t format)
{
    int underline = -1;
    const std::string stripped = StripPrefixes(ExpandTabs(text, dc, format), format, underline);
    const bool singleLine = format & DT_SINGLELINE;
    const std::int64_t width = std::max<std::int64_t>(rect.Width(), 0);

    std::vector<TTextLine> lines;
    std::size_t consumed = 0;
    for (const std::string& paragraph : SplitLines(stripped, singleLine)) {
        const std::vector<std::string> pieces = (format & DT_WORDBREAK) && !singleLine
            ? WrapLine(dc, paragraph, width)
            : std::vector<std::string>{paragraph};
        for (const std::string& piece : pieces) {
            TTextLine line{piece, -1};
            const std::size_t at = stripped.find(piece, consumed);
            if (underline >= 0 && at != std::string::npos && static_cast<std::size_t>(underline) >= at
                && static_cast<std::size_t>(underline) < at + piece.size())
                line.Underline = underline - static_cast<int>(at);
            if (at != std::string::npos)
                consumed = at + piece.size();
            lines.push_back(line);
        }
    }
    for (TTextLine& line : lines) {
        std::string cut = line.Text;
        if (format & DT_PATH_ELLIPSIS)
            cut = PathEllipsis(dc, line.Text, width);
        else if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))
            cut = EndEllipsis(dc, line.Text, width);
        if (cut != line.Text && line.Underline >= static_cast<int>(cut.size()) - 3)
            line.Underline = -1;
        line.Text = cut;
    }

    const TTextMetric metric = dc.GetTextMetrics();
    const int lineHeight = metric.Height + ((format & DT_EXTERNALLEADING) ? metric.ExternalLeading : 0);
    const int totalHeight = lineHeight * static_cast<int>(lines.size());
    int widest = 0;
    for (const TTextLine& line : lines)
        widest = std::max(widest, dc.GetTextExtent(line.Text).cx);

    if (format & DT_CALCRECT) {
        const bool empty = text.empty();
        rect.Right = empty ? rect.Left : SaturateInt(std::int64_t{rect.Left} + widest);
        rect.Bottom = empty ? rect.Top : SaturateInt(std::int64_t{rect.Top} + totalHeight);
        return empty ? 0 : totalHeight;
    }

    std::int64_t top = rect.Top;
    if (singleLine && (format & DT_VCENTER))
        top = rect.Top + (rect.Height() - lineHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        top = std::int64_t{rect.Bottom} - lineHeight;

    const std::uint32_t savedAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
    const bool clip = !(format & DT_NOCLIP);
    for (const TTextLine& line : lines) {
        const int lineWidth = dc.GetTextExtent(line.Text).cx;
        std::int64_t left = rect.Left;
        if (format & DT_CENTER)
            left = rect.Left + (rect.Width() - lineWidth) / 2;
        else if (format & DT_RIGHT)
            left = std::int64_t{rect.Right} - lineWidth;
        const int x = SaturateInt(left);
        const int y = SaturateInt(top);
        if (!(format & DT_PREFIXONLY))
            dc.ExtTextOut(x, y, clip ? std::uint32_t{ETO_CLIPPED} : 0u, clip ? &rect : nullptr, line.Text, nullptr);
        if (line.Underline >= 0) {
            const auto at = static_cast<std::size_t>(line.Underline);
            const std::vector<TDecodedChar> chars = DecodeUtf8(line.Text.substr(at));
            const int before = dc.GetTextExtent(line.Text.substr(0, at)).cx;
            const int charWidth = chars.empty() ? 0 : dc.GetTextExtent(line.Text.substr(at, chars[0].Length)).cx;
            const std::int64_t barLeft = std::int64_t{x} + before;
            const std::int64_t barTop = std::int64_t{y} + metric.Ascent + 1;
            TRect bar{SaturateInt(barLeft), SaturateInt(barTop), SaturateInt(barLeft + charWidth), SaturateInt(barTop + 1)};
            if (clip)
                bar = IntersectRect(bar, rect);
            dc.FillRect(bar, CreateSolidBrush(dc.GetTextColor()));
        }
        top += lineHeight;
    }
    dc.SetTextAlign(savedAlign);
    return totalHeight;
}

} // namespace plat
