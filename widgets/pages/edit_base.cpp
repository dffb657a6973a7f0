// Class data of the editor classes' common base.
#include "widgets/pages/edit_base.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcEditBase, TPgcCustomControlEx)

} // namespace qel
