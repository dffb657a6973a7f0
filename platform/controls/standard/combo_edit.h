// TComboEdit: the editable field of a combo box, a borderless edit filling
// the combo box's field; what the user types there is the combo's text.
#pragma once

#include "platform/controls/standard/custom_edit.h"

namespace plat {

class TCustomComboBox;

class TComboEdit : public TCustomEdit {
    PLAT_CLASS(TComboEdit, TCustomEdit)
public:
    explicit TComboEdit(TCustomComboBox& combo);

protected:
    void Change() override;

private:
    TCustomComboBox& FCombo;
};

} // namespace plat
