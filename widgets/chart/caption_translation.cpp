// Caption translation over the chart language list, and the walk over a
// control and the components it owns. Runs on the user-interface thread.
#include "widgets/chart/caption_translation.h"

#include "widgets/chart/caption_target.h"
#include "widgets/chart/chart_language.h"

#include "platform/locale.h"
#include "platform/objects/component.h"

#include <algorithm>
#include <optional>

namespace qel {

TChartTranslateControlHook ChartTranslateControlHook = nullptr;
TChartTranslateTextHook ChartTranslateTextHook = nullptr;
TCaptionTargetFinder CaptionTargetFinder = nullptr;

int TCaptionTarget::IndexOfText(const std::string& Value) const
{
    const std::vector<std::string> Items = Texts();
    const auto Found = std::find(Items.begin(), Items.end(), Value);
    return Found == Items.end() ? -1 : static_cast<int>(Found - Items.begin());
}

TFoundCaptionTarget FindCaptionTarget(plat::TComponent& Component)
{
    TFoundCaptionTarget Found;
    Found.Target = dynamic_cast<TCaptionTarget*>(&Component);
    if (Found.Target == nullptr && CaptionTargetFinder != nullptr) {
        Found.Adapter = CaptionTargetFinder(Component);
        Found.Target = Found.Adapter.get();
    }
    return Found;
}

bool FarEastLocale()
{
    const plat::LANGID Language = plat::CurrentLocaleProvider().UserDefaultLanguage();
    return Language == plat::LANG_JAPANESE || Language == plat::LANG_CHINESE || Language == plat::LANG_KOREAN;
}

namespace {

bool IsAsciiAlnum(char C)
{
    return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

char AsciiUpper(char C)
{
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

// Bytes of the UTF-8 character that starts with Lead (1 for a stray byte).
std::size_t CharLength(char Lead)
{
    const auto Byte = static_cast<unsigned char>(Lead);
    if (Byte >= 0xF0) {
        return 4;
    }
    if (Byte >= 0xE0) {
        return 3;
    }
    return Byte >= 0xC0 ? 2 : 1;
}

std::string TrimControls(const std::string& S)
{
    const auto IsBlank = [](char C) { return static_cast<unsigned char>(C) <= 32; };
    std::size_t First = 0;
    std::size_t Last = S.size();
    while (First < Last && IsBlank(S[First])) {
        ++First;
    }
    while (Last > First && IsBlank(S[Last - 1])) {
        --Last;
    }
    return S.substr(First, Last - First);
}

// Length of a "(&X)" group at At, X one character; 0 when there is none.
std::size_t FarEastGroupAt(const std::string& S, std::size_t At)
{
    if (S.compare(At, 2, "(&") != 0 || At + 2 >= S.size()) {
        return 0;
    }
    const std::size_t Close = At + 2 + CharLength(S[At + 2]);
    return Close < S.size() && S[Close] == ')' ? Close + 1 - At : 0;
}

struct TStrippedCaption {
    std::string Text;                    // without accelerator marks
    std::string KeyLetter;               // the character after the last single "&"
};

TStrippedCaption StripAccelerators(const std::string& S, bool FarEast)
{
    TStrippedCaption Result;
    std::size_t I = 0;
    while (I < S.size()) {
        if (FarEast) {
            if (const std::size_t Group = FarEastGroupAt(S, I); Group > 0) {
                Result.KeyLetter = S.substr(I + 2, Group - 3);
                I += Group;
                continue;
            }
        }
        if (S[I] != '&') {
            Result.Text += S[I++];
        } else if (I + 1 < S.size() && S[I + 1] == '&') {
            Result.Text += '&';
            I += 2;
        } else {
            ++I;
            Result.KeyLetter = I < S.size() ? S.substr(I, CharLength(S[I])) : std::string();
        }
    }
    return Result;
}

// Puts "&" before the first ASCII letter or digit of S not in UsedKeys.
void PlaceAccelerator(std::string& S, std::string& UsedKeys)
{
    for (std::size_t I = 0; I < S.size(); ++I) {
        if (IsAsciiAlnum(S[I]) && UsedKeys.find(S[I]) == std::string::npos) {
            UsedKeys += S[I];
            S.insert(I, 1, '&');
            return;
        }
    }
}

bool EndsWith(const std::string& S, std::string_view Tail)
{
    return S.size() >= Tail.size() && S.compare(S.size() - Tail.size(), Tail.size(), Tail) == 0;
}

} // namespace

std::string LookupLanguageText(const std::string& Key)
{
    if (ChartLanguageList == nullptr) {
        return {};
    }
    for (const std::string& Row : *ChartLanguageList) {
        const std::size_t Equals = Row.find('=');
        if (Equals != std::string::npos && Row.compare(0, Equals, Key) == 0 && Equals == Key.size()) {
            return Row.substr(Equals + 1);
        }
    }
    return {};
}

bool TranslateCaption(std::string& S, std::string& UsedKeys)
{
    if (S.empty() || S == "?" || S == "%" || S == "0") {
        return false;
    }
    S = TrimControls(S);
    if (S.empty()) {
        return false;
    }
    const TStrippedCaption Stripped = StripAccelerators(S, FarEastLocale());
    const bool HasAccelerator = Stripped.Text != S;

    std::string Key = Stripped.Text;
    std::transform(Key.begin(), Key.end(), Key.begin(), AsciiUpper);
    const bool Colon = EndsWith(Key, ":");
    if (Colon) {
        Key.pop_back();
    }
    const bool Ellipsis = EndsWith(Key, "...");
    if (Ellipsis) {
        Key.resize(Key.size() - 3);
    }

    const std::string Translation = LookupLanguageText(Key);
    if (Translation.empty()) {
        return false;
    }
    S = Translation;
    if (HasAccelerator) {
        if (ChartHotkeyInParentheses) {
            std::string Letter = Stripped.KeyLetter;
            std::transform(Letter.begin(), Letter.end(), Letter.begin(), AsciiUpper);
            S += "(&" + Letter + ")";
        } else {
            PlaceAccelerator(S, UsedKeys);
        }
    }
    if (Ellipsis) {
        S += "...";
    }
    if (Colon) {
        S += ":";
    }
    return true;
}

std::string TranslateText(const std::string& S)
{
    std::string Result = S;
    std::string UsedKeys;
    if (!TranslateCaption(Result, UsedKeys)) {
        Result = S;
    }
    return Result;
}

namespace {

void TranslateTargetText(TCaptionTarget& Target, std::string& UsedKeys, bool AutoSizeWhenDone = false)
{
    std::string Text = Target.Text();
    if (TranslateCaption(Text, UsedKeys)) {
        Target.SetText(Text);
        if (AutoSizeWhenDone) {
            Target.SetAutoSize(true);
        }
    }
}

// Translates every text of the list in order and answers the new text of
// the entry at Index (empty when Index is outside the list).
std::optional<std::string> TranslateTexts(TCaptionTarget& Target, std::string& UsedKeys, int Index = -1)
{
    std::vector<std::string> Texts = Target.Texts();
    bool Changed = false;
    for (std::size_t I = 0; I < Texts.size(); ++I) {
        std::string Text = Texts[I];
        if (TranslateCaption(Text, UsedKeys)) {
            Texts[I] = Text;
            Changed = true;
        }
    }
    if (Changed) {
        Target.SetTexts(Texts);
    }
    if (Index < 0 || static_cast<std::size_t>(Index) >= Texts.size()) {
        return std::nullopt;
    }
    return Texts[static_cast<std::size_t>(Index)];
}

// A sorted list finds its selected item again by its new text, an unsorted
// one keeps the index.
void TranslateItemList(TCaptionTarget& Target, std::string& UsedKeys)
{
    const int Index = Target.ItemIndex();
    if (!Target.Sorted()) {
        TranslateTexts(Target, UsedKeys);
        Target.SetItemIndex(Index);
        return;
    }
    const std::optional<std::string> Selected = TranslateTexts(Target, UsedKeys, Index);
    Target.SetItemIndex(Selected ? Target.IndexOfText(*Selected) : -1);
}

void TranslateByKind(TCaptionTarget& Target, std::string& UsedKeys)
{
    switch (Target.Kind()) {
    case TCaptionKind::Label:
        TranslateTargetText(Target, UsedKeys, true);
        break;
    case TCaptionKind::ItemList:
        TranslateItemList(Target, UsedKeys);
        break;
    case TCaptionKind::RadioGroup:
        TranslateTargetText(Target, UsedKeys);
        TranslateTexts(Target, UsedKeys);
        break;
    case TCaptionKind::PageControl:
    case TCaptionKind::TabControl:
    case TCaptionKind::PopupMenu:
    case TCaptionKind::TreeView:
        TranslateTexts(Target, UsedKeys);
        break;
    case TCaptionKind::MenuItem:
    case TCaptionKind::Control:
        TranslateTargetText(Target, UsedKeys);
        break;
    case TCaptionKind::Other:
        break;
    }
}

void TranslateHint(TCaptionTarget& Target, std::string& UsedKeys)
{
    if (!Target.HasHint()) {
        return;
    }
    std::string Hint = Target.Hint();
    if (!Hint.empty() && TranslateCaption(Hint, UsedKeys)) {
        Target.SetHint(Hint);
    }
}

} // namespace

void TranslateControlTexts(plat::TComponent* Control, std::span<plat::TComponent* const> Exclude)
{
    if (ChartLanguageList == nullptr || Control == nullptr) {
        return;
    }
    std::string UsedKeys;
    if (const TFoundCaptionTarget Own = FindCaptionTarget(*Control)) {
        TranslateTargetText(*Own.Target, UsedKeys);
    }
    const int Count = Control->ComponentCount();
    for (int I = 0; I < Count && I < Control->ComponentCount(); ++I) {
        plat::TComponent* Component = Control->Components(I);
        if (std::find(Exclude.begin(), Exclude.end(), Component) != Exclude.end()) {
            continue;
        }
        const TFoundCaptionTarget Found = FindCaptionTarget(*Component);
        if (!Found) {
            continue;
        }
        TranslateByKind(*Found.Target, UsedKeys);
        TranslateHint(*Found.Target, UsedKeys);
    }
}

void InitCaptionTranslation()
{
    ChartTranslateControlHook = TranslateControlTexts;
    ChartTranslateTextHook = TranslateText;
}

void FinalizeCaptionTranslation()
{
    ChartTranslateControlHook = nullptr;
    ChartTranslateTextHook = nullptr;
}

} // namespace qel
