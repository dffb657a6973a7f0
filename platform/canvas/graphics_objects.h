// The persistent drawing attributes of canvases: pens, brushes and fonts.
// Each announces every effective change through OnChange and realises
// itself as the device context's pen, brush or logical font.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/canvas/gdi_objects.h"
#include "platform/objects/events.h"
#include "platform/objects/persistent.h"
#include "platform/objects/set.h"

#include <optional>
#include <string>

namespace plat {

class TBitmap;

class TGraphicsObject : public TPersistent {
    PLAT_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    // Fires OnChange.
    virtual void Changed();
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// The mix mode (R2_...) of a pen mode.
int PenModeToRop2(TPenMode mode);

class TPen : public TGraphicsObject {
    PLAT_CLASS(TPen, TGraphicsObject)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);

    // The device pen: the one given to SetHandle (an extended pen), else one
    // made from colour, width and style.
    TLogPen Handle() const;
    void SetHandle(const TLogPen& pen);

    void Assign(const TPersistent* source) override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    std::optional<TLogPen> FHandle;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
    PLAT_CLASS(TBrush, TGraphicsObject)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    // A pattern bitmap (not owned; its pixels are copied when set).
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* value);

    TLogBrush Handle() const;
    void Assign(const TPersistent* source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
    TLogBrush FPattern; // the pattern brush made from FBitmap
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
    PLAT_CLASS(TFont, TGraphicsObject)
public:
    static constexpr const char* DefaultName = "Tahoma";

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    // Negative: the em height in pixels; positive: the cell height.
    int Height() const { return FHeight; }
    void SetHeight(int value);
    // Points at PixelsPerInch: Size = -MulDiv(Height, 72, PixelsPerInch).
    int Size() const;
    void SetSize(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t value);
    // Tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);

    TLogFont Handle() const;
    void Assign(const TPersistent* source) override;

private:
    std::string FName = DefaultName;
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    std::uint8_t FCharset = DEFAULT_CHARSET;
    int FOrientation = 0;
    int FPixelsPerInch = 96;
};

} // namespace plat
