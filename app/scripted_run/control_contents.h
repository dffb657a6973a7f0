// What the scripted run's layout dump shows below a control besides its
// place: the state and content a user sees in it, so that a script can check
// the whole road without pictures. Each line is one item, its fields
// separated by tabs:
//   check box, radio button   checked=yes|no|grayed
//   list view                 column <i>  caption="..."  width=<px>
//                             row <i>  checked=yes|no (with check boxes)  cells="...","..."
//   data tree                 column <i>  caption="..."  width=<px>
//                             node <n.n...>  check=<kind>,<state>  expanded=yes|no
//                               visible=yes|no  shown=yes|no  cells="...","..."
//                             (kind none, tristate, checkbox, radio or button;
//                             state unchecked, checked or mixed, with
//                             -pressed or -disabled; visible: the node's own
//                             flag; shown: it takes a row, its parents open)
//   memo                      line <n>  text="..."
//   paragraph editor          line <n>  text="..." (display lines, tabs expanded)
#pragma once

#include <string>
#include <vector>

namespace plat {
class TControl;
}

namespace qel {

std::vector<std::string> ControlContents(plat::TControl& Control);

} // namespace qel
