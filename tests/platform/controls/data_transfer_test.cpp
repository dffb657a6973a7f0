// Data transfer: clipboard blocks with the two text formats standing in for
// each other and formats registered by name; a data object of ours on the
// clipboard (formats, get, query, enumerate; flushing renders all and lets
// it go); the host's part for other programs; drag and drop with drop
// targets per window, the nested drag loop, effects and a drag picture.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/window_input.h"
#include "platform/streams.h"

#include <cstring>

namespace plat::test {
namespace {

using TDataTransferTest = TControlsTest;

HGLOBAL BlockOf(const std::string& bytes)
{
    HGLOBAL block = GlobalAlloc(GHND, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    return block;
}

std::string BytesOf(const HGLOBAL& block)
{
    return block ? std::string(reinterpret_cast<const char*>(block->Data()), block->Size()) : std::string();
}

TEST_F(TDataTransferTest, TheClipboardTakesBlocksAndTheTextFormatsStandInForEachOther)
{
    ASSERT_TRUE(SetClipboardText("aä€"));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(BytesOf(GetClipboardData(CF_TEXT)), std::string("a\xE4\x80\0", 4)) << "Windows-1252";
    EXPECT_EQ(GetClipboardText(), "aä€");
    EXPECT_EQ(Host.OfferedFormats(), (std::vector<std::uint16_t>{CF_UNICODETEXT, CF_TEXT}));

    const CLIPFORMAT custom = RegisterClipboardFormat("Data Tree Data");
    EXPECT_GE(custom, 0xC000);
    EXPECT_EQ(RegisterClipboardFormat("data tree data"), custom) << "names compare without case";
    EXPECT_EQ(GetClipboardFormatName(custom), "Data Tree Data");
    EXPECT_EQ(GetClipboardFormatName(CF_TEXT), "");
    ASSERT_TRUE(OpenClipboard(0));
    EXPECT_FALSE(OpenClipboard(0)) << "opened once at a time";
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_NE(SetClipboardData(custom, BlockOf("nodes")), nullptr);
    EXPECT_NE(SetClipboardData(CF_TEXT, BlockOf(std::string("plain\0", 6))), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(BytesOf(GetClipboardData(custom)), "nodes");
    EXPECT_EQ(GetClipboardText(), "plain");
    EXPECT_EQ(EnumClipboardFormats(0), custom);
    EXPECT_EQ(EnumClipboardFormats(custom), CF_TEXT);
    EXPECT_EQ(EnumClipboardFormats(CF_TEXT), CF_UNICODETEXT);
    EXPECT_EQ(EnumClipboardFormats(CF_UNICODETEXT), 0);
    EXPECT_EQ(CountClipboardFormats(), 3);
    EXPECT_EQ(SetClipboardData(custom, BlockOf("x")), nullptr) << "refused while the clipboard is closed";
}

TEST_F(TDataTransferTest, TheOwnerHearsWhenSomebodyElseEmptiesTheClipboard)
{
    TForm* form = NewForm("Form1");
    TSpyControl* spy = NewSpy(form, "Spy", Rect(10, 10, 100, 100));
    Pump();
    ASSERT_TRUE(OpenClipboard(spy->Handle()));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, BlockOf(std::string("a\0", 2)));
    CloseClipboard();
    EXPECT_EQ(GetClipboardOwner(), spy->Handle());
    SetClipboardText("b");
    EXPECT_EQ(spy->Count(WM_DESTROYCLIPBOARD), 1);
}

// A data object of ours: one block format and one stream format.
class TTestDataObject : public IDataObject {
public:
    TTestDataObject(CLIPFORMAT blockFormat, CLIPFORMAT streamFormat, bool* destroyed)
        : FBlock(blockFormat), FStream(streamFormat), FDestroyed(destroyed)
    {
    }
    ~TTestDataObject() override { *FDestroyed = true; }

    HRESULT GetData(const TFormatEtc& format, TStgMedium& medium) override
    {
        medium = TStgMedium();
        const HRESULT found = QueryGetData(format);
        if (found != S_OK) {
            return found;
        }
        if (format.cfFormat == FBlock) {
            medium.tymed = TYMED_HGLOBAL;
            medium.hGlobal = BlockOf("block data");
        } else {
            auto stream = std::make_shared<TMemoryStream>();
            stream->WriteBuffer("stream data", 11);
            stream->SetPosition(0);
            medium.tymed = TYMED_ISTREAM;
            medium.stream = stream;
        }
        return S_OK;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const TFormatEtc& format) override
    {
        if (format.cfFormat != FBlock && format.cfFormat != FStream) {
            return DV_E_FORMATETC;
        }
        const DWORD medium = format.cfFormat == FBlock ? TYMED_HGLOBAL : TYMED_ISTREAM;
        return (format.tymed & medium) != 0 ? S_OK : DV_E_TYMED;
    }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override { return DATA_S_SAMEFORMATETC; }
    HRESULT SetData(const TFormatEtc&, TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) override
    {
        if (direction != DATADIR_GET) {
            return OLE_S_USEREG;
        }
        formats = std::make_shared<TFormatEnumerator>(std::vector<TFormatEtc>{
            TFormatEtc{FBlock, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
            TFormatEtc{FStream, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}});
        return S_OK;
    }
    HRESULT DAdvise(const TFormatEtc&, DWORD, std::shared_ptr<IAdviseSink>, DWORD&) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CLIPFORMAT FBlock;
    CLIPFORMAT FStream;
    bool* FDestroyed;
};

TEST_F(TDataTransferTest, ADataObjectOfOursAnswersUntilFlushingRendersItAndLetsItGo)
{
    const CLIPFORMAT blockFormat = RegisterClipboardFormat("Test Block");
    const CLIPFORMAT streamFormat = RegisterClipboardFormat("Test Stream");
    bool destroyed = false;
    auto object = std::make_shared<TTestDataObject>(blockFormat, streamFormat, &destroyed);
    ASSERT_EQ(OleSetClipboard(object), S_OK);
    EXPECT_EQ(OleIsCurrentClipboard(object), S_OK);
    std::shared_ptr<IDataObject> current;
    ASSERT_EQ(OleGetClipboard(current), S_OK);
    EXPECT_EQ(current, object);
    EXPECT_EQ(Host.OfferedFormats(), (std::vector<std::uint16_t>{blockFormat, streamFormat}));
    EXPECT_TRUE(IsClipboardFormatAvailable(streamFormat));
    EXPECT_EQ(BytesOf(GetClipboardData(blockFormat)), "block data");
    EXPECT_EQ(BytesOf(GetClipboardData(streamFormat)), "stream data") << "a stream is read into a block";
    TFormatEtc wrongMedium{blockFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_EQ(current->QueryGetData(wrongMedium), DV_E_TYMED);

    std::shared_ptr<IEnumFORMATETC> formats;
    ASSERT_EQ(current->EnumFormatEtc(DATADIR_GET, formats), S_OK);
    TFormatEtc listed[3];
    unsigned fetched = 0;
    EXPECT_EQ(formats->Next(3, listed, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(formats->Reset(), S_OK);
    EXPECT_EQ(formats->Skip(3), S_FALSE);
    EXPECT_EQ(formats->Skip(2), S_OK);

    current.reset();
    object.reset();
    EXPECT_FALSE(destroyed) << "the clipboard holds it";
    ASSERT_EQ(OleFlushClipboard(), S_OK);
    EXPECT_TRUE(destroyed) << "flushing lets it go";
    EXPECT_EQ(BytesOf(GetClipboardData(blockFormat)), "block data") << "what it rendered stays";
    EXPECT_EQ(BytesOf(GetClipboardData(streamFormat)), "stream data");
    ASSERT_EQ(OleGetClipboard(current), S_OK);
    EXPECT_EQ(current->QueryGetData(TFormatEtc{blockFormat}), S_OK);
}

TEST_F(TDataTransferTest, ReplacingTheObjectLetsTheOldOneGoAndOtherProgramsTakeOver)
{
    bool firstGone = false;
    bool secondGone = false;
    OleSetClipboard(std::make_shared<TTestDataObject>(RegisterClipboardFormat("A"), RegisterClipboardFormat("B"),
                                                      &firstGone));
    OleSetClipboard(std::make_shared<TTestDataObject>(RegisterClipboardFormat("A"), RegisterClipboardFormat("B"),
                                                      &secondGone));
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
    Host.ForeignClipboardText("from another program");
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(GetClipboardText(), "from another program");
    EXPECT_EQ(BytesOf(GetClipboardData(CF_TEXT)), std::string("from another program\0", 21));
    EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormat("A")));
}

// Text another program copied before this one started is there to paste
// until the program puts something of its own on the clipboard.
TEST(TClipboardAtStartTest, WhatAnotherProgramCopiedBeforeTheStartIsPasteable)
{
    THeadlessHost host;
    host.ForeignClipboardText("copied earlier");
    TApplication app(host);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(GetClipboardText(), "copied earlier");
    SetClipboardText("ours");
    EXPECT_EQ(GetClipboardText(), "ours");
}

// A drop target that notes every call and answers by the key state.
class TTestDropTarget : public IDropTarget {
public:
    std::vector<std::string> Calls;
    TPoint LastPoint;
    DWORD LastKeys = 0;
    DWORD Offered = 0;

    HRESULT DragEnter(const std::shared_ptr<IDataObject>&, DWORD keyState, TPoint point, DWORD& effect) override
    {
        Note("enter", keyState, point, effect);
        return S_OK;
    }
    HRESULT DragOver(DWORD keyState, TPoint point, DWORD& effect) override
    {
        Note("over", keyState, point, effect);
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        Calls.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(const std::shared_ptr<IDataObject>&, DWORD keyState, TPoint point, DWORD& effect) override
    {
        Note("drop", keyState, point, effect);
        return S_OK;
    }

private:
    void Note(const char* what, DWORD keyState, TPoint point, DWORD& effect)
    {
        Calls.push_back(what);
        LastPoint = point;
        LastKeys = keyState;
        Offered = effect;
        effect = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
};

TEST_F(TDataTransferTest, ADragTellsTheTargetsUnderThePointerAndDropsWithTheirEffect)
{
    EXPECT_EQ(DROPEFFECT_COPY, 1u);
    EXPECT_EQ(DROPEFFECT_MOVE, 2u);
    EXPECT_EQ(DROPEFFECT_LINK, 4u);
    TForm* form = NewForm("Form1");
    TSpyControl* source = NewSpy(form, "Source", Rect(10, 10, 100, 100));
    TSpyControl* target = NewSpy(form, "Target", Rect(200, 10, 300, 100));
    TSpyControl* inner = NewSpy(target, "Inner", Rect(10, 10, 50, 50));
    Pump();
    auto drop = std::make_shared<TTestDropTarget>();
    ASSERT_EQ(RegisterDragDrop(target->Handle(), drop), S_OK);
    EXPECT_EQ(RegisterDragDrop(target->Handle(), drop), DRAGDROP_E_ALREADYREGISTERED);
    Host.MouseMove(Host.PointOf("Source"));
    Host.MouseDown(Host.PointOf("Source"));
    Pump();
    PostMessage(source->Handle(), WM_USER, 0, 0);
    const TPoint overInner = Host.PointOf("Inner");
    Host.Script([&] { Host.MouseMove(overInner); });
    Host.Script([&] {
        Host.KeyDown(VK_CONTROL);
        Host.MouseMove(Point(overInner.X + 3, overInner.Y));
    });
    Host.Script([&] { Host.MouseUp(Point(overInner.X + 3, overInner.Y)); });
    auto data = std::make_shared<TBlockDataObject>();
    DWORD effect = 99;
    const HRESULT result = DoDragDrop(data, std::make_shared<TDefaultDropSource>(),
                                      DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(drop->Calls, (std::vector<std::string>{"enter", "over", "drop"}))
        << "the child without a target of its own passes the drag to its parent's";
    EXPECT_EQ(drop->LastPoint, Point(overInner.X + 3, overInner.Y)) << "screen coordinates";
    EXPECT_EQ(drop->Offered, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(drop->LastKeys & MK_CONTROL, MK_CONTROL);
    EXPECT_EQ(source->Count(WM_USER), 1) << "messages flow during the drag";
    EXPECT_EQ(inner->Count(WM_LBUTTONUP), 0) << "the drag takes the input";
    Host.KeyUp(VK_CONTROL);
    Pump();
}

TEST_F(TDataTransferTest, LeavingOrEscapeEndTheDragWithoutEffect)
{
    TForm* form = NewForm("Form1");
    NewSpy(form, "Source", Rect(10, 10, 100, 100));
    TSpyControl* target = NewSpy(form, "Target", Rect(200, 10, 300, 100));
    Pump();
    auto drop = std::make_shared<TTestDropTarget>();
    RegisterDragDrop(target->Handle(), drop);
    Host.MouseDown(Host.PointOf("Source"));
    Pump();
    Host.Script([&] { Host.MouseMove(Host.PointOf("Target")); });
    Host.Script([&] { Host.MouseMove(Host.PointOf("Source")); });
    Host.Script([&] { Host.MouseUp(Host.PointOf("Source")); });
    DWORD effect = 0;
    EXPECT_EQ(DoDragDrop(std::make_shared<TBlockDataObject>(), std::make_shared<TDefaultDropSource>(), DROPEFFECT_MOVE,
                         effect),
              DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_NONE) << "dropped where no target is";
    EXPECT_EQ(drop->Calls, (std::vector<std::string>{"enter", "leave"}));

    drop->Calls.clear();
    Host.MouseDown(Host.PointOf("Source"));
    Pump();
    Host.Script([&] { Host.MouseMove(Host.PointOf("Target")); });
    Host.Script([&] { Host.Key(VK_ESCAPE); });
    EXPECT_EQ(DoDragDrop(std::make_shared<TBlockDataObject>(), std::make_shared<TDefaultDropSource>(), DROPEFFECT_MOVE,
                         effect),
              DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(drop->Calls, (std::vector<std::string>{"enter", "leave"}));
    Host.MouseUp(Host.PointOf("Target"));
    Pump();
    EXPECT_EQ(RevokeDragDrop(target->Handle()), S_OK);
    EXPECT_EQ(RevokeDragDrop(target->Handle()), DRAGDROP_E_NOTREGISTERED);
}

TEST_F(TDataTransferTest, TheDragPictureShowsUnderThePointerAtItsHotSpot)
{
    TForm* form = NewForm("Form1", 100, 100, 400, 300);
    NewSpy(form, "Source", Rect(10, 10, 100, 100));
    Pump();
    auto picture = std::make_shared<TPixelSurface>(10, 10, 32);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            std::uint8_t* pixel = picture->ScanLine(y) + 4 * x;
            pixel[0] = 0;
            pixel[1] = 0;
            pixel[2] = 255;
            pixel[3] = x < 5 ? 255 : 0;  // the right half is transparent
        }
    }
    auto data = std::make_shared<TBlockDataObject>();
    ASSERT_EQ(InitializeDragImageFromBitmap(TDragImage{picture, Point(2, 3)}, data), S_OK);
    Host.MouseDown(Point(300, 250));
    Pump();
    std::uint32_t opaque = 0;
    std::uint32_t clear = 0;
    std::uint32_t outside = 0;
    Host.Script([&] { Host.MouseMove(Point(300, 250)); });
    Host.Script([&] {
        auto capture = Host.Capture(form->Handle());
        auto read = [&](int x, int y) {
            const std::uint8_t* pixel = capture->ScanLine(y - 100) + 4 * (x - 100);
            return RGB(pixel[2], pixel[1], pixel[0]);
        };
        opaque = read(300 - 2 + 1, 250 - 3 + 1);
        clear = read(300 - 2 + 8, 250 - 3 + 1);
        outside = read(300 - 2 - 1, 250 - 3);
        Host.MouseUp(Point(300, 250));
    });
    DWORD effect = 0;
    DoDragDrop(data, std::make_shared<TDefaultDropSource>(), DROPEFFECT_COPY, effect);
    EXPECT_EQ(opaque, RGB(255, 0, 0));
    EXPECT_NE(clear, RGB(255, 0, 0)) << "alpha 0 shows the form";
    EXPECT_EQ(clear, outside);
    auto after = Host.Capture(form->Handle());
    const std::uint8_t* pixel = after->ScanLine(250 - 3 + 1 - 100) + 4 * (300 - 2 + 1 - 100);
    EXPECT_NE(RGB(pixel[2], pixel[1], pixel[0]), RGB(255, 0, 0)) << "gone with the drag";
}

} // namespace
} // namespace plat::test
