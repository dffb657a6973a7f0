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

TFontMemoryCalls GraphicsFontCalls{&plat::AddFontMemResourceEx, &plat::RemoveFontMemResourceEx};

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
    if (Found == FontResources().end() || GraphicsFontCalls.Add == nullptr) {
        return 0;
    }
    int Installed = 0;
    return GraphicsFontCalls.Add(Found->second.data(), Found->second.size(), &Installed);
}

void RegisterEmbeddedFonts()
{
    EmbeddedFontsHook = nullptr;
    if (GraphicsFontCalls.Add == nullptr) {
        return;
    }
    LcdFontHandle = LoadFontResource(LcdFontResource);
    LedFontHandle = LoadFontResource(LedFontResource);
    EmbeddedFontsHook = &AddEmbeddedFontNames;
}

void UnregisterEmbeddedFonts()
{
    EmbeddedFontsHook = nullptr;
    if (GraphicsFontCalls.Remove == nullptr) {
        return;
    }
    for (int* Handle : {&LcdFontHandle, &LedFontHandle}) {
        if (*Handle != 0) {
            GraphicsFontCalls.Remove(*Handle);
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
