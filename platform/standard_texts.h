// The platform's own user-visible texts: captions of the standard buttons and
// of message boxes, replaceable by the language switch like any program text.
#pragma once

#include "platform/resource_strings.h"

namespace plat {

// Captions of the standard buttons of forms.
inline constinit const TResString SButtonOK{"OK"};
inline constinit const TResString SButtonCancel{"Cancel"};
inline constinit const TResString SButtonYes{"&Yes"};
inline constinit const TResString SButtonNo{"&No"};
inline constinit const TResString SButtonHelp{"&Help"};
inline constinit const TResString SButtonClose{"&Close"};
inline constinit const TResString SButtonIgnore{"&Ignore"};
inline constinit const TResString SButtonRetry{"&Retry"};
inline constinit const TResString SButtonAbort{"&Abort"};
inline constinit const TResString SButtonAll{"&All"};

// Captions and buttons of message boxes.
inline constinit const TResString SMsgBoxWarning{"Warning"};
inline constinit const TResString SMsgBoxError{"Error"};
inline constinit const TResString SMsgBoxInformation{"Information"};
inline constinit const TResString SMsgBoxConfirm{"Confirm"};
inline constinit const TResString SMsgBoxYes{"&Yes"};
inline constinit const TResString SMsgBoxNo{"&No"};
inline constinit const TResString SMsgBoxOK{"OK"};
inline constinit const TResString SMsgBoxCancel{"Cancel"};
inline constinit const TResString SMsgBoxHelp{"&Help"};
inline constinit const TResString SMsgBoxAbort{"&Abort"};
inline constinit const TResString SMsgBoxRetry{"&Retry"};
inline constinit const TResString SMsgBoxIgnore{"&Ignore"};
inline constinit const TResString SMsgBoxAll{"&All"};
inline constinit const TResString SMsgBoxNoToAll{"N&o to All"};
inline constinit const TResString SMsgBoxYesToAll{"Yes to &All"};

} // namespace plat
