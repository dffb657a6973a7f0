// Tests of the foundations' unit initialisation and finalisation.
#include "foundations/foundation_units.h"

#include "foundations/debug_modes.h"
#include "foundations/language_switch.h"
#include "foundations/qel_error.h"
#include "foundations/qel_registry.h"
#include "foundations/settings.h"
#include "foundations/suite_services.h"
#include "platform/format_settings.h"
#include "platform/known_folders.h"
#include "platform/messages.h"
#include "platform/resource_strings.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(FoundationUnits, InitialiseAndFinalise)
{
    const plat::TScopedFormatSettings keepFormats;
    qeltest::TempDir root;
    plat::SetConfigRoot(root.File("config"));
    plat::SetProgramPath(root.File("qelreader"));
    qeltest::WriteWholeFile(root.File("qel_reg.ini"), "[Settings]\nKey=bench3\n");
    SetLanguage(LanguageTexts, LANGUAGE_GERMAN, 0, false);
    RegSettings.sQEL = "changed";

    InitFoundations();
    EXPECT_EQ(LanguageIndex(), -1);
    EXPECT_EQ(RegBaseKey, "\\Software\\Torvandix\\QEL_Prototypes\\bench3");
    EXPECT_EQ(WM_SUITE_NOTIFY, plat::RegisterWindowMessage(SUITE_MESSAGE_NAME));
    EXPECT_EQ(RegSettings.sQEL, "QEL");

    ASSERT_TRUE(SetDebugMode(2));
    SetLastErrorMsg("old");
    FinalizeFoundations();
    EXPECT_EQ(GetDebugMode(), 0);
    EXPECT_EQ(LastErrorMsg(), "");

    plat::SetConfigRoot("");
    plat::SetProgramPath("");
    plat::RestoreResStrings();
    RegBaseKey = DEFAULT_SETTINGS_KEY;
}

} // namespace
} // namespace qel
