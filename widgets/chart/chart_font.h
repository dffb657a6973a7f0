// The chart font: the drawing layer's font with a brush for its glyphs, a
// fractional size, an outline pen, a shadow, an emboss, extra space between
// characters, a depth and a rendering quality. A change anywhere in it
// reaches the font's owner through the font's change event. Also the
// library's default font, set once at start-up.
#pragma once

#include "widgets/chart/chart_colors.h"

#include "platform/canvas/graphics_objects.h"

#include <memory>

namespace qel {

class TChtBrush;
class TChtEmboss;
class TChtGradient;
class TChtHiddenPen;
class TChtPicture;
class TChtShadow;

enum TFontQuality { fqBest, fqNormal, fqDefault, fqClearType };

class TChtFont : public plat::TFont {
    PLAT_CLASS(TChtFont, plat::TFont)
public:
    // Black, in the default font and size, charset 1; construction
    // announces nothing, ChangedEvent hears of every later change.
    explicit TChtFont(plat::TNotifyEvent ChangedEvent = {});
    ~TChtFont() override;

    // Colour of the font and its brush and the default of the stored
    // colour rule, without notification.
    void SetDefaultColor(TColor Value);

    // Size plus a fraction in [0, 1).
    float SizeFloat() const;
    void SetSizeFloat(float Value);

    TChtBrush* Brush() const { return FBrush.get(); }
    void SetBrush(const TChtBrush* Value);
    // The brush's gradient and picture.
    TChtGradient* Gradient() const;
    void SetGradient(const TChtGradient* Value);
    TChtPicture* Picture() const;
    void SetPicture(const TChtPicture* Value);

    // Made on first read with the font's change event at that moment;
    // nullptr frees them silently, any other object is copied.
    TChtHiddenPen* OutLine() const;
    void SetOutLine(const TChtHiddenPen* Value);
    TChtShadow* Shadow() const;
    void SetShadow(const TChtShadow* Value);
    TChtEmboss* Emboss() const;
    void SetEmboss(const TChtEmboss* Value);
    // The sub-objects made so far, without making them.
    const TChtShadow* ShadowIfAny() const { return FShadow.get(); }
    const TChtEmboss* EmbossIfAny() const { return FEmboss.get(); }
    const TChtHiddenPen* OutLineIfAny() const { return FOutLine.get(); }

    bool DefaultFont() const { return FDefault; }
    void SetDefaultFont(bool Value);
    double Depth() const { return FDepth; }
    void SetDepth(double Value);
    // Extra pixels between characters.
    int InterCharSize() const { return FInterCharSize; }
    void SetInterCharSize(int Value);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality Value);

    // From another chart font also brush, outline, shadow and emboss (a
    // source without one frees this font's), size fraction and the plain
    // settings, silently; then the platform font's part, which announces
    // the change. The stored-rule defaults stay.
    void Assign(const plat::TPersistent* Source) override;

private:
    template <class T>
    void Store(T& Field, T Value);
    bool IsHeightStored() const;
    bool IsColorStored() const { return Color() != IDefColor; }
    bool IsNameStored() const;
    bool IsSizeFloatStored() const { return FSizeDecimals != 0; }
    bool IsStyleStored() const { return Style() != IDefStyle; }

    std::unique_ptr<TChtBrush> FBrush;           // fill of the glyphs
    float FSizeDecimals = 0;                     // SizeFloat - Size
    bool FDefault = false;
    double FDepth = 0;
    int FInterCharSize = 0;
    mutable std::unique_ptr<TChtHiddenPen> FOutLine;
    TFontQuality FQuality = fqDefault;
    TColor IDefColor = clBlack;                  // colour that is not stored
    plat::TFontStyles IDefStyle;                 // style that is not stored
    mutable std::unique_ptr<TChtEmboss> FEmboss;
    mutable std::unique_ptr<TChtShadow> FShadow;
};

// The user's language is Japanese.
bool JapaneseLocale();

// The default font name in a Japanese locale: the 15 characters of the
// Japanese system font's name as an ANSI program of another code page
// reads them.
inline constexpr const char* JapaneseDefaultFontName
    = "\u201Al\u201Ar \u201Ao\u0192S\u0192V\u0192b\u0192N";

// Sets DefaultFontName and DefaultFontSize from the chart texts; in a
// Japanese locale size 9 instead of 8 and the Japanese name for "Arial".
void InitDefaultFont();

} // namespace qel
