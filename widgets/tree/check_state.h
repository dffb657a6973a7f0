// The check element a data tree node may carry (check box, tri-state box,
// radio button, push button) and its state, with the pure helpers that
// step a state between normal, pressed, disabled, checked and unchecked.
#pragma once

#include <cstdint>

namespace qel {

enum TCheckType : std::uint8_t {
    ctNone,
    ctTriStateCheckBox,
    ctCheckBox,
    ctRadioButton,
    ctButton,
};

// Stored states are the normal and the disabled ones; pressed states only
// show while the mouse button is held on a box.
enum TCheckState : std::uint8_t {
    csUncheckedNormal,
    csUncheckedPressed,
    csCheckedNormal,
    csCheckedPressed,
    csMixedNormal,
    csMixedPressed,
    csUncheckedDisabled,
    csCheckedDisabled,
    csMixedDisabled,
};

constexpr bool IsDisabled(TCheckState state)
{
    return state > csMixedPressed;
}

constexpr bool IsChecked(TCheckState state)
{
    return state == csCheckedNormal || state == csCheckedPressed || state == csCheckedDisabled;
}

// Pressed to normal; the disabled states stay.
constexpr TCheckState GetUnpressed(TCheckState state)
{
    return state <= csMixedPressed ? static_cast<TCheckState>(state & ~1U) : state;
}

// Disabled to normal; the others stay.
constexpr TCheckState GetEnabled(TCheckState state)
{
    switch (state) {
    case csUncheckedDisabled:
        return csUncheckedNormal;
    case csCheckedDisabled:
        return csCheckedNormal;
    case csMixedDisabled:
        return csMixedNormal;
    default:
        return state;
    }
}

// Unchecked and checked swap, mixed becomes checked, a pressed state stays
// pressed, disabled states stay.
constexpr TCheckState GetToggled(TCheckState state)
{
    switch (state) {
    case csUncheckedNormal:
    case csMixedNormal:
        return csCheckedNormal;
    case csUncheckedPressed:
    case csMixedPressed:
        return csCheckedPressed;
    case csCheckedNormal:
        return csUncheckedNormal;
    case csCheckedPressed:
        return csUncheckedPressed;
    default:
        return state;
    }
}

} // namespace qel
