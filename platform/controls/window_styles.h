// Window styles, class styles and the flags of the window positioning,
// showing and redrawing calls, with their customary values.
#pragma once

#include <cstdint>

namespace plat {

using DWORD = std::uint32_t;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Extended window styles.
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
constexpr DWORD CS_VREDRAW = 0x0001;
constexpr DWORD CS_HREDRAW = 0x0002;
constexpr DWORD CS_DBLCLKS = 0x0008;
constexpr DWORD CS_SAVEBITS = 0x0800;
constexpr DWORD CS_DROPSHADOW = 0x00020000;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// SetWindowPos flags.
constexpr std::uint32_t SWP_NOSIZE = 0x0001;
constexpr std::uint32_t SWP_NOMOVE = 0x0002;
constexpr std::uint32_t SWP_NOZORDER = 0x0004;
constexpr std::uint32_t SWP_NOREDRAW = 0x0008;
constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
constexpr std::uint32_t SWP_FRAMECHANGED = 0x0020;
constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
constexpr std::uint32_t SWP_HIDEWINDOW = 0x0080;
constexpr std::uint32_t SWP_NOCOPYBITS = 0x0100;
constexpr std::uint32_t SWP_NOOWNERZORDER = 0x0200;
constexpr std::uint32_t SWP_NOSENDCHANGING = 0x0400;

// Z-order places of SetWindowPos.
constexpr std::intptr_t HWND_TOP = 0;
constexpr std::intptr_t HWND_BOTTOM = 1;
constexpr std::intptr_t HWND_TOPMOST = -1;
constexpr std::intptr_t HWND_NOTOPMOST = -2;

// RedrawWindow flags.
constexpr std::uint32_t RDW_INVALIDATE = 0x0001;
constexpr std::uint32_t RDW_INTERNALPAINT = 0x0002;
constexpr std::uint32_t RDW_ERASE = 0x0004;
constexpr std::uint32_t RDW_VALIDATE = 0x0008;
constexpr std::uint32_t RDW_NOINTERNALPAINT = 0x0010;
constexpr std::uint32_t RDW_NOERASE = 0x0020;
constexpr std::uint32_t RDW_NOCHILDREN = 0x0040;
constexpr std::uint32_t RDW_ALLCHILDREN = 0x0080;
constexpr std::uint32_t RDW_UPDATENOW = 0x0100;
constexpr std::uint32_t RDW_ERASENOW = 0x0200;
constexpr std::uint32_t RDW_FRAME = 0x0400;
constexpr std::uint32_t RDW_NOFRAME = 0x0800;

// ScrollWindowEx flags.
constexpr std::uint32_t SW_SCROLLCHILDREN = 0x0001;
constexpr std::uint32_t SW_INVALIDATE = 0x0002;
constexpr std::uint32_t SW_ERASE = 0x0004;

// GetDCEx flags.
constexpr std::uint32_t DCX_WINDOW = 0x00000001;
constexpr std::uint32_t DCX_CACHE = 0x00000002;
constexpr std::uint32_t DCX_CLIPCHILDREN = 0x00000008;
constexpr std::uint32_t DCX_CLIPSIBLINGS = 0x00000010;
constexpr std::uint32_t DCX_EXCLUDERGN = 0x00000040;
constexpr std::uint32_t DCX_INTERSECTRGN = 0x00000080;
constexpr std::uint32_t DCX_VALIDATE = 0x00200000;

// GetWindow relations.
constexpr unsigned GW_HWNDFIRST = 0;
constexpr unsigned GW_HWNDLAST = 1;
constexpr unsigned GW_HWNDNEXT = 2;
constexpr unsigned GW_HWNDPREV = 3;
constexpr unsigned GW_OWNER = 4;
constexpr unsigned GW_CHILD = 5;

} // namespace plat
