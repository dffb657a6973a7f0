// HTML-like text on a chart canvas: line breaks, font size, face, colour and
// style tags, headings, sub- and superscript, centring, rules, pictures and
// four character entities. Text runs go through the canvas's own TextOut,
// so they keep the canvas font's effects.
#pragma once

#include "widgets/chart/chart_points.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace plat {
class TGraphic;
class TStream;
} // namespace plat

namespace qel {

class TChtCanvas;

// A FONT attribute or weight word that is not known.
class EHtmlFontError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A picture of one file kind, empty until it reads a stream.
class THtmlGraphic {
public:
    virtual ~THtmlGraphic() = default;
    // Raises an exception on data it cannot read.
    virtual void LoadFromStream(plat::TStream& Stream) = 0;
    virtual plat::TGraphic& Graphic() = 0;
};

// A new picture able to read files of the upper-case extension Ext (with its
// dot), or nullptr.
using THtmlFindGraphic = std::unique_ptr<THtmlGraphic> (*)(const std::string& Ext);
// Copies the picture Src names into Stream; 0 on success.
using THtmlLoadSource = int (*)(const std::string& Src, plat::TStream& Stream);

// None installed: every picture is a placeholder.
extern THtmlFindGraphic HtmlFindGraphic;
extern THtmlLoadSource HtmlLoadSource;

// Point sizes the tags may reach; beyond them a size stays at the bound.
constexpr double MaxHtmlFontSize = 400;
// Pixel sizes a picture tag may ask for.
constexpr int MaxHtmlPictureSize = 32767;

// Draws Text with its top-left at (X, Y); centred and right alignment are
// measured first. The canvas keeps the font the tags leave, and tags left
// open or fonts left pushed stay on the unit's stacks for later calls.
void HtmlTextOut(TChtCanvas& Canvas, int X, int Y, const std::string& Text);

// The block's width and height; writes text runs only when Draw (pictures,
// placeholders and rules are drawn in both passes).
TPoint HtmlDrawPass(TChtCanvas& Canvas, int X, int Y, const std::string& Text, bool Draw);

} // namespace qel
