// The paragraph editor's font: a platform font that takes only families of
// one fixed character width, since the editor lays text out in cells.
#pragma once

#include "platform/canvas/graphics_objects.h"
#include "platform/objects/events.h"
#include "platform/objects/persistent.h"
#include "platform/objects/string_list.h"

#include <memory>
#include <string>

namespace qel {

// The family every editor falls back on when no fixed-pitch family is known.
inline constexpr const char* DefaultFixedFontName = "DejaVu Sans Mono";

// The names of the canvas's fixed-pitch families (the configured names that
// stand for one included), DejaVu Sans Mono first, so that the default is the
// same on every machine. Filled at the first call; lives for the program.
plat::TStringList& FixedPitchFontNames();
// Fills the list anew from the canvas.
void LoadFixedPitchFontNames();
// True when Name is one of the list's entries exactly (case counts).
bool IsFixedPitchFontName(const std::string& Name);

// Every write notifies, even of an unchanged value.
class TPgcFixedFont : public plat::TPersistent {
    PLAT_CLASS(TPgcFixedFont, plat::TPersistent)
public:
    // The first fixed-pitch family, or DejaVu Sans Mono when none is listed.
    TPgcFixedFont();
    ~TPgcFixedFont() override;

    plat::TFont* Font() const { return FFont.get(); }

    plat::TColor Color() const { return FFont->Color(); }
    void SetColor(plat::TColor Value);
    const std::string& Name() const { return FFont->Name(); }
    // A family that is not fixed-pitch is ignored without notice.
    void SetName(const std::string& Value);
    int Size() const { return FFont->Size(); }
    void SetSize(int Value);
    plat::TFontStyles Style() const { return FFont->Style(); }
    void SetStyle(plat::TFontStyles Value);

    // From a fixed font (whose family, when not fixed-pitch, gives way to
    // this font's own) or from a platform font of a fixed-pitch family
    // (EInvalidFixedFont for another family, nothing changed).
    void Assign(const plat::TPersistent* Source) override;

    plat::TNotifyEvent OnChange;

private:
    void DoChange() { OnChange(this); }

    std::unique_ptr<plat::TFont> FFont;
};

} // namespace qel
