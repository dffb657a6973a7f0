// The clipboard's text as UTF-16 units, the editors' own measure: what the
// editor tests and fuzz targets put there as another program would, and
// what they read back.
#pragma once

#include "platform/controls/clipboard.h"

#include <cstring>
#include <string>
#include <string_view>

namespace qel::test {

// Replaces the clipboard's content with the units and a terminating zero.
inline void SetClipboardUnits(std::u16string_view Units)
{
    const plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND, (Units.size() + 1) * sizeof(char16_t));
    std::memcpy(plat::GlobalLock(block), Units.data(), Units.size() * sizeof(char16_t));
    plat::GlobalUnlock(block);
    plat::OpenClipboard(0);
    plat::EmptyClipboard();
    plat::SetClipboardData(plat::CF_UNICODETEXT, block);
    plat::CloseClipboard();
}

// The clipboard's UTF-16 text up to its first zero; "<none>" without one.
inline std::u16string ClipboardUnits()
{
    const plat::HGLOBAL block = plat::GetClipboardData(plat::CF_UNICODETEXT);
    if (!block) {
        return u"<none>";
    }
    std::u16string text(plat::GlobalSize(block) / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), plat::GlobalLock(block), text.size() * sizeof(char16_t));
    plat::GlobalUnlock(block);
    return text.substr(0, text.find(u'\0'));
}

} // namespace qel::test
