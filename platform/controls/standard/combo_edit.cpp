// TComboEdit: the edit part of an editable combo box.
#include "platform/controls/standard/combo_edit.h"

#include "platform/controls/standard/combo_box.h"

namespace plat {

PLAT_DEFINE_CLASS(TComboEdit, TCustomEdit)

TComboEdit::TComboEdit(TCustomComboBox& combo) : TCustomEdit(&combo), FCombo(combo)
{
    SetBorderStyle(bsNone);
    SetAutoSize(false);
    SetTabStop(false);
}

void TComboEdit::Change()
{
    TCustomEdit::Change();
    FCombo.EditTextChanged();
}

} // namespace plat
