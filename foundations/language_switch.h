// The language switch: puts one column of the language table in place of the
// program texts, switches the chart library's texts, and sets the program's
// date, time and decimal formats; also the East-Asian language test.
#pragma once

#include "foundations/language_table.h"
#include "platform/resource_strings.h"

#include <cstdint>
#include <span>
#include <string>

namespace qel {

// Language indexes: the columns of the language table.
constexpr std::int32_t LANGUAGE_GERMAN = 0;
constexpr std::int32_t LANGUAGE_ENGLISH = 1;
constexpr std::int32_t LANGUAGE_FRENCH = 2;

// Format modes of SetLanguage and SetFormatSettings.
constexpr std::uint8_t FORMAT_MODE_SETTINGS = 0; // 0 and 1: date and decimal formats from the settings
constexpr std::uint8_t FORMAT_MODE_ENGLISH = 2;  // fixed English formats (and English texts)
constexpr std::uint8_t FORMAT_MODE_LOCALE = 3;   // 3 and up: the user's locale

// The chart library lies in a lower layer: start-up registers its three
// language setters here, and SetLanguage calls the one of the chosen language.
using TChartLanguageSetter = void (*)();
void SetChartLanguageHook(TChartLanguageSetter English, TChartLanguageSetter German, TChartLanguageSetter French);

// The language SetLanguage chose; -1 before it ran.
std::int32_t LanguageIndex();

// True when the user's language is Chinese, Japanese, Korean or Thai: the
// temperature unit is then written "*C". Set by InitLanguageSwitch, then only read.
extern bool AsianLocale;
bool IsAsianLanguage(std::uint16_t PrimaryLanguage);

// Unit initialisation: the language index back to -1, AsianLocale from the
// user's language (the current locale provider).
void InitLanguageSwitch();

// The current text of a program text.
std::string LoadLanguageStr(plat::PResString Res);

// Makes Res read as Text from now on; a null Res is ignored.
void PatchResString(plat::PResString Res, const char* Text);

// Chooses the language (Mode 2 forces English; NoFrench turns French into
// English), replaces the texts of every row of Table by that column, switches
// the chart texts and sets the format settings. Returns the language index.
std::int32_t SetLanguage(std::span<const TLanguageRes> Table, std::int32_t Lang, std::uint8_t Mode, bool NoFrench);

// 0, 1 and 2 as they are; any other value (compared unsigned, so -1 too)
// chooses by the user's language: German 0, French 2, else English 1.
std::int32_t GetLanguageIndex(std::uint32_t Lang);

// The program's format settings (plat::FormatSettings()) for a format mode.
void SetFormatSettings(std::uint8_t Mode);

// The short-date format of a LocDate code 0..5; empty for other values.
std::string GetDateFormatStr(std::int32_t Kind);

// Fills the format settings from the user's locale.
void SetLocaleFormats();

// Short month names JAN .. DEC.
void SetEnglishMonthNames();

// The date-time format text of a format kind, built from the program's format
// settings: 0 date and time, 1 with milliseconds, 2 time, 3 time with
// milliseconds, 4 date, 5 short time, 6 date and short time, 8 the fixed
// "MM/dd/yyyy HH:mm:ss"; any other kind an empty text.
std::string GetDateTimeFormat(std::uint8_t Kind);

// DateTime formatted with the text of the kind and the program's format
// settings. The formatter rounds to the millisecond before it splits the
// value, so a tick time on a whole second never shows the second before.
std::string FormatDateTimeKind(std::uint8_t Kind, double DateTime);

} // namespace qel
