// The bench of the entry-field tests: a headless form with a controller of
// its own, test fields placed on it, keys and focus changes, and paints of a
// field recorded into pixels.
#pragma once

#include "tests/widgets/pages/pgc_form_fixture.h"
#include "tests/widgets/pages/pgc_test_entry_field.h"

#include "widgets/pages/pgc_control_messages.h"
#include "widgets/pages/pgc_controller.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/recording_dc.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"

#include <cstring>
#include <memory>
#include <string>

namespace qel::test {

class TEntryFieldTest : public TPgcFormTest {
protected:
    TEntryFieldTest()
    {
        InitIntlUnit();
        Controller = new TPgcController(Form);
    }
    ~TEntryFieldTest() override { FinalizeIntlUnit(); }

    // A field of the type on the form, 130 pixels wide, below the last one.
    TTestEntryField* AddField(std::uint8_t DataType, std::uint8_t FieldClass = EfClassSimple)
    {
        auto* field = new TTestEntryField(Form, DataType, FieldClass);
        field->SetName("Field" + std::to_string(++FFieldCount));
        field->SetParent(Form);
        field->SetBounds(10, 10 + 40 * (FFieldCount - 1), 130, field->Height());
        field->HandleNeeded();
        Pump();
        return field;
    }

    // Gives the field the focus and lets the posted notifications run.
    void Focus(plat::TWinControl* Control)
    {
        Control->SetFocus();
        Pump();
    }

    void Key(plat::TVirtualKey VirtualKey, std::uint8_t Modifiers = 0)
    {
        Host.Key(VirtualKey, Modifiers);
        Pump();
    }

    TPgcController* Controller = nullptr;

private:
    int FFieldCount = 0;
};

// A range bound read as T: the bound's record is packed, so it is copied out.
template <class T>
T BoundAs(const TRangeType& Bound)
{
    T value;
    std::memcpy(&value, Bound.rt10, sizeof value);
    return value;
}

// One paint of a field: the calls it made and the pixels they left.
class TFieldPaint {
public:
    TFieldPaint(int Width, int Height)
        : FPixels(std::max(Width, 1), std::max(Height, 1), 32), FTarget(FPixels), FRecording(&FTarget)
    {
    }
    plat::TRecordingDC& Dc() { return FRecording; }
    plat::COLORREF Pixel(int X, int Y)
    {
        const std::uint8_t* pixel = FPixels.ScanLine(Y) + 4 * X;
        return plat::RGB(pixel[2], pixel[1], pixel[0]);
    }
    std::vector<const plat::TRecordedCall*> Calls(std::string_view Name) const { return FRecording.CallsNamed(Name); }
    const plat::TPixelSurface& Pixels() const { return FPixels; }

private:
    plat::TPixelSurface FPixels;
    plat::TSurfaceDC FTarget;
    plat::TRecordingDC FRecording;
};

} // namespace qel::test
