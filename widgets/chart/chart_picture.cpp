// The chart picture: angle, filter list, the filtered image and the stored
// form of the filter list.
#include "widgets/chart/chart_picture.h"

#include "widgets/chart/chart_canvas_unit.h"

#include "platform/canvas/bitmap.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"

namespace qel {

PLAT_DEFINE_CLASS(TChtPicture, plat::TPicture,
    plat::Published("Angle", &TChtPicture::Angle, &TChtPicture::SetAngle))

namespace {

bool IsItemIndex(plat::TValueType Value)
{
    return Value == plat::TValueType::vaInt8 || Value == plat::TValueType::vaInt16
        || Value == plat::TValueType::vaInt32;
}

} // namespace

TChtPicture::TChtPicture() = default;
TChtPicture::~TChtPicture() = default;

void TChtPicture::SetAngle(float Value)
{
    if (Value == FAngle) {
        return;
    }
    FAngle = Value;
    Repaint();
}

TFilterItems* TChtPicture::Filters()
{
    if (!FFilters) {
        FFilters = std::make_unique<TFilterItems>(this);
    }
    return FFilters.get();
}

void TChtPicture::SetFilters(const TFilterItems* Value)
{
    if (Value == nullptr) {
        FFilters.reset();
        return;
    }
    Filters()->Assign(Value);
}

plat::TGraphic* TChtPicture::Filtered()
{
    if (FAngle == 0 && !(Graphic() != nullptr && HasFilters())) {
        return Graphic();
    }
    if (!IBitmap) {
        IBitmap = std::make_unique<plat::TBitmap>();
    }
    AssignGraphic(*IBitmap, Graphic());
    if (FFilters) {
        FFilters->ApplyTo(*IBitmap);
    }
    return IBitmap.get();
}

void TChtPicture::AssignGraphic(plat::TBitmap& ABitmap, plat::TGraphic* AGraphic)
{
    if (auto* Icon = dynamic_cast<plat::TIcon*>(AGraphic)) {
        SetBitmapSize(ABitmap, Icon->Width(), Icon->Height());
        ABitmap.Canvas()->Draw(0, 0, Icon);
        return;
    }
    if (AGraphic == nullptr) {
        ABitmap.SetSize(0, 0);
        return;
    }
    ABitmap.Assign(AGraphic);
}

void TChtPicture::Repaint()
{
    OnChange(this);
}

void TChtPicture::Assign(const plat::TPersistent* Source)
{
    if (const auto* Picture = dynamic_cast<const TChtPicture*>(Source)) {
        SetFilters(Picture->FFilters.get());
    }
    plat::TPicture::Assign(Source);
}

void TChtPicture::DefineProperties(plat::TFiler& Filer)
{
    plat::TPicture::DefineProperties(Filer);
    Filer.DefineProperty(
        "FilterItems", [this](plat::TReader& Reader) { ReadFilters(Reader, *Filters()); },
        [this](plat::TWriter& Writer) { WriteFilters(Writer, *FFilters); }, HasFilters());
}

void TChtPicture::ReadFilters(plat::TReader& Reader, TFilterItems& Filters)
{
    Filters.BeginUpdate();
    try {
        if (!Reader.EndOfList()) {
            Filters.Clear();
        }
        Reader.CheckValue(plat::TValueType::vaCollection);
        while (!Reader.EndOfList()) {
            if (IsItemIndex(Reader.NextValue())) {
                Reader.ReadInteger();
            }
            Reader.ReadListBegin();
            Reader.ReadStr();   // "ItemClass"
            TChtFilter* Filter = Filters.Add(plat::FindClass(Reader.ReadString(), TChtFilter::StaticClass()));
            while (!Reader.EndOfList()) {
                Reader.ReadProperty(Filter);
            }
            Reader.ReadListEnd();
        }
        Reader.ReadListEnd();
    } catch (...) {
        Filters.EndUpdate();
        throw;
    }
    Filters.EndUpdate();
}

void TChtPicture::WriteFilters(plat::TWriter& Writer, const TFilterItems& Filters)
{
    Writer.WriteValue(plat::TValueType::vaCollection);
    const std::string OuterPath = Writer.PropPathPrefix();
    try {
        for (int Index = 0; Index < Filters.Count(); ++Index) {
            const TChtFilter* Filter = Filters.Item(Index);
            Writer.WriteListBegin();
            Writer.SetPropPathPrefix({});
            Writer.WritePropName("ItemClass");
            Writer.WriteString(Filter->ClassName());
            Writer.WriteProperties(Filter);
            Writer.WriteListEnd();
        }
    } catch (...) {
        Writer.SetPropPathPrefix(OuterPath);
        throw;
    }
    Writer.SetPropPathPrefix(OuterPath);
    Writer.WriteListEnd();
}

} // namespace qel
