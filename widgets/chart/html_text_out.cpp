// The two passes of the HTML-like text: a measuring pass that sizes the
// block without writing text, and a drawing pass. Both change the canvas
// font as the tags say and share the unit's tag and font stacks.
#include "widgets/chart/html_text_out.h"

#include "widgets/chart/chart_canvas.h"
#include "widgets/chart/chart_font.h"
#include "widgets/chart/html_stacks.h"
#include "widgets/chart/html_tokens.h"

#include "platform/canvas/graphic.h"
#include "platform/streams.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace qel {

THtmlFindGraphic HtmlFindGraphic = nullptr;
THtmlLoadSource HtmlLoadSource = nullptr;

namespace {

constexpr int TextAlignRight = 2;
constexpr int TextAlignCenter = 6;
constexpr TColor RuleColor = 0x808080;
constexpr int RuleLength = 100;
constexpr int PlaceholderSize = 40;

int Clamped(std::int64_t Value)
{
    return static_cast<int>(std::clamp<std::int64_t>(Value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool StartsWith(const std::string& Text, std::string_view Head)
{
    return Text.compare(0, Head.size(), Head) == 0;
}

class THtmlPass {
public:
    THtmlPass(TChtCanvas& ACanvas, int AX, int AY, bool ADraw)
        : Canvas(ACanvas), Font(*ACanvas.Font()), Stacks(CurrentHtmlStacks()), X(AX), Y(AY), LineStart(AX),
          Draw(ADraw), LineHeight(ACanvas.FontHeight())
    {
    }

    TPoint Run(std::string Rest)
    {
        for (std::string Token = NextHtmlToken(Rest); !Token.empty(); Token = NextHtmlToken(Rest)) {
            HandleToken(std::move(Token));
        }
        return {Width, Height};
    }

private:
    void HandleToken(std::string T);
    bool HandleFontTag(const std::string& U);
    bool HandleStyleTag(const std::string& U);
    bool HandleLayoutTag(const std::string& U, const std::string& T);
    void CloseLastTag();
    void TextRun(std::string S);
    void Picture(const std::string& T);
    void Placeholder(int W, int H);
    void Rule();

    void PushFont();
    void PopFont();
    void ApplyFontAttributes(const std::string& Tag);
    void ApplyAttribute(const THtmlAttribute& Attribute);
    void SetStyle(plat::TFontStyle Style, bool On);
    void SetPointSize(double Size);
    std::string FontDescription() const;
    int FontHeight() { return Canvas.FontHeight(); }

    TChtCanvas& Canvas;
    TChtFont& Font;
    THtmlStacks& Stacks;
    int X;                          // top-left of the next run
    int Y;
    int LineStart;                  // the X a line break returns to
    bool Draw;                      // false: measuring, text runs are not written
    int Width = 0;                  // largest X a run reached, or picture width
    int Height = 0;                 // height of the block
    int LineHeight;                 // height of the current line
    bool Centered = false;
    int SavedY = 0;                 // Y before a sub- or superscript
    bool FontPushed = false;        // the tag at hand pushed a font
    bool PrevFontPushed = false;    // FontPushed of the last tag handled
};

void THtmlPass::HandleToken(std::string T)
{
    FontPushed = false;
    if (StartsWith(T, "\r\n")) {
        Y = Clamped(std::int64_t{Y} + FontHeight());
        X = LineStart;
        LineHeight = 0;
        T.erase(0, 2);
        if (T.empty()) {
            return;
        }
    }
    const std::string U = HtmlUpperCase(T);
    if (U == "</>") {
        if (PrevFontPushed) {
            PopFont();
        } else {
            CloseLastTag();
        }
        PrevFontPushed = FontPushed;
        return;
    }
    if (!HandleFontTag(U) && !HandleStyleTag(U) && !HandleLayoutTag(U, T)) {
        TextRun(std::move(T));
        return;
    }
    PrevFontPushed = FontPushed;
}

// "</>" without a font to pop closes the last style tag opened.
void THtmlPass::CloseLastTag()
{
    const std::string Last = PopHtmlEntry(Stacks.Tags);
    HandleToken("</" + (Last.empty() ? std::string() : Last.substr(1)));
}

bool THtmlPass::HandleFontTag(const std::string& U)
{
    static constexpr int HeadingSizes[] = {48, 36, 24, 18, 12, 8};
    if (U == "<BIG>") {
        PushFont();
        SetPointSize(Font.Size() + 2);
        Y = Clamped(std::int64_t{Y} - 4);
    } else if (U == "<SMALL>") {
        PushFont();
        SetPointSize(Font.Size() - 2);
        Y = Clamped(std::int64_t{Y} - 1);
    } else if (U == "</BIG>") {
        PopFont();
        Y = Clamped(std::int64_t{Y} + 2);
    } else if (U == "</SMALL>") {
        PopFont();
        Y = Clamped(std::int64_t{Y} - 2);
    } else if (U == "</SUB>" || U == "</SUPER>" || U == "</SUP>") {
        PopFont();
        Y = SavedY;
    } else if (U == "<SUB>") {
        SavedY = Y;
        PushFont();
        SetPointSize(Font.Size() / 2);
    } else if (U == "<SUPER>" || U == "<SUP>") {
        SavedY = Y;
        PushFont();
        SetPointSize(Font.Size() / 2);
        Y = Clamped(std::int64_t{Y} - FontHeight());
    } else if (U.size() == 4 && StartsWith(U, "<H") && U[2] >= '1' && U[2] <= '6' && U[3] == '>') {
        PushFont();
        SetPointSize(HeadingSizes[U[2] - '1']);
    } else if (U == "<PRE>") {
        PushFont();
        ApplyFontAttributes("<FONT NAME=\"COURIER NEW\">");
    } else if ((U.size() == 5 && StartsWith(U, "</H") && U[3] >= '1' && U[3] <= '6' && U[4] == '>')
               || StartsWith(U, "</FONT") || U == "</PRE>") {
        PopFont();
    } else if (StartsWith(U, "<FONT ")) {
        PushFont();
        ApplyFontAttributes(U);
    } else {
        return false;
    }
    return true;
}

bool THtmlPass::HandleStyleTag(const std::string& U)
{
    struct TStyleTag {
        std::string_view Open;
        std::string_view Close;
        plat::TFontStyle Style;
    };
    static constexpr TStyleTag StyleTags[] = {
        {"<B>", "</B>", plat::fsBold}, {"<BOLD>", "</BOLD>", plat::fsBold},
        {"<STRONG>", "</STRONG>", plat::fsBold}, {"<I>", "</I>", plat::fsItalic},
        {"<U>", "</U>", plat::fsUnderline}, {"<STRIKE>", "</STRIKE>", plat::fsStrikeOut},
    };
    for (const TStyleTag& Tag : StyleTags) {
        if (U == Tag.Open) {
            SetStyle(Tag.Style, true);
            Stacks.Tags.push_back(U);
            return true;
        }
        if (U == Tag.Close) {
            SetStyle(Tag.Style, false);
            return true;
        }
    }
    return false;
}

bool THtmlPass::HandleLayoutTag(const std::string& U, const std::string& T)
{
    if (U == "<BR>" || U == "<P>") {
        X = LineStart;
        LineHeight = 0;
        const int FontPixels = FontHeight();
        Y = Clamped(std::int64_t{Y} + FontPixels);
        Height = Clamped(std::int64_t{Height} + FontPixels + 2);
    } else if (U == "<CENTER>") {
        Centered = true;
    } else if (U == "</CENTER>") {
        Centered = false;
    } else if (StartsWith(U, "<IMG ")) {
        Picture(T);
    } else if (U == "<HR>") {
        Rule();
    } else {
        return false;
    }
    return true;
}

void THtmlPass::Rule()
{
    X = LineStart;
    Canvas.Pen()->SetStyle(plat::psSolid);
    Canvas.Pen()->SetWidth(1);
    Canvas.Pen()->SetColor(RuleColor);
    Canvas.DoHorizLine(X, Clamped(std::int64_t{X} + RuleLength), Y);
    Y = Clamped(std::int64_t{Y} + FontHeight());
}

void THtmlPass::TextRun(std::string S)
{
    S = DecodeHtmlEntities(std::move(S));
    const bool LineBreak = S.size() >= 2 && S.compare(S.size() - 2, 2, "\r\n") == 0;
    if (LineBreak) {
        S.resize(S.size() - 2);
    }
    if (!S.empty()) {
        const TPointFloat Size = Canvas.TextSize(S);
        const int W = RoundToPixel(Size.X);
        const int H = RoundToPixel(Size.Y);
        if (Centered) {
            const TRect& Bounds = Canvas.Bounds();
            X = Clamped((std::int64_t{Bounds.Left} + Bounds.Right) / 2 - W / 2);
        }
        if (LineHeight == 0) {
            LineHeight = FontHeight();
        } else if (LineHeight > Size.Y) {
            Y = Clamped(std::int64_t{Y} + LineHeight - H - 1);
        }
        if (Draw) {
            Canvas.TextOut(X, Y, S);
        }
        X = Clamped(std::int64_t{X} + W);
        Width = std::max(Width, X);
        if (Size.Y > LineHeight) {
            LineHeight = H - 1;
        }
        Height = std::max(Height, LineHeight);
    }
    if (LineBreak) {
        LineHeight = 0;
        X = LineStart;
    }
}

void THtmlPass::Picture(const std::string& T)
{
    std::string Attributes = T.substr(5);
    if (StartsWith(Attributes, "\r\n")) {
        Attributes.erase(0, 2);
    }
    if (!Attributes.empty() && Attributes.back() == '>') {
        Attributes.pop_back();
    }
    int W = 0;
    int H = 0;
    std::string Source;
    bool HasSource = false;
    for (const THtmlAttribute& Attribute : ParseHtmlAttributes(Attributes)) {
        const std::string Name = HtmlUpperCase(Attribute.Name);
        if (Name == "WIDTH") {
            W = std::clamp(HtmlInteger(Attribute.Value), -MaxHtmlPictureSize, MaxHtmlPictureSize);
        } else if (Name == "HEIGHT") {
            H = std::clamp(HtmlInteger(Attribute.Value), -MaxHtmlPictureSize, MaxHtmlPictureSize);
        } else if (Name == "SRC") {
            Source = Attribute.Value;
            HasSource = true;
        }
    }
    if (!HasSource) {
        return;
    }
    Source = HtmlUnquote(HtmlTrim(Source));
    const std::size_t Dot = Source.rfind('.');
    const std::string Extension = Dot == std::string::npos ? std::string() : HtmlUpperCase(Source.substr(Dot));
    const std::unique_ptr<THtmlGraphic> Graphic = HtmlFindGraphic ? HtmlFindGraphic(Extension) : nullptr;
    plat::TMemoryStream Stream;
    if (!Graphic || !HtmlLoadSource || HtmlLoadSource(Source, Stream) != 0 || Stream.Size() == 0) {
        Placeholder(W, H);
        return;
    }
    try {
        Stream.SetPosition(0);
        Graphic->LoadFromStream(Stream);
        plat::TGraphic& Picture = Graphic->Graphic();
        if (W == 0) {
            W = std::min(Picture.Width(), MaxHtmlPictureSize);
        }
        if (H == 0) {
            H = std::min(Picture.Height(), MaxHtmlPictureSize);
        }
        if (Picture.Width() == W && Picture.Height() == H) {
            Canvas.Draw(X, Y, &Picture);
        } else if (X > 0 && Y > 0) {
            const int Left = Centered ? X - W / 2 : X;
            Canvas.StretchDraw(TRect{Left, Y, Clamped(std::int64_t{Left} + W), Clamped(std::int64_t{Y} + H)}, &Picture);
        }
    } catch (const std::exception&) {
        Placeholder(W, H);
        return;
    }
    X = Clamped(std::int64_t{X} + W);
    Y = Clamped(std::int64_t{Y} + H - 10);
    LineHeight = H;
    Width = std::max(Width, W);
    Height = std::max(Height, H);
}

// A white box with a red cross; the position does not move.
void THtmlPass::Placeholder(int W, int H)
{
    const int BoxWidth = W == 0 ? PlaceholderSize : W;
    const int BoxHeight = H == 0 ? PlaceholderSize : H;
    const int Right = Clamped(std::int64_t{X} + BoxWidth);
    const int Bottom = Clamped(std::int64_t{Y} + BoxHeight);
    Canvas.Pen()->SetStyle(plat::psSolid);
    Canvas.Pen()->SetWidth(1);
    Canvas.Pen()->SetColor(plat::clRed);
    Canvas.Brush()->SetStyle(plat::bsSolid);
    Canvas.Brush()->SetColor(plat::clWhite);
    Canvas.Rectangle(X, Y, Right, Bottom);
    Canvas.Line(X, Y, Right - 1, Bottom - 1);
    Canvas.Line(X, Bottom - 1, Right - 1, Y);
}

std::string THtmlPass::FontDescription() const
{
    static constexpr std::pair<plat::TFontStyle, std::string_view> StyleWords[] = {
        {plat::fsBold, "BOLD"}, {plat::fsItalic, "ITALIC"}, {plat::fsUnderline, "UNDERLINE"},
        {plat::fsStrikeOut, "STRIKE"}};
    std::string Words;
    for (const auto& [Style, Word] : StyleWords) {
        if (Font.Style().Contains(Style)) {
            Words += (Words.empty() ? "" : ", ") + std::string(Word);
        }
    }
    return "<FONT size=" + std::to_string(Font.Size()) + " name=" + Font.Name() + " color="
         + std::to_string(Font.Color()) + " weight=" + (Words.empty() ? std::string("NORMAL") : Words) + ">";
}

void THtmlPass::PushFont()
{
    Stacks.Fonts.push_back(FontDescription());
    FontPushed = true;
}

// An empty stack gives the empty description, which applies nothing.
void THtmlPass::PopFont()
{
    ApplyFontAttributes(PopHtmlEntry(Stacks.Fonts));
}

// Tag is "<FONT " ... ">"; both ends are cut off before the attributes.
void THtmlPass::ApplyFontAttributes(const std::string& Tag)
{
    std::string_view Attributes = Tag;
    Attributes.remove_prefix(std::min<std::size_t>(6, Attributes.size()));
    if (!Attributes.empty() && Attributes.back() == '>') {
        Attributes.remove_suffix(1);
    }
    for (const THtmlAttribute& Attribute : ParseHtmlAttributes(Attributes)) {
        ApplyAttribute(Attribute);
    }
}

void THtmlPass::ApplyAttribute(const THtmlAttribute& Attribute)
{
    const std::string Name = HtmlUpperCase(Attribute.Name);
    const std::string& Value = Attribute.Value;
    if (Name == "NAME" || Name == "FAMILY") {
        Font.SetName(HtmlUnquote(Value));
    } else if (Name == "SIZE") {
        const double Number = HtmlNumber(Value);
        const bool Relative = !Value.empty() && (Value.front() == '+' || Value.front() == '-');
        SetPointSize(Relative ? Font.Size() + Number : Number);
    } else if (Name == "COLOR") {
        Font.SetColor(HtmlColorValue(Value));
    } else if (Name == "WEIGHT") {
        plat::TFontStyles Styles;
        const std::string Words = HtmlUpperCase(Value);
        std::size_t Start = 0;
        while (true) {
            const std::size_t Comma = Words.find(',', Start);
            const std::string Word = HtmlTrim(std::string_view(Words).substr(Start, Comma - Start));
            if (Word == "BOLD") {
                Styles.Include(plat::fsBold);
            } else if (Word == "ITALIC") {
                Styles.Include(plat::fsItalic);
            } else if (Word == "UNDERLINE") {
                Styles.Include(plat::fsUnderline);
            } else if (Word == "STRIKE") {
                Styles.Include(plat::fsStrikeOut);
            } else if (Word != "NORMAL") {
                throw EHtmlFontError("Unknown field in FONT WEIGHT=" + Word);
            }
            if (Comma == std::string::npos) {
                break;
            }
            Start = Comma + 1;
        }
        Font.SetStyle(Styles);
    } else {
        throw EHtmlFontError("Unknown field in FONT: " + Name);
    }
}

void THtmlPass::SetStyle(plat::TFontStyle Style, bool On)
{
    plat::TFontStyles Styles = Font.Style();
    if (On) {
        Styles.Include(Style);
    } else {
        Styles.Exclude(Style);
    }
    Font.SetStyle(Styles);
}

void THtmlPass::SetPointSize(double Size)
{
    Font.SetSizeFloat(static_cast<float>(std::clamp(Size, -MaxHtmlFontSize, MaxHtmlFontSize)));
}

} // namespace

TPoint HtmlDrawPass(TChtCanvas& Canvas, int X, int Y, const std::string& Text, bool Draw)
{
    return THtmlPass(Canvas, X, Y, Draw).Run(Text);
}

void HtmlTextOut(TChtCanvas& Canvas, int X, int Y, const std::string& Text)
{
    const int Align = Canvas.GetTextAlign();
    if (Align != TextAlignCenter && Align != TextAlignRight) {
        HtmlDrawPass(Canvas, X, Y, Text, true);
        return;
    }
    int W = HtmlDrawPass(Canvas, 0, 0, Text, false).X;
    if (Align == TextAlignCenter) {
        W /= 2;
    }
    Canvas.SetTextAlign(0);
    try {
        HtmlDrawPass(Canvas, Clamped(std::int64_t{X} - W), Y, Text, true);
    } catch (...) {
        Canvas.SetTextAlign(Align);
        throw;
    }
    Canvas.SetTextAlign(Align);
}

} // namespace qel
