// The standard controls as targets of the chart caption translation, and the
// set-up that installs them with the translation's two hooks.
#pragma once

#include <memory>

namespace plat {
class TComponent;
} // namespace plat

namespace qel {

class TCaptionTarget;

// The adapter of a label, combo box, list box, menu item, pop-up menu or
// other control; nullptr for any other component. The first matching kind
// wins, so a label is no plain control.
std::unique_ptr<TCaptionTarget> StandardCaptionTarget(plat::TComponent& Component);

// The translation's hooks and the adapters above; and their removal.
void InitChartCaptionTranslation();
void FinalizeChartCaptionTranslation();

} // namespace qel
