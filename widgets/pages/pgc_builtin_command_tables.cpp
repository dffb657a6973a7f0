// The built-in key tables, as compile-time record arrays.
#include "widgets/pages/pgc_builtin_command_tables.h"

#include "widgets/pages/pgc_command_codes.h"
#include "widgets/pages/pgc_messages.h"
#include "widgets/pages/pgc_strings.h"

#include "platform/text_encoding.h"

#include <array>

namespace qel {
namespace {

constexpr std::uint8_t kNoShift = 0;
constexpr std::uint8_t kShift = ssShiftByte;
constexpr std::uint8_t kCtrl = ssCtrlByte;
constexpr std::uint8_t kAlt = ssAltByte;
constexpr std::uint8_t kCtrlShift = ssCtrlByte | ssShiftByte;

constexpr std::uint8_t kBack = 8;
constexpr std::uint8_t kTab = 9;
constexpr std::uint8_t kEnter = 13;
constexpr std::uint8_t kPgUp = 33;
constexpr std::uint8_t kPgDn = 34;
constexpr std::uint8_t kEnd = 35;
constexpr std::uint8_t kHome = 36;
constexpr std::uint8_t kLeft = 37;
constexpr std::uint8_t kUp = 38;
constexpr std::uint8_t kRight = 39;
constexpr std::uint8_t kDown = 40;
constexpr std::uint8_t kInsert = 45;
constexpr std::uint8_t kDelete = 46;
constexpr std::uint8_t kDigit0 = '0';
constexpr std::uint8_t kF2 = 113;

constexpr std::uint16_t kMsgGrid = 30266;
constexpr std::uint16_t kMsgDefault = 30275;
constexpr std::uint16_t kMsgWordStar = 30276;

// Fills a record array in order; the count is checked at compile time.
template <std::size_t N>
struct TRecordBuilder {
    std::array<TPgcCmdRec, N> Records{};
    std::size_t Used = 0;

