// Tests of the language table's shape and of texts that must stay exactly
// as the suite ships them.
#include "foundations/language_table.h"

#include "platform/standard_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace qel {
namespace {

TEST(LanguageTable, EveryRowHasAProgramTextAndThreeTexts)
{
    EXPECT_EQ(LanguageTexts.size(), 123u);
    std::set<plat::PResString> programTexts;
    for (const TLanguageRes& row : LanguageTexts) {
        ASSERT_NE(row.PTR, nullptr);
        EXPECT_GT(std::strlen(row.ENG), 0u);
        EXPECT_GT(std::strlen(row.DEU), 0u) << row.ENG;
        EXPECT_GT(std::strlen(row.FRA), 0u) << row.ENG;
        EXPECT_TRUE(programTexts.insert(row.PTR).second) << "program text named twice: " << row.ENG;
    }
}

const TLanguageRes& RowOf(plat::PResString text)
{
    for (const TLanguageRes& row : LanguageTexts) {
        if (row.PTR == text) {
            return row;
        }
    }
    throw std::runtime_error("no row");
}

TEST(LanguageTable, RowsInTheirPlaces)
{
    struct Case {
        std::size_t index;
        plat::PResString text;
        const char* eng;
        const char* deu;
    };
    const Case cases[] = {
        {0, &SQelFile, "QEL file", "QEL Datei"},
        {5, &plat::SButtonOK, "OK", "OK"},
        {12, &plat::SButtonRetry, "&Retry", "&Wiederholen"},
        {15, &plat::SMsgBoxWarning, "Warning", "Warnung"},
        {28, &plat::SMsgBoxNoToAll, "N&o to All", "&Alle Nein"},
        {29, &plat::SMsgBoxYesToAll, "Yes to &All", "A&lle Ja"},
        {30, &SErrFileCreate, "File [%s] cannot be created !", "Datei [%s] kann nicht erstellt werden !"},
        {39, &SErrFatal, "Fatal Exception %d has occurred!", "Es ist die Exception %d aufgetreten !"},
        {56, &SErrNoValveTester, "No valve tester can be detected !", "Es kann kein QEL Ventiltester detektiert werden !"},
        {57, &SSerialPort, "Serial port", "Serieller Port"},
        {122, &SStartJartoscope, "Start Jartoscope", "Jartoscope starten"},
    };
    for (const Case& c : cases) {
        const TLanguageRes& row = LanguageTexts[c.index];
        EXPECT_EQ(row.PTR, c.text) << c.index;
        EXPECT_STREQ(row.ENG, c.eng) << c.index;
        EXPECT_STREQ(row.DEU, c.deu) << c.index;
    }
}

TEST(LanguageTable, TextsKeptByteForByte)
{
    // Spelling, doubled blanks, line breaks and the no-break space as shipped.
    EXPECT_STREQ(RowOf(&SErrOtherSerialNo).DEU,
                 "Der angeschlossene QEL besitzt eine andere Serienummer !\r\nBitte lesen Sie den QEL neu ein !");
    EXPECT_STREQ(RowOf(&SErrOtherSerialNo).FRA,
                 "QEL porte  un numéro de série différent !\r\nRenouvelez la lecture du QEL, SVP !");
    EXPECT_STREQ(RowOf(&SErrNoBaseModule).FRA, "Le module de base n'est past disponible !");
    EXPECT_STREQ(RowOf(&SErrUnknownVersion).FRA,
                 "Version de module inconnue !\r\nInstallez la nouvelle version du logiciel QEL, SVP\xC2\xA0!");
    EXPECT_STREQ(RowOf(&SErrRecordStarted).FRA,
                 "Pendant la lecture un enregistrement à été démarré.\r\n Eventuellement les données "
                 "enregistrées ne sont pas valides!");
    EXPECT_STREQ(RowOf(&SErrFatal).FRA, "L\u2019exception fatale %d s\u2019est produite !");
    EXPECT_STREQ(RowOf(&SAverageRateNote).DEU,
                 "Hinweis:\r\nDie durchschnittliche Messrate wird aus Startzeit, Endzeit und Anzahl der "
                 "Messwerte ermittelt. \r\nDies ist nur für Messdaten ohne zeitliche Lücken sinnvoll!");
    EXPECT_STREQ(RowOf(&SContainerFormatNote).ENG, "Note:\r\n This file format is only used by the QEL Pro software");
    EXPECT_STREQ(RowOf(&SErrSensorChange).FRA,
                 "Une modification des capteurs externes doit être enregistrée d'abord dans l'enregistreur!\r\n"
                 "Procédez selon l'instructions en bref .");
    EXPECT_STREQ(RowOf(&SErrUserAbort).DEU, "Abbruch durch Anwender");
}

TEST(LanguageTable, SameEnglishTextDifferentProgramTexts)
{
    EXPECT_STREQ(RowOf(&SStartTimeColumn).ENG, RowOf(&SStartTimeLabel).ENG);
    EXPECT_STREQ(RowOf(&SOkButton).ENG, RowOf(&plat::SButtonOK).ENG);
    EXPECT_STREQ(RowOf(&SCancelButton).ENG, RowOf(&plat::SMsgBoxCancel).ENG);
    EXPECT_NE(&SStartTimeColumn, &SStartTimeLabel);
}

} // namespace
} // namespace qel
