// The library base unit's start and end.
#include "widgets/pages/pgc_base_unit.h"

#include "widgets/pages/pgc_attached_label.h"
#include "widgets/pages/pgc_controller.h"

#include "platform/objects/class_registry.h"

namespace qel {

void InitPgcBaseUnit()
{
    if (plat::GetClass(TPgcAttachedLabel::StaticClass()->ClassName()) == nullptr) {
        plat::RegisterClass(TPgcAttachedLabel::StaticClass());
    }
}

void FinalizePgcBaseUnit()
{
    FreeDefaultController();
}

} // namespace qel
