// The layout dump: one line per control of every form, parents before
// children, with the path of names from the form, the class, the bounds in
// the parent, the client area on the screen, the state and the text. Tests
// and the smoke scripts find controls in it. What a control holds (rows,
// lines, check marks) may follow its line: each line given for it, indented
// one step below the control and led by "- ".
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace plat {

class TControl;

// The content lines of a control (none for most).
using TControlContents = std::function<std::vector<std::string>(TControl& control)>;

std::string DumpLayout(const TControlContents& contentOf = {});
// Text in double quotes as the dump writes it (", \ and the line and tab
// characters escaped with a backslash).
std::string LayoutQuoted(const std::string& text);
// A control's name, or its class and place among its siblings when unnamed.
std::string LayoutName(const TControl& control, int index);

} // namespace plat
