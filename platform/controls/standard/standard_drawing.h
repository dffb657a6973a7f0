// What the standard controls share in looks and captions: the accelerator
// letter of a caption ("E&xit" is chosen with X), captions drawn enabled or
// embossed grey, the classic push-button face, arrows and the menu check
// mark, all in the system colours.
#pragma once

#include "platform/canvas/canvas.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// The character after the first single "&" of a caption, folded to lower
// case; 0 when the caption has none ("&&" stands for "&").
char16_t AcceleratorOf(std::string_view caption);
// Whether a typed character chooses the caption (case does not matter).
bool IsAccelerator(char16_t typed, std::string_view caption);
// The caption as shown, without its "&" marks.
std::string StripAccelerators(std::string_view caption);
// Lower case of a Latin letter; other characters stay.
char16_t FoldLetter(char16_t c);

// Draws text into rect with DrawText's format; disabled text is embossed
// in the shadow and highlight colours. The brush is left clear.
void DrawCaption(TCanvas& canvas, std::string_view text, TRect rect, std::uint32_t format, bool enabled,
                 TColor color = clBtnText);

// The face of a push button filling rect: a black frame when it is the
// default button, raised edges, or a flat shadow frame while pressed.
// Answers the area inside the edges.
TRect DrawPushButtonFace(TCanvas& canvas, const TRect& rect, bool pressed, bool defaultFrame);

enum class TArrowDirection { Up, Down, Left, Right };
// A small solid arrow centred in rect.
void DrawArrow(TCanvas& canvas, const TRect& rect, TArrowDirection direction, TColor color);
// The tick of a checked menu item (or a dot for a radio item), centred in rect.
void DrawMenuCheck(TCanvas& canvas, const TRect& rect, bool radio, TColor color);

// The height of one line of text in the font.
int LineHeight(TCanvas& canvas);

} // namespace plat
