// Tests of the library's carets read back from the thread's caret service:
// the insert line and the overwrite block sized to the cell, the half block,
// alignment offsets, the parked caret, linking only with a window, caret
// types shared between holders, and the caret type's change rules.
#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_caret.h"
#include "widgets/pages/pgc_single_caret.h"

#include "platform/controls/caret.h"
#include "platform/controls/custom_control.h"
#include "platform/controls/window_manager.h"

#include <memory>

namespace qel {
namespace {

class PgcCaret : public test::TPgcFormTest {
protected:
    PgcCaret()
    {
        Owner = new plat::TCustomControl(Form);
        Owner->SetBounds(10, 10, 100, 50);
        Owner->SetParent(Form);
        Pump();
    }

    static const plat::TCaretState& Service() { return plat::TWindowManager::Current().Caret(); }

    plat::TCustomControl* Owner = nullptr;
};

TEST_F(PgcCaret, InsertLineAndOverwriteBlockFollowTheCell)
{
    TPgcCaretPair caret(Owner);
    caret.SetCellHeight(15);
    caret.SetCellWidth(7);
    caret.SetLinked(true);
    caret.SetPosition({21, 30});
    ASSERT_TRUE(caret.Linked());
    EXPECT_EQ(Service().Owner, Owner->Handle());
    EXPECT_EQ(Service().Width, 2) << "a 2-pixel line";
    EXPECT_EQ(Service().Height, 15) << "as high as the cell";
    EXPECT_EQ(Service().Position, (plat::TPoint{21, 30})) << "x offset 0, y offset (15 - 15) div 2";

    caret.SetInsertMode(false);
    EXPECT_EQ(Service().Width, 7) << "the block fills the cell";
    EXPECT_EQ(Service().Height, 15);
    EXPECT_EQ(Service().Position, (plat::TPoint{21, 30}));

    caret.SetInsertMode(true);
    EXPECT_EQ(Service().Width, 2);
    EXPECT_EQ(Service().Height, 15);
}

TEST_F(PgcCaret, HalfBlockSitsAtTheCellBottom)
{
    TPgcSingleCaret caret(Owner);
    caret.CaretType()->SetShape(csHalfBlock);
    caret.SetCellWidth(8);
    caret.SetCellHeight(15);
    caret.SetLinked(true);
    caret.SetPosition({0, 0});
    EXPECT_EQ(Service().Height, 7);
    EXPECT_EQ(Service().Width, 8);
    EXPECT_EQ(caret.YOffset(), 8);
    EXPECT_EQ(Service().Position, (plat::TPoint{0, 8}));
}

TEST_F(PgcCaret, AlignmentPlacesTheCaretInTheCell)
{
    struct TCase {
        TPgcCaretAlign Align;
        int X;
        int Y;
    };
    // A custom 4 x 6 caret in a 10 x 15 cell.
    const TCase cases[] = {
        {caLeft, 0, 4}, {caTop, 3, 0}, {caRight, 6, 4}, {caBottom, 3, 9}, {caCenter, 3, 4},
    };
    for (const TCase& c : cases) {
        TPgcSingleCaret caret(Owner);
        TPgcCaret& type = *caret.CaretType();
        type.SetShape(csCustom);
        type.SetCaretWidth(4);
        type.SetCaretHeight(6);
        type.SetAlign(c.Align);
        caret.SetCellWidth(10);
        caret.SetCellHeight(15);
        EXPECT_EQ(caret.XOffset(), c.X) << "align " << c.Align;
        EXPECT_EQ(caret.YOffset(), c.Y) << "align " << c.Align;
    }
}

TEST_F(PgcCaret, NegativePositionParksTheCaretOutsideTheWindow)
{
    TPgcCaretPair caret(Owner);
    caret.SetLinked(true);
    caret.SetPosition({-1, 5});
    EXPECT_EQ(caret.Position().X, TPgcSingleCaret::ParkedCoordinate);
    EXPECT_EQ(Service().Position.X, 2147483647) << "passed on without the cell offset";
    EXPECT_EQ(Service().Position.Y, 5);
}

TEST_F(PgcCaret, LinkingWithoutAWindowStaysUnlinked)
{
    plat::TCustomControl windowless(nullptr);
    TPgcCaretPair caret(&windowless);
    caret.SetLinked(true);
    EXPECT_FALSE(caret.Linked());
    EXPECT_EQ(Service().Owner, 0u);
}

TEST_F(PgcCaret, VisibleShowsAndHidesTheSystemCaret)
{
    TPgcCaretPair caret(Owner);
    caret.SetLinked(true);
    EXPECT_EQ(Service().HideCount, 1) << "made hidden";
    caret.SetVisible(true);
    EXPECT_EQ(Service().HideCount, 0);
    caret.SetVisible(false);
    EXPECT_EQ(Service().HideCount, 1);
    caret.SetVisible(true);
    caret.SetLinked(false);
    EXPECT_EQ(Service().Owner, 0u) << "unlinking destroys the system caret";
    caret.SetLinked(true);
    EXPECT_EQ(Service().HideCount, 0) << "a visible caret shows again when linked";
}

TEST_F(PgcCaret, ChangingTheTypeRecreatesALinkedCaret)
{
    TPgcCaretPair caret(Owner);
    caret.SetCellHeight(16);
    caret.SetLinked(true);
    caret.InsCaretType()->SetIsGray(true);
    EXPECT_TRUE(Service().Gray);
    caret.InsCaretType()->SetShape(csHorzLine);
    caret.SetCellWidth(9);
    EXPECT_EQ(Service().Width, 9);
    EXPECT_EQ(Service().Height, 2);
    EXPECT_EQ(caret.XOffset(), 0);
    EXPECT_EQ(caret.YOffset(), 14) << "at the cell's bottom";
}

TEST_F(PgcCaret, SharedTypeOutlivesOneHolder)
{
    auto first = std::make_unique<TPgcSingleCaret>(Owner);
    TPgcSingleCaret second(Owner);
    TPgcCaret* shared = first->CaretType();
    second.SetCaretType(shared);
    EXPECT_EQ(shared->RefCount(), 2);
    first.reset();
    EXPECT_EQ(shared->RefCount(), 1);
    EXPECT_EQ(second.CaretType(), shared);
    // The type no longer calls back into the holder that went.
    shared->SetShape(csBlock);
    second.SetCellWidth(6);
    EXPECT_EQ(shared->CaretWidth(), 6);
}

TEST_F(PgcCaret, PairTakesReplacementTypes)
{
    TPgcCaretPair caret(Owner);
    auto* block = new TPgcCaret;
    block->SetShape(csHalfBlock);
    caret.SetOvrCaretType(block);
    EXPECT_EQ(caret.OvrCaretType(), block);
    EXPECT_EQ(caret.CaretType(), caret.InsCaretType()) << "not current in insert mode";
    caret.SetInsertMode(false);
    EXPECT_EQ(caret.CaretType(), block);
    EXPECT_EQ(block->RefCount(), 2) << "held as overwrite type and as current type";
}

// ---- the caret type on its own ----

class PgcCaretType : public ::testing::Test {
protected:
    PgcCaretType()
    {
        Type.OnChange = [this](plat::TObject*) { ++Changes; };
    }
    TPgcCaret Type;
    int Changes = 0;
};

TEST_F(PgcCaretType, ShapeAdjustsAlignmentAndSizeAndFiresOnce)
{
    struct TCase {
        TPgcCaretShape Shape;
        TPgcCaretAlign Align;
        int Width;
        int Height;
    };
    const TCase cases[] = {
        {csBlock, caLeft, 5, 7}, {csHalfBlock, caBottom, 5, 7}, {csHorzLine, caBottom, 5, 2},
        {csVertLine, caLeft, 2, 7}, {csCustom, caCenter, 5, 7},
    };
    for (const TCase& c : cases) {
        TPgcCaret type;
        type.SetShape(csCustom == c.Shape ? csBlock : csCustom);
        type.SetCaretWidth(5);
        type.SetCaretHeight(7);
        type.SetAlign(caCenter);
        int changes = 0;
        type.OnChange = [&](plat::TObject*) { ++changes; };
        type.SetShape(c.Shape);
        EXPECT_EQ(changes, 1) << "shape " << c.Shape;
        EXPECT_EQ(type.Align(), c.Align) << "shape " << c.Shape;
        EXPECT_EQ(type.CaretWidth(), c.Width) << "shape " << c.Shape;
        EXPECT_EQ(type.CaretHeight(), c.Height) << "shape " << c.Shape;
    }
}

TEST_F(PgcCaretType, OnlyEffectiveChangesFire)
{
    Type.SetCaretHeight(0);
    Type.SetCaretWidth(-3);
    Type.SetShape(csVertLine);
    Type.SetAlign(caLeft);
    Type.SetBitmapHotSpotX(4);
    Type.SetBitmap(nullptr);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Type.CaretHeight(), 10);
    EXPECT_EQ(Type.CaretWidth(), 2);
    EXPECT_EQ(Type.BitmapHotSpotX(), 4) << "stored, but without a bitmap shape nothing changes visibly";
    Type.SetShape(csBitmap);
    Changes = 0;
    Type.SetBitmapHotSpotY(3);
    Type.SetBlinkTime(300);
    Type.SetIsGray(true);
    EXPECT_EQ(Changes, 3);
}

// A caret type that tells when it is freed.
class TWatchedCaret : public TPgcCaret {
public:
    explicit TWatchedCaret(bool& Freed) : FFreed(Freed) {}
    ~TWatchedCaret() override { FFreed = true; }

private:
    bool& FFreed;
};

TEST_F(PgcCaretType, LastDeregisterFreesTheType)
{
    bool freed = false;
    auto* type = new TWatchedCaret(freed);
    type->Register();
    type->Register();
    type->Deregister();
    EXPECT_FALSE(freed);
    EXPECT_EQ(type->RefCount(), 1);
    type->Deregister();
    EXPECT_TRUE(freed);
}

} // namespace
} // namespace qel
