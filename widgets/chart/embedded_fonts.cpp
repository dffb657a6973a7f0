// Raw font resources and their registration as private fonts.
#include "widgets/chart/embedded_fonts.h"

#include "widgets/chart/chart_canvas_unit.h"

#include "platform/canvas/font_map.h"
#include "platform/objects/strings.h"

#include <map>

namespace qel {

namespace {

std::map<std::string, std::vector<std::uint8_t>>& FontResources()
{
    static std::map<std::string, std::vector<std::uint8_t>> Resources;
    return Resources;
}

int LcdFontHandle = 0;
int LedFontHandle = 0;

} // namespace

void SetFontResource(const std::string& Name, std::vector<std::uint8_t> Bytes)
{
    if (Bytes.empty()) {
        FontResources().erase(Name);
        return;
    }
    FontResources()[Name] = std::move(Bytes);
}

int LoadFontResource(const std::string& Name)
{
    const auto Found = FontResources().find(Name);
    if (Found == FontResources().end()) {
        return 0;
    }
    int Installed = 0;
    return plat::AddFontMemResourceEx(Found->second.data(), Found->second.size(), &Installed);
}

void RegisterEmbeddedFonts()
{
    EmbeddedFontsHook = nullptr;
    LcdFontHandle = LoadFontResource(LcdFontResource);
    LedFontHandle = LoadFontResource(LedFontResource);
    if (LcdFontHandle != 0 || LedFontHandle != 0) {
        EmbeddedFontsHook = &AddEmbeddedFontNames;
    }
}

void UnregisterEmbeddedFonts()
{
    EmbeddedFontsHook = nullptr;
    for (int* Handle : {&LcdFontHandle, &LedFontHandle}) {
        if (*Handle != 0) {
            plat::RemoveFontMemResourceEx(*Handle);
            *Handle = 0;
        }
    }
}

int EmbeddedLcdFontHandle()
{
    return LcdFontHandle;
}

int EmbeddedLedFontHandle()
{
    return LedFontHandle;
}

void AddEmbeddedFontNames(plat::TStrings& Strings)
{
    Strings.Add("Elektra");
    Strings.Add("DS-Digital");
}

} // namespace qel
