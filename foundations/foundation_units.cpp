// Unit initialisation and finalisation of the foundations.
#include "foundations/foundation_units.h"

#include "foundations/debug_modes.h"
#include "foundations/language_switch.h"
#include "foundations/qel_error.h"
#include "foundations/qel_registry.h"
#include "foundations/settings.h"
#include "foundations/suite_services.h"

namespace qel {

void InitFoundations()
{
    InitLanguageSwitch();
    SetDefaultSettings();
    SelectPrototypeKey();
    RegisterSuiteMessage();
}

void FinalizeFoundations()
{
    DebugFileClose();
    ClearLastErrorMsg();
}

} // namespace qel
