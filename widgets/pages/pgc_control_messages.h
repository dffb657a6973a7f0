// The private window messages the library's controls and their controller
// post and send to each other (0x7F00 .. 0x7F10, in the application range).
// Posting orders a notification after the message being handled.
#pragma once

#include "platform/messages.h"

namespace qel {

// To an entry field: report the error of wParam (its last error code).
constexpr plat::UINT PGCM_REPORTERROR = 0x7F00;
// To a controller: show the control in lParam and give it the focus.
constexpr plat::UINT PGCM_SHOWCONTROL = 0x7F01;
// To an entry field: answers the size in bytes of its value.
constexpr plat::UINT PGCM_DATASIZE = 0x7F03;
// To a controller: the pre-edit (0x7F06) and post-edit (0x7F07) events;
// wParam the window of the losing or gaining control, lParam the sender.
constexpr plat::UINT PGCM_PREEDIT = 0x7F06;
constexpr plat::UINT PGCM_POSTEDIT = 0x7F07;
// To a control itself: the focus change is complete (AfterEnter, AfterExit).
constexpr plat::UINT PGCM_AFTERENTER = 0x7F08;
constexpr plat::UINT PGCM_AFTEREXIT = 0x7F09;
// To a controller: the delayed notification; wParam the code, lParam the sender.
constexpr plat::UINT PGCM_DELAYNOTIFY = 0x7F0A;
// To a control: it moved or was resized; its attached label follows.
constexpr plat::UINT PGCM_POSITIONLABEL = 0x7F0B;
// To a control: its attached label moved; the offsets are taken from it.
constexpr plat::UINT PGCM_LABELMOVED = 0x7F0C;
// To a control (sent): lParam is its attached label.
constexpr plat::UINT PGCM_ASSIGNLABEL = 0x7F0D;

} // namespace qel
