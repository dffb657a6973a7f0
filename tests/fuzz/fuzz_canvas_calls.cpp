// Plays a stream of device-context calls taken from the input bytes on a
// small surface, straight and through the recording twin: any crash,
// sanitizer report or write off the surface fails.
#include "platform/canvas/control_drawing.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/recording_dc.h"
#include "platform/canvas/surface_dc.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace plat;

class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool More() const { return FPos < FSize; }
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    // Mostly small coordinates, sometimes the ends of the 32-bit range.
    int Coordinate()
    {
        const std::uint8_t kind = Byte();
        if (kind < 200)
            return static_cast<int>(Byte()) - 40;
        if (kind < 230) {
            std::int32_t v = 0;
            for (int i = 0; i < 4; ++i)
                v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) << 8 | Byte());
            return v;
        }
        return kind & 1 ? INT32_MAX : INT32_MIN;
    }
    std::string Text()
    {
        std::string text;
        const int length = Byte() % 12;
        for (int i = 0; i < length; ++i)
            text += static_cast<char>(Byte());
        return text;
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

void PlayOne(TDeviceContext& dc, TInput& in, TSurfaceDC& source)
{
    const int a = in.Coordinate(), b = in.Coordinate(), c = in.Coordinate(), d = in.Coordinate();
    const TPoint points[] = {{a, b}, {c, d}, {b, c}, {d, a}};
    switch (in.Byte() % 26) {
    case 0: dc.MoveTo(a, b); dc.LineTo(c, d); break;
    case 1: dc.Rectangle(a, b, c, d); break;
    case 2: dc.Ellipse(a, b, c, d); break;
    case 3: dc.Pie(a, b, c, d, b, a, d, c); break;
    case 4: dc.Arc(a, b, c, d, a, a, c, c); break;
    case 5: dc.RoundRect(a, b, c, d, in.Coordinate(), in.Coordinate()); break;
    case 6: dc.Polygon(points, 1 + in.Byte() % 4); break;
    case 7: dc.Polyline(points, in.Byte() % 5); break;
    case 8: dc.FillRect({a, b, c, d}, CreateHatchBrush(in.Byte() % 6, in.Byte() * 0x10101u)); break;
    case 9: dc.SetROP2(in.Byte() % 18); break;
    case 10: dc.SelectPen(ExtCreatePen(static_cast<std::uint32_t>(in.Byte()) << 8 | in.Byte() % 9 | (in.Byte() & 1) << 16,
                 in.Byte() % 12, CreateSolidBrush(in.Byte()), 0, nullptr)); break;
    case 11: dc.IntersectClipRect(a, b, c, d); break;
    case 12: dc.SelectClipRgn(nullptr); break;
    case 13: dc.TextOut(a, b, in.Text()); break;
    case 14: {
        TRect r{a, b, c, d};
        dc.DrawText(in.Text(), r, static_cast<std::uint32_t>(in.Byte()) << 8 | in.Byte());
        break;
    }
    case 15: {
        // A few sizes and weights: realising a font is slow, and odd fonts
        // have tests of their own.
        TLogFont font;
        font.Height = static_cast<int>(in.Byte() % 8) * 6 - 20;
        font.Escapement = in.Coordinate();
        font.Weight = in.Byte() & 1 ? FW_BOLD : FW_NORMAL;
        font.Italic = in.Byte() & 1;
        font.Underline = in.Byte() & 1;
        dc.SelectFont(font);
        break;
    }
    case 16: dc.BitBlt(a, b, c, d, &source, in.Coordinate(), in.Coordinate(), static_cast<std::uint32_t>(in.Byte()) << 16); break;
    case 17: dc.StretchBlt(a, b, c, d, &source, 0, 0, in.Coordinate(), in.Coordinate(), SRCINVERT); break;
    case 18: dc.AlphaBlend(a, b, c, d, &source, 0, 0, 8, 8, {AC_SRC_OVER, 0, in.Byte(), static_cast<std::uint8_t>(in.Byte() & 1)}); break;
    case 19: dc.DrawFocusRect({a, b, c, d}); break;
    case 20: {
        TRect r{a, b, c, d};
        dc.DrawEdge(r, in.Byte() & 15, static_cast<std::uint32_t>(in.Byte()) << 8 | in.Byte());
        break;
    }
    case 21: dc.DrawFrameControl({a, b, c, d}, DFC_BUTTON, static_cast<std::uint32_t>(in.Byte()) << 8 | in.Byte()); break;
    case 22: dc.BeginPath(); dc.Polygon(points, 4); dc.TextOut(a, b, in.Text()); dc.EndPath(); break;
    case 23: if (in.Byte() & 1) dc.WidenPath(); dc.SelectClipPath(1 + in.Byte() % 5); break;
    case 24: dc.SetBkMode(1 + in.Byte() % 2); dc.SetBrushOrg(a, b); dc.SetTextAlign(in.Byte()); break;
    default: {
        const int extra[] = {a, b, c, d};
        const std::string text = in.Text();
        dc.ExtTextOut(a, b, in.Byte() & 6, nullptr, text, text.size() <= 4 ? extra : nullptr);
        break;
    }
    }
    dc.GetPixel(a, b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TPixelSurface sourcePixels(8, 8, 32);
    static TSurfaceDC source(sourcePixels);
    TPixelSurface surface(24, 16, (size & 1) ? 24 : 32);
    TSurfaceDC dc(surface, 1 + static_cast<int>(size % 3 == 0));
    TRecordingDC twin(&dc);
    TInput in(data, size);
    for (int calls = 0; in.More() && calls < 12; ++calls)
        PlayOne(calls % 2 ? static_cast<TDeviceContext&>(twin) : dc, in, source);
    return 0;
}
