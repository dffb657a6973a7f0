// The class registrations of the standard controls.
#include "platform/controls/standard/standard_classes.h"

#include "platform/controls/form.h"
#include "platform/controls/standard/bevel.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/scroll_bar.h"
#include "platform/controls/standard/speed_button.h"
#include "platform/objects/class_registry.h"

namespace plat {

void RegisterStandardClasses()
{
    RegisterClasses({TBevel::StaticClass(), TButton::StaticClass(), TCheckBox::StaticClass(),
                     TComboBox::StaticClass(), TEdit::StaticClass(), TForm::StaticClass(),
                     TLabel::StaticClass(), TListBox::StaticClass(), TListView::StaticClass(), TMemo::StaticClass(),
                     TPanel::StaticClass(), TPopupMenu::StaticClass(), TMenuItem::StaticClass(),
                     TRadioButton::StaticClass(), TScrollBar::StaticClass(), TSpeedButton::StaticClass()});
}

} // namespace plat