    constexpr void Key(std::uint8_t Key1, std::uint8_t SS1, std::uint16_t Cmd)
    {
        Records[Used++] = TPgcCmdRec{Key1, SS1, 0, 0, Cmd};
    }
    constexpr void Keys(std::uint8_t Key1, std::uint8_t SS1, std::uint8_t Key2, std::uint16_t Cmd)
    {
        Records[Used++] = TPgcCmdRec{Key1, SS1, Key2, ssCtrlOrNone, Cmd};
    }
    constexpr std::array<TPgcCmdRec, N> Done() const
    {
        if (Used != N) {
            throw "record count differs from the table size";
        }
        return Records;
    }
};

constexpr std::array<TPgcCmdRec, 64> MakeDefaultTable()
{
    TRecordBuilder<64> t;
    t.Key(kLeft, kNoShift, ccLeft);
    t.Key(kRight, kNoShift, ccRight);
    t.Key(kLeft, kCtrl, ccWordLeft);
    t.Key(kRight, kCtrl, ccWordRight);
    t.Key(kHome, kNoShift, ccHome);
    t.Key(kEnd, kNoShift, ccEnd);
    t.Key(kDelete, kNoShift, ccDel);
    t.Key(kBack, kNoShift, ccBack);
    t.Key(kBack, kShift, ccBack);
    t.Key(kPgUp, kCtrl, ccTopOfPage);
    t.Key(kPgDn, kCtrl, ccBotOfPage);
    t.Key(kInsert, kNoShift, ccIns);
    t.Key('Z', kCtrl, ccUndo);
    t.Key(kBack, kAlt, ccRestore);
    t.Key(kUp, kNoShift, ccUp);
    t.Key(kDown, kNoShift, ccDown);
    t.Key(kEnter, kCtrl, ccNewLine);
    t.Key(kLeft, kShift, ccExtendLeft);
    t.Key(kRight, kShift, ccExtendRight);
    t.Key(kHome, kShift, ccExtendHome);
    t.Key(kEnd, kShift, ccExtendEnd);
    t.Key(kLeft, kCtrlShift, ccExtWordLeft);
    t.Key(kRight, kCtrlShift, ccExtWordRight);
    t.Key(kPgUp, kShift, ccExtendPgUp);
    t.Key(kPgDn, kShift, ccExtendPgDn);
    t.Key(kUp, kShift, ccExtendUp);
    t.Key(kDown, kShift, ccExtendDown);
    t.Key(kHome, kCtrlShift, ccExtFirstPage);
    t.Key(kEnd, kCtrlShift, ccExtLastPage);
    t.Key(kPgUp, kCtrlShift, ccExtTopOfPage);
    t.Key(kPgDn, kCtrlShift, ccExtBotOfPage);
    t.Key(kDelete, kShift, ccCut);
    t.Key('X', kCtrl, ccCut);
    t.Key(kInsert, kCtrl, ccCopy);
    t.Key('C', kCtrl, ccCopy);
    t.Key(kInsert, kShift, ccPaste);
    t.Key('V', kCtrl, ccPaste);
    t.Key(kPgUp, kNoShift, ccPrevPage);
    t.Key(kPgDn, kNoShift, ccNextPage);
    t.Key(kHome, kCtrl, ccFirstPage);
    t.Key(kEnd, kCtrl, ccLastPage);
    t.Key(kTab, kNoShift, ccTab);
    t.Key(kTab, kCtrl, ccTab);
    t.Key('Z', kCtrlShift, ccRedo);
    for (std::uint8_t digit = 0; digit < 10; ++digit) {
        t.Key(static_cast<std::uint8_t>(kDigit0 + digit), kCtrl, static_cast<std::uint16_t>(ccGotoMarker0 + digit));
    }
    for (std::uint8_t digit = 0; digit < 10; ++digit) {
        t.Key(static_cast<std::uint8_t>(kDigit0 + digit), kCtrlShift, static_cast<std::uint16_t>(ccSetMarker0 + digit));
    }
    return t.Done();
}

constexpr std::array<TPgcCmdRec, 40> MakeWordStarTable()
{
    TRecordBuilder<40> t;
    t.Key('S', kCtrl, ccLeft);
    t.Key('D', kCtrl, ccRight);
    t.Key('E', kCtrl, ccUp);
    t.Key('X', kCtrl, ccDown);
    t.Key('R', kCtrl, ccPrevPage);
    t.Key('C', kCtrl, ccNextPage);
    t.Key('W', kCtrl, ccScrollUp);
    t.Key('Z', kCtrl, ccScrollDown);
    t.Key('A', kCtrl, ccWordLeft);
    t.Key('F', kCtrl, ccWordRight);
    t.Keys('Q', kCtrl, 'S', ccHome);
    t.Keys('Q', kCtrl, 'D', ccEnd);
    t.Key('G', kCtrl, ccDel);
    t.Key('H', kCtrl, ccBack);
    t.Key('Y', kCtrl, ccDelLine);
    t.Keys('Q', kCtrl, 'Y', ccDelEol);
    t.Key('V', kCtrl, ccIns);
    t.Key('T', kCtrl, ccDelWord);
    t.Key('P', kCtrl, ccCtrlChar);
    t.Keys('Q', kCtrl, 'L', ccRestore);
    for (std::uint8_t digit = 0; digit < 10; ++digit) {
        t.Keys('Q', kCtrl, static_cast<std::uint8_t>(kDigit0 + digit), static_cast<std::uint16_t>(ccGotoMarker0 + digit));
    }
    for (std::uint8_t digit = 0; digit < 10; ++digit) {
        t.Keys('K', kCtrl, static_cast<std::uint8_t>(kDigit0 + digit), static_cast<std::uint16_t>(ccSetMarker0 + digit));
    }
    return t.Done();
}

constexpr std::array<TPgcCmdRec, 38> MakeGridTable()
{
    TRecordBuilder<38> t;
    t.Key(kLeft, kNoShift, ccLeft);
    t.Key(kRight, kNoShift, ccRight);
    t.Key(kLeft, kCtrl, ccPageLeft);
    t.Key(kRight, kCtrl, ccPageRight);
    t.Key(kHome, kNoShift, ccHome);
    t.Key(kEnd, kNoShift, ccEnd);
    t.Key(kDelete, kNoShift, ccDel);
    t.Key(kBack, kNoShift, ccBack);
    t.Key(kPgDn, kCtrl, ccBotOfPage);
    t.Key(kPgUp, kCtrl, ccTopOfPage);
    t.Key(kInsert, kNoShift, ccIns);
    t.Key('Z', kCtrl, ccRestore);
    t.Key(kUp, kNoShift, ccUp);
    t.Key(kDown, kNoShift, ccDown);
    t.Key(kLeft, kShift, ccExtendLeft);
    t.Key(kRight, kShift, ccExtendRight);
    t.Key(kHome, kShift, ccExtendHome);
    t.Key(kEnd, kShift, ccExtendEnd);
    t.Key(kLeft, kCtrlShift, ccExtWordLeft);
    t.Key(kRight, kCtrlShift, ccExtWordRight);
    t.Key(kPgUp, kShift, ccExtendPgUp);
    t.Key(kPgDn, kShift, ccExtendPgDn);
    t.Key(kUp, kShift, ccExtendUp);
    t.Key(kDown, kShift, ccExtendDown);
    t.Key(kHome, kCtrlShift, ccExtFirstPage);
    t.Key(kEnd, kCtrlShift, ccExtLastPage);
    t.Key(kPgUp, kCtrlShift, ccExtTopOfPage);
    t.Key(kPgDn, kCtrlShift, ccExtBotOfPage);
    t.Key('X', kCtrl, ccCut);
    t.Key('C', kCtrl, ccCopy);
    t.Key('V', kCtrl, ccPaste);
    t.Key(kPgUp, kNoShift, ccPrevPage);
    t.Key(kHome, kCtrl, ccFirstPage);
    t.Key(kPgDn, kNoShift, ccNextPage);
    t.Key(kEnd, kCtrl, ccLastPage);
    t.Key(kUp, kCtrl, ccTopLeftCell);
    t.Key(kDown, kCtrl, ccBotRightCell);
    t.Key(kF2, kNoShift, ccTableEdit);
    return t.Done();
}

constexpr auto kDefaultRecords = MakeDefaultTable();
constexpr auto kWordStarRecords = MakeWordStarTable();
constexpr auto kGridRecords = MakeGridTable();

constexpr std::array<TPgcBuiltinCommandTable, 3> kBuiltinTables = {{
    {kMsgDefault, kDefaultRecords, true},
    {kMsgWordStar, kWordStarRecords, false},
    {kMsgGrid, kGridRecords, false},
}};

std::u16string UpperCased(std::string_view Text)
{
    std::u16string units = plat::Utf8ToUtf16(Text);
    for (char16_t& unit : units) {
        unit = UpCaseWideChar(unit);
    }
    return units;
}

} // namespace

std::span<const TPgcBuiltinCommandTable> BuiltinCommandTables()
{
    return kBuiltinTables;
}

std::string BuiltinTableName(const TPgcBuiltinCommandTable& Table)
{
    return plat::Utf16ToUtf8(MessageTextByNumber(Table.NameMessage));
}

const TPgcBuiltinCommandTable* FindBuiltinCommandTable(std::string_view Name)
{
    for (const TPgcBuiltinCommandTable& table : kBuiltinTables) {
        if (SameTableName(BuiltinTableName(table), Name)) {
            return &table;
        }
    }
    return nullptr;
}

bool SameTableName(std::string_view A, std::string_view B)
{
    return UpperCased(A) == UpperCased(B);
}

} // namespace qel
