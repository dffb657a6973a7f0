// The platform's own user-visible texts: captions of the standard buttons and
// of message boxes, replaceable by the language switch like any program text.
#pragma once

#include "platform/resource_strings.h"

namespace plat {

// Captions of the standard buttons of forms.
inline constinit const TResString SButtonOK{"OK"};
inline constinit const TResString SButtonCancel{"Abbrechen"};
inline constinit const TResString SButtonYes{"&Ja"};
inline constinit const TResString SButtonNo{"&Nein"};
inline constinit const TResString SButtonHelp{"&Hilfe"};
inline constinit const TResString SButtonClose{"&Schließen"};
inline constinit const TResString SButtonIgnore{"&Ignorieren"};
inline constinit const TResString SButtonRetry{"&Wiederholen"};
inline constinit const TResString SButtonAbort{"&Abbrechen"};
inline constinit const TResString SButtonAll{"&Alle"};

// Captions and buttons of message boxes.
inline constinit const TResString SMsgBoxWarning{"Warnung"};
inline constinit const TResString SMsgBoxError{"Fehler"};
inline constinit const TResString SMsgBoxInformation{"Informationen"};
inline constinit const TResString SMsgBoxConfirm{"Bestätigung"};
inline constinit const TResString SMsgBoxYes{"&Ja"};
inline constinit const TResString SMsgBoxNo{"&Nein"};
inline constinit const TResString SMsgBoxOK{"OK"};
inline constinit const TResString SMsgBoxCancel{"Abbrechen"};
inline constinit const TResString SMsgBoxHelp{"&Hilfe"};
inline constinit const TResString SMsgBoxAbort{"&Abbrechen"};
inline constinit const TResString SMsgBoxRetry{"&Wiederholen"};
inline constinit const TResString SMsgBoxIgnore{"&Ignorieren"};
inline constinit const TResString SMsgBoxAll{"&Alle"};
inline constinit const TResString SMsgBoxNoToAll{"&Alle Nein"};
inline constinit const TResString SMsgBoxYesToAll{"A&lle Ja"};

} // namespace plat
