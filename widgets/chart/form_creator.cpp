// Class metadata of the editor forms' scroll bar.
#include "widgets/chart/form_creator.h"

namespace qel {

PLAT_DEFINE_CLASS(TScrollBar, plat::TObject)

} // namespace qel
