// Messages of edit controls, with their customary numbers. Strings travel
// as UTF-8 (const char*); positions count UTF-16 units.
#pragma once

#include "platform/controls/window_messages.h"

#include <cstdint>

namespace plat {

// Edit window styles.
constexpr std::uint32_t ES_MULTILINE = 0x0004;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;

constexpr UINT EM_GETSEL = 0x00B0;        // wParam, lParam: std::uint32_t* start and end (may be null)
constexpr UINT EM_SETSEL = 0x00B1;        // wParam start, lParam end; start -1 removes the selection, 0 and -1 select all
constexpr UINT EM_GETRECT = 0x00B2;       // lParam: TRect* that gets the formatting rectangle
constexpr UINT EM_SETRECT = 0x00B3;       // lParam: const TRect* (client coordinates; null: the default), repaints
constexpr UINT EM_SETRECTNP = 0x00B4;     // the same without repainting
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;     // wParam: the new modified flag
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_REPLACESEL = 0x00C2;    // lParam: the text put in place of the selection
constexpr UINT EM_LIMITTEXT = 0x00C5;     // wParam: the most UTF-16 units, 0 for no limit
constexpr UINT EM_SETREADONLY = 0x00CF;   // wParam: read-only or not
constexpr UINT EM_GETLIMITTEXT = 0x00D5;

} // namespace plat
