// A picture for the HTML-like text's hooks in tests: it reads two bytes,
// its width and height, and is filled green; a first byte of 0 or a short
// stream is a broken picture.
#pragma once

#include "widgets/chart/html_text_out.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/streams.h"

#include <cstdint>
#include <stdexcept>

namespace qel::test {

class TStreamSizedGraphic : public THtmlGraphic {
public:
    void LoadFromStream(plat::TStream& Stream) override
    {
        std::uint8_t Size[2] = {};
        if (Stream.Read(Size, 2) != 2 || Size[0] == 0) {
            throw std::runtime_error("bad picture");
        }
        Bitmap.SetSize(Size[0], Size[1]);
        Bitmap.Canvas()->Brush()->SetColor(plat::clGreen);
        Bitmap.Canvas()->FillRect({0, 0, Size[0], Size[1]});
    }
    plat::TGraphic& Graphic() override { return Bitmap; }

    plat::TBitmap Bitmap{1, 1, plat::pf24bit};
};

} // namespace qel::test
