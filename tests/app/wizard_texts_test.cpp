// The wizard's own messages follow the language the start-up chose.
#include "app/wizard_texts.h"

#include "foundations/language_switch.h"
#include "foundations/settings.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(WizardTexts, FollowTheChosenLanguage)
{
    const struct {
        std::int32_t Language;
        const char* Expected;
    } cases[] = {
        {LANGUAGE_ENGLISH, "The buffer folder /d/QEL/temp/x/ cannot hold the program's buffer files."},
        {LANGUAGE_GERMAN, "Der Pufferordner /d/QEL/temp/x/ kann die Pufferdateien des Programms nicht aufnehmen."},
    };
    const std::int32_t kept = RegSettings.iRegLanguage;
    for (const auto& c : cases) {
        RegSettings.iRegLanguage = c.Language;
        EXPECT_EQ(WizardText(TWizardText::BufferFolderUnusable, "/d/QEL/temp/x/"), c.Expected);
        EXPECT_EQ(WizardText(TWizardText::NoFileWritten),
                  c.Language == LANGUAGE_GERMAN ? "Es wurde keine Datei geschrieben." : "No file has been written.");
    }
    RegSettings.iRegLanguage = kept;
}

} // namespace
} // namespace qel
