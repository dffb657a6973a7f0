// The editor's fixed-pitch font and the list of fixed-pitch families.
#include "widgets/pages/pgc_fixed_font.h"

#include "widgets/pages/pgc_exceptions.h"

#include "platform/canvas/font_map.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcFixedFont, plat::TPersistent,
    plat::Published("Color", &TPgcFixedFont::Color, &TPgcFixedFont::SetColor),
    plat::Published("Name", &TPgcFixedFont::Name, &TPgcFixedFont::SetName),
    plat::Published("Size", &TPgcFixedFont::Size, &TPgcFixedFont::SetSize),
    plat::Published("Style", &TPgcFixedFont::Style, &TPgcFixedFont::SetStyle,
        {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}))

namespace {

plat::TStringList& NamesList()
{
    static plat::TStringList names;
    return names;
}

bool GNamesLoaded = false;

} // namespace

void LoadFixedPitchFontNames()
{
    plat::TStringList& names = NamesList();
    names.Clear();
    for (const plat::TFontFamily& family : plat::EnumFontFamilies()) {
        if (family.FixedPitch) {
            names.Add(family.Name);
        }
    }
    const int preferred = names.IndexOf(DefaultFixedFontName);
    if (preferred > 0) {
        names.Delete(preferred);
        names.Insert(0, DefaultFixedFontName);
    }
    GNamesLoaded = true;
}

plat::TStringList& FixedPitchFontNames()
{
    if (!GNamesLoaded) {
        LoadFixedPitchFontNames();
    }
    return NamesList();
}

bool IsFixedPitchFontName(const std::string& Name)
{
    const plat::TStringList& names = FixedPitchFontNames();
    for (int i = 0; i < names.Count(); ++i) {
        if (names.Get(i) == Name) {
            return true;
        }
    }
    return false;
}

TPgcFixedFont::TPgcFixedFont() : FFont(std::make_unique<plat::TFont>())
{
    const plat::TStringList& names = FixedPitchFontNames();
    FFont->SetName(names.Count() > 0 ? names.Get(0) : std::string(DefaultFixedFontName));
}

TPgcFixedFont::~TPgcFixedFont() = default;

void TPgcFixedFont::SetColor(plat::TColor Value)
{
    FFont->SetColor(Value);
    DoChange();
}

void TPgcFixedFont::SetName(const std::string& Value)
{
    if (IsFixedPitchFontName(Value)) {
        FFont->SetName(Value);
        DoChange();
    }
}

void TPgcFixedFont::SetSize(int Value)
{
    FFont->SetSize(Value);
    DoChange();
}

void TPgcFixedFont::SetStyle(plat::TFontStyles Value)
{
    FFont->SetStyle(Value);
    DoChange();
}

void TPgcFixedFont::Assign(const plat::TPersistent* Source)
{
    plat::TFont taken;
    if (const auto* fixed = dynamic_cast<const TPgcFixedFont*>(Source)) {
        taken.Assign(fixed->Font());
    } else if (const auto* font = dynamic_cast<const plat::TFont*>(Source)) {
        taken.Assign(font);
        if (!IsFixedPitchFontName(taken.Name())) {
            throw EInvalidFixedFont();
        }
    } else {
        plat::TPersistent::Assign(Source);
        return;
    }
    if (!IsFixedPitchFontName(taken.Name())) {
        taken.SetName(FFont->Name());
    }
    FFont->Assign(&taken);
    DoChange();
}

} // namespace qel
