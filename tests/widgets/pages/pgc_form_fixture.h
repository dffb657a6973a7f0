// The bench of the library's control tests: a headless host with its manual
// clock, an application, scripted dialogs and a shown form. The default
// controller goes with each test, so none outlives its application.
#pragma once

#include "widgets/pages/pgc_base_unit.h"

#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/dialogs.h"
#include "platform/hosts/headless/headless_host.h"

#include <gtest/gtest.h>

namespace qel::test {

class TPgcFormTest : public ::testing::Test {
protected:
    TPgcFormTest()
    {
        InitPgcBaseUnit();
        Form = App.CreateForm<plat::TForm>();
        Form->SetName("Form1");
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        Pump();
    }
    ~TPgcFormTest() override
    {
        FinalizePgcBaseUnit();
        EXPECT_EQ(Dialogs.Verify(), "");
    }

    void Pump() { Host.PumpUntilIdle(); }

    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    plat::TScriptedDialogs Dialogs;
    plat::TScopedDialogs DialogScope{Dialogs};
    plat::TForm* Form = nullptr;
};

} // namespace qel::test
