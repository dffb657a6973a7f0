// The two stacks of the chart's HTML-like text: the style tags opened and
// the fonts saved. They live from the unit's set-up to its shutdown and are
// shared by every call on every canvas, so a tag left open or a font never
// popped is still there for the next text. Painting thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qel {

struct THtmlStacks {
    std::vector<std::string> Tags;    // upper-cased style tags; leave only through "</>"
    std::vector<std::string> Fonts;   // saved fonts as "<FONT size=.. name=.. color=.. weight=..>"
};

// Nil outside InitChartHtml .. FinalizeChartHtml.
extern std::unique_ptr<THtmlStacks> HtmlStacks;

void InitChartHtml();
void FinalizeChartHtml();

// The stacks in force; raises std::logic_error before the unit's set-up.
THtmlStacks& CurrentHtmlStacks();

// Takes the last entry off Stack; the empty string when there is none.
std::string PopHtmlEntry(std::vector<std::string>& Stack);

} // namespace qel
