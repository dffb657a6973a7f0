// The clipboard: blocks by format (CF_TEXT and CF_UNICODETEXT stand in for
// each other), or one data object of ours (formats answered by the object;
// flushing renders them all and lets the object go). The host takes what
// the program offers to other programs, except the formats kept in the
// process, and hands in what they offer.
#pragma once

#include "platform/controls/data_object.h"
#include "platform/messages.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {

bool OpenClipboard(HWND owner);
bool CloseClipboard();
// Clears the clipboard (the previous owner gets WM_DESTROYCLIPBOARD, a data
// object is let go) and makes the opener the owner. Needs it open.
bool EmptyClipboard();
// Needs the clipboard open; answers the block, nullptr when refused.
HGLOBAL SetClipboardData(CLIPFORMAT format, HGLOBAL block);
// A copy of the block of the format, nullptr when there is none.
HGLOBAL GetClipboardData(CLIPFORMAT format);
bool IsClipboardFormatAvailable(CLIPFORMAT format);
// The formats in order: 0 gives the first, a format the next; 0 at the end.
CLIPFORMAT EnumClipboardFormats(CLIPFORMAT format);
int CountClipboardFormats();
HWND GetClipboardOwner();

// Puts the data object on the clipboard (nullptr empties it).
HRESULT OleSetClipboard(std::shared_ptr<IDataObject> object);
// The clipboard's content as a data object: ours, or one over the blocks.
HRESULT OleGetClipboard(std::shared_ptr<IDataObject>& object);
// Renders every format of our data object into blocks and lets it go.
HRESULT OleFlushClipboard();
// S_OK when object is the one on the clipboard, else S_FALSE.
HRESULT OleIsCurrentClipboard(const std::shared_ptr<IDataObject>& object);

// UTF-8 text through CF_UNICODETEXT.
bool SetClipboardText(const std::string& text);
std::string GetClipboardText();
bool HasClipboardText();

// For hosts: the bytes of a format another program asked for, as other
// programs take them (HTML as the document inside the clipboard's
// envelope, "CSV" as UTF-8, rich text without its terminating zero; texts
// as blocks of their format); none for a format kept in the process.
// Another program has taken the clipboard (ours is let go, reads go to
// the host).
HGLOBAL RenderClipboardForHost(CLIPFORMAT format);
void ForeignClipboardTookOver();

class TClipboardStore {
public:
    struct TBlock {
        CLIPFORMAT Format;
        HGLOBAL Data;
    };
    std::vector<TBlock> Blocks;           // in the order they were set
    std::shared_ptr<IDataObject> Object;  // ours, instead of blocks
    HWND Owner = 0;
    bool Open = false;
    // Another program owns the clipboard; so it is until the program puts
    // something there, as what was copied before it started stays pasteable.
    bool Foreign = true;
    bool Changed = false;                 // the host has not been told yet

    // Lets go of everything; the data object may run code as it goes.
    void Clear();
};

} // namespace plat
