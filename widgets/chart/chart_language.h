// The chart library's language switch: the three setters, the current caption list
// and the start-up and shutdown of all chart texts.
#pragma once

#include <string>
#include <vector>

namespace qel {

// An ordered, unsorted list of "KEY=text" rows; repeated keys stay in it.
using TChartLanguageList = std::vector<std::string>;

// The list the caption translation looks words up in; none (nullptr) for English.
// It does not own the list.
extern const TChartLanguageList* ChartLanguageList;

// When true, a translated caption keeps its old accelerator in parentheses.
extern bool ChartHotkeyInParentheses;

// A library flag that every setter sets to true; initially true, read by nothing here.
extern bool ChartLanguageSetterFlag;

// The built lists, or nullptr before the first switch to that language. Once built,
// a list stays unchanged until FinalizeChartTexts.
const TChartLanguageList* ChartGermanList();
const TChartLanguageList* ChartFrenchList();

// Each may be called any number of times, in any order, after InitChartTexts.
// English reassigns every entry and selects no list; German and French build their
// list on first use, select it and assign only the entries they translate, so all
// other entries keep whatever text they had.
void ChartLanguageEnglish();
void ChartLanguageGerman();
void ChartLanguageFrench();

// Start-up of the text modules: line break, file extension, English texts, no list.
void InitChartTexts();

// Shutdown: the lists are freed and every text is cleared.
void FinalizeChartTexts();

} // namespace qel
