// The chart font and the library's default font.
#include "widgets/chart/chart_font.h"

#include "widgets/chart/chart_brush.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_messages.h"
#include "widgets/chart/chart_pen.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/chart_shadow.h"

#include "platform/locale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace qel {

PLAT_DEFINE_CLASS(TChtFont, plat::TFont,
    plat::Published("DefaultFont", &TChtFont::DefaultFont, &TChtFont::SetDefaultFont).Default(false),
    plat::Published("Height", &TChtFont::Height, &TChtFont::SetHeight).StoredIf(&TChtFont::IsHeightStored),
    plat::Published("Color", &TChtFont::Color, &TChtFont::SetColor).StoredIf(&TChtFont::IsColorStored),
    plat::Published("Name", &TChtFont::Name, &TChtFont::SetName).StoredIf(&TChtFont::IsNameStored),
    plat::Published("SizeFloat", &TChtFont::SizeFloat, &TChtFont::SetSizeFloat)
        .StoredIf(&TChtFont::IsSizeFloatStored),
    plat::Published("Brush", &TChtFont::Brush, &TChtFont::SetBrush),
    plat::Published("Depth", &TChtFont::Depth, &TChtFont::SetDepth),
    plat::Published("Emboss", &TChtFont::Emboss, &TChtFont::SetEmboss),
    plat::Published("Gradient", &TChtFont::Gradient, &TChtFont::SetGradient).Stored(false),
    plat::Published("InterCharSize", &TChtFont::InterCharSize, &TChtFont::SetInterCharSize).Default(0),
    plat::Published("OutLine", &TChtFont::OutLine, &TChtFont::SetOutLine),
    plat::Published("Picture", &TChtFont::Picture, &TChtFont::SetPicture).Stored(false),
    plat::Published("Quality", &TChtFont::Quality, &TChtFont::SetQuality,
        {"fqBest", "fqNormal", "fqDefault", "fqClearType"})
        .Default(fqDefault),
    plat::Published("Shadow", &TChtFont::Shadow, &TChtFont::SetShadow),
    plat::Published("Style", &TChtFont::Style, &TChtFont::SetStyle,
        {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
        .StoredIf(&TChtFont::IsStyleStored))

TChtFont::TChtFont(plat::TNotifyEvent ChangedEvent) : FBrush(std::make_unique<TChtBrush>())
{
    SetDefaultColor(clBlack);
    if (Charset() != plat::DEFAULT_CHARSET) {
        SetCharset(plat::DEFAULT_CHARSET);
    }
    if (Size() != DefaultFontSize) {
        SetSize(DefaultFontSize);
    }
    SetName(DefaultFontName);
    FBrush->OnChange = ChangedEvent;
    OnChange = std::move(ChangedEvent);
}

TChtFont::~TChtFont() = default;

void TChtFont::SetDefaultColor(TColor Value)
{
    FBrush->SetDefaultColor(Value);
    plat::TNotifyEvent Saved = std::exchange(OnChange, {});
    SetColor(Value);
    OnChange = std::move(Saved);
    IDefColor = Value;
}

template <class T>
void TChtFont::Store(T& Field, T Value)
{
    if (Field == Value) {
        return;
    }
    Field = Value;
    Changed();
}

float TChtFont::SizeFloat() const
{
    return static_cast<float>(Size()) + FSizeDecimals;
}

void TChtFont::SetSizeFloat(float Value)
{
    if (Value == SizeFloat() || !std::isfinite(Value)) {
        return;
    }
    const double Whole = std::floor(static_cast<double>(Value));
    const int NewSize = static_cast<int>(
        std::clamp(Whole, double{std::numeric_limits<int>::min()}, double{std::numeric_limits<int>::max()}));
    FSizeDecimals = static_cast<float>(static_cast<double>(Value) - Whole);
    // Only the whole size notifies; a fraction alone changes silently.
    SetSize(NewSize);
}

void TChtFont::SetBrush(const TChtBrush* Value)
{
    FBrush->Assign(Value);
}

TChtGradient* TChtFont::Gradient() const
{
    return FBrush->Gradient();
}

void TChtFont::SetGradient(const TChtGradient* Value)
{
    FBrush->SetGradient(Value);
}

TChtPicture* TChtFont::Picture() const
{
    return FBrush->Image();
}

void TChtFont::SetPicture(const TChtPicture* Value)
{
    FBrush->SetImage(Value);
}

namespace {

// Writes a sub-object property: nullptr frees the object silently, any
// other value is copied into the object, made first when missing.
template <class TOwned, class TValue, class TMake>
void WriteSubObject(std::unique_ptr<TOwned>& Field, const TValue* Value, TMake&& Make)
{
    if (Value == nullptr) {
        Field.reset();
        return;
    }
    if (Value == Field.get()) {
        return;
    }
    if (!Field) {
        Field = Make();
    }
    Field->Assign(Value);
}

} // namespace

TChtHiddenPen* TChtFont::OutLine() const
{
    if (!FOutLine) {
        FOutLine = std::make_unique<TChtHiddenPen>(OnChange);
    }
    return FOutLine.get();
}

void TChtFont::SetOutLine(const TChtHiddenPen* Value)
{
    WriteSubObject(FOutLine, Value, [this] { return std::make_unique<TChtHiddenPen>(OnChange); });
}

TChtShadow* TChtFont::Shadow() const
{
    if (!FShadow) {
        FShadow = std::make_unique<TChtShadow>(OnChange);
    }
    return FShadow.get();
}

void TChtFont::SetShadow(const TChtShadow* Value)
{
    WriteSubObject(FShadow, Value, [this] { return std::make_unique<TChtShadow>(OnChange); });
}

TChtEmboss* TChtFont::Emboss() const
{
    if (!FEmboss) {
        FEmboss = std::make_unique<TChtEmboss>(OnChange);
    }
    return FEmboss.get();
}

void TChtFont::SetEmboss(const TChtEmboss* Value)
{
    WriteSubObject(FEmboss, Value, [this] { return std::make_unique<TChtEmboss>(OnChange); });
}

void TChtFont::SetDefaultFont(bool Value)
{
    Store(FDefault, Value);
}

void TChtFont::SetDepth(double Value)
{
    Store(FDepth, Value);
}

void TChtFont::SetInterCharSize(int Value)
{
    Store(FInterCharSize, Value);
}

void TChtFont::SetQuality(TFontQuality Value)
{
    Store(FQuality, Value);
}

bool TChtFont::IsHeightStored() const
{
    return Size() != DefaultFontSize;
}

bool TChtFont::IsNameStored() const
{
    return Name() != DefaultFontName;
}

void TChtFont::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TChtFont*>(Source); Other != nullptr && Other != this) {
        FBrush->Assign(Other->FBrush.get());
        FDefault = Other->FDefault;
        FDepth = Other->FDepth;
        SetEmboss(Other->FEmboss.get());
        FInterCharSize = Other->FInterCharSize;
        SetOutLine(Other->FOutLine.get());
        FQuality = Other->FQuality;
        SetShadow(Other->FShadow.get());
        FSizeDecimals = Other->FSizeDecimals;
    }
    plat::TFont::Assign(Source);
}

bool JapaneseLocale()
{
    return plat::CurrentLocaleProvider().UserDefaultLanguage() == plat::LANG_JAPANESE;
}

namespace {

// The standard chart font size, for a size text that holds no number.
constexpr int StandardFontSize = 8;

int SizeFromText(const std::string& Text)
{
    int Size = 0;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Size);
    return Error == std::errc{} && End == Text.data() + Text.size() ? Size : StandardFontSize;
}

} // namespace

void InitDefaultFont()
{
    DefaultFontName = ChartText(TChartMessage::DefaultFontName);
    DefaultFontSize = SizeFromText(ChartText(TChartMessage::DefaultFontSize));
    if (DefaultFontSize == 8 && JapaneseLocale()) {
        DefaultFontSize = 9;
    }
    if (DefaultFontName == "Arial" && JapaneseLocale()) {
        DefaultFontName = JapaneseDefaultFontName;
    }
}

} // namespace qel
