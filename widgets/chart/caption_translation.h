// Translation of window and control captions through the current chart
// language list: keyed by the English caption in upper case, keeping a
// trailing colon and ellipsis, and giving a translated caption that had an
// accelerator a new one (or the old letter in parentheses).
#pragma once

#include <span>
#include <string>

namespace plat {
class TComponent;
} // namespace plat

namespace qel {

using TChartTranslateControlHook = void (*)(plat::TComponent* Control, std::span<plat::TComponent* const> Exclude);
using TChartTranslateTextHook = std::string (*)(const std::string& S);

// TranslateControlTexts and TranslateText while the translation is set up,
// none otherwise.
extern TChartTranslateControlHook ChartTranslateControlHook;
extern TChartTranslateTextHook ChartTranslateTextHook;

// The text after the first "=" of the first row whose part before it is Key
// exactly; empty when there is none or no list is selected.
std::string LookupLanguageText(const std::string& Key);

// Translates S in place (trimmed of blanks and control characters first,
// which stays even when nothing is found); UsedKeys collects the accelerator
// characters placed so far. True when S was translated.
bool TranslateCaption(std::string& S, std::string& UsedKeys);

// The translation of S, or S itself, blanks included.
std::string TranslateText(const std::string& S);

// Translates Control's text and those of the components it owns (but the
// excluded ones), sharing one set of accelerators.
void TranslateControlTexts(plat::TComponent* Control, std::span<plat::TComponent* const> Exclude);

// The user's language is Japanese, Chinese or Korean: a "(&X)" group is an
// accelerator mark as a whole.
bool FarEastLocale();

// Set-up and shutdown of the two hooks.
void InitCaptionTranslation();
void FinalizeCaptionTranslation();

} // namespace qel
