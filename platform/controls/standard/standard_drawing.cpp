// Captions with accelerators, the push-button face, arrows and check marks
// of the standard controls.
#include "platform/controls/standard/standard_drawing.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace plat {

char16_t FoldLetter(char16_t c)
{
    if (c >= u'A' && c <= u'Z') {
        return static_cast<char16_t>(c - u'A' + u'a');
    }
    // Latin-1 capitals (not the multiplication sign) and Greek, Cyrillic.
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x410 && c <= 0x42F)) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

char16_t AcceleratorOf(std::string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        // The character after the mark may take several bytes.
        std::size_t end = i + 2;
        while (end < caption.size() && (static_cast<unsigned char>(caption[end]) & 0xC0) == 0x80) {
            ++end;
        }
        const std::u16string letter = Utf8ToUtf16(caption.substr(i + 1, end - i - 1));
        return letter.empty() ? 0 : FoldLetter(letter.front());
    }
    return 0;
}

bool IsAccelerator(char16_t typed, std::string_view caption)
{
    const char16_t accelerator = AcceleratorOf(caption);
    return accelerator != 0 && FoldLetter(typed) == accelerator;
}

std::string StripAccelerators(std::string_view caption)
{
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
        }
        shown += caption[i];
    }
    return shown;
}

namespace {

void TextIn(TCanvas& canvas, std::string_view text, TRect rect, std::uint32_t format, TColor color)
{
    canvas.Font()->SetColor(color);
    canvas.RequireState();
    canvas.Handle()->DrawText(text, rect, format);
}

} // namespace

void DrawCaption(TCanvas& canvas, std::string_view text, TRect rect, std::uint32_t format, bool enabled, TColor color)
{
    if (canvas.Handle() == nullptr) {
        return;
    }
    canvas.Brush()->SetStyle(bsClear);
    if (enabled) {
        TextIn(canvas, text, rect, format, color);
        return;
    }
    TextIn(canvas, text, OffsetRect(rect, 1, 1), format, clBtnHighlight);
    TextIn(canvas, text, rect, format, clBtnShadow);
}

TRect DrawPushButtonFace(TCanvas& canvas, const TRect& rect, bool pressed, bool defaultFrame)
{
    TRect face = rect;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(face);
    if (canvas.Handle() == nullptr) {
        return face;
    }
    if (defaultFrame || pressed) {
        canvas.Brush()->SetColor(clWindowFrame);
        canvas.FrameRect(face);
        face = InflateRect(face, -1, -1);
    }
    if (pressed) {
        canvas.Brush()->SetColor(clBtnShadow);
        canvas.FrameRect(face);
        return InflateRect(face, -1, -1);
    }
    canvas.RequireState();
    canvas.Handle()->DrawEdge(face, EDGE_RAISED, BF_RECT | BF_ADJUST);
    return face;
}

void DrawArrow(TCanvas& canvas, const TRect& rect, TArrowDirection direction, TColor color)
{
    // A triangle of 4 rows, 7 pixels wide at its base.
    constexpr int Rows = 4;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(color);
    const int cx = static_cast<int>(rect.Left + rect.Width() / 2);
    const int cy = static_cast<int>(rect.Top + rect.Height() / 2);
    for (int row = 0; row < Rows; ++row) {
        const int half = Rows - 1 - row;
        switch (direction) {
        case TArrowDirection::Down:
            canvas.FillRect(Rect(cx - half, cy - 2 + row, cx + half + 1, cy - 1 + row));
            break;
        case TArrowDirection::Up:
            canvas.FillRect(Rect(cx - half, cy + 1 - row, cx + half + 1, cy + 2 - row));
            break;
        case TArrowDirection::Right:
            canvas.FillRect(Rect(cx - 2 + row, cy - half, cx - 1 + row, cy + half + 1));
            break;
        case TArrowDirection::Left:
            canvas.FillRect(Rect(cx + 1 - row, cy - half, cx + 2 - row, cy + half + 1));
            break;
        }
    }
}

void DrawMenuCheck(TCanvas& canvas, const TRect& rect, bool radio, TColor color)
{
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(color);
    const int cx = static_cast<int>(rect.Left + rect.Width() / 2);
    const int cy = static_cast<int>(rect.Top + rect.Height() / 2);
    if (radio) {
        canvas.FillRect(Rect(cx - 1, cy - 3, cx + 2, cy + 4));
        canvas.FillRect(Rect(cx - 3, cy - 1, cx + 4, cy + 2));
        canvas.FillRect(Rect(cx - 2, cy - 2, cx + 3, cy + 3));
        return;
    }
    // A tick three pixels thick: down-right for 3 columns, then up-right for 4.
    const int left = cx - 3;
    const int bottom = cy + 2;
    for (int i = 0; i < 7; ++i) {
        const int y = i < 3 ? bottom - 2 + i : bottom - (i - 2);
        canvas.FillRect(Rect(left + i, y - 2, left + i + 1, y + 1));
    }
}

int LineHeight(TCanvas& canvas)
{
    if (canvas.Handle() == nullptr) {
        return 13;
    }
    canvas.RequireState();
    return std::max(canvas.Handle()->GetTextMetrics().Height, 1);
}

} // namespace plat
