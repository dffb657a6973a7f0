// The image lists a tree shows without owning them: a freed list is dropped
// from every role it had (a freed custom check list brings the tree's own
// check pictures back), a change of a list repaints the tree, state images
// come from the normal list when there is no state list, and the extended
// image event may name the list itself.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/image_list.h"

#include <memory>
#include <string>

namespace qel::tree_test {
namespace {

plat::COLORREF Rgb(plat::TColor color)
{
    return static_cast<plat::COLORREF>(plat::ColorToRGB(color)) & 0xFFFFFF;
}

// A list of 16 x 16 images, one of each colour.
std::unique_ptr<plat::TCustomImageList> MakeList(std::initializer_list<plat::TColor> colours)
{
    auto list = std::make_unique<plat::TCustomImageList>(nullptr);
    list->SetSize(16, 16);
    for (const plat::TColor colour : colours) {
        plat::TBitmap picture(16, 16, plat::pf32bit);
        picture.Canvas()->Brush()->SetColor(colour);
        picture.Canvas()->FillRect(plat::Rect(0, 0, 16, 16));
        list->Add(&picture, nullptr);
    }
    return list;
}

class ImageLists : public TreeTest {
protected:
    ImageLists()
    {
        Tree->SetDefaultText("");
        Node = Tree->AddChild(nullptr);
        // Images while the lists are there, as an application does.
        Tree->OnGetImage = [this](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex, bool&, int& index) {
            if (kind == ikNormal && Tree->Images() != nullptr) {
                index = 0;
            } else if (kind == ikState && (Tree->StateImages() != nullptr || Tree->Images() != nullptr)) {
                index = StateIndex;
            }
        };
    }

    // How many pixels of the node's row have the colour, painted anew.
    int Count(plat::TColor colour)
    {
        const int row = static_cast<int>(Tree->GetNodeHeight(Node));
        plat::TBitmap target(200, row, plat::pf32bit);
        Tree->PaintTree(*target.Canvas(), plat::Rect(0, 0, 200, row), plat::Point(0, 0), {});
        int n = 0;
        for (int y = 0; y < row; ++y) {
            const std::uint8_t* line = target.ScanLine(y);
            for (int x = 0; x < 200; ++x) {
                const std::uint8_t* p = line + 4 * x;
                n += static_cast<plat::COLORREF>(p[2] | (p[1] << 8) | (p[0] << 16)) == Rgb(colour) ? 1 : 0;
            }
        }
        return n;
    }

    PDataNode Node = nullptr;
    int StateIndex = 0;
};

TEST_F(ImageLists, AFreedListIsDroppedFromEveryRoleAndNeverPaintedFrom)
{
    ShowForm();
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toCheckSupport});
    Node->CheckType = ctCheckBox;
    plat::TCustomImageList* const systemChecks = Tree->CheckImages();
    ASSERT_NE(systemChecks, nullptr);
    enum TRole { rImages, rStateImages, rBoth, rCustomChecks };
    struct TCase {
        const char* name;
        TRole role;
    };
    for (const TCase& c : {TCase{"Images", rImages}, TCase{"StateImages", rStateImages},
                           TCase{"Images and StateImages", rBoth}, TCase{"CustomCheckImages", rCustomChecks}}) {
        SCOPED_TRACE(c.name);
        auto list = MakeList({plat::clRed});
        if (c.role == rImages || c.role == rBoth) {
            Tree->SetImages(list.get());
        }
        if (c.role == rStateImages || c.role == rBoth) {
            Tree->SetStateImages(list.get());
        }
        if (c.role == rCustomChecks) {
            // Red at every check index.
            plat::TBitmap picture(16, 16, plat::pf32bit);
            picture.Canvas()->Brush()->SetColor(plat::clRed);
            picture.Canvas()->FillRect(plat::Rect(0, 0, 16, 16));
            while (list->Count() < 25) {
                list->Add(&picture, nullptr);
            }
            Tree->SetCustomCheckImages(list.get());
            ASSERT_EQ(Tree->CheckImageKind(), ckCustom);
        }
        ASSERT_GT(Count(plat::clRed), 0) << "the list is painted from";
        const int invalidations = Tree->Invalidations;
        list.reset();
        EXPECT_EQ(Tree->Images(), nullptr);
        EXPECT_EQ(Tree->StateImages(), nullptr);
        EXPECT_EQ(Tree->CustomCheckImages(), nullptr);
        EXPECT_EQ(Tree->CheckImageKind(), ckSystemDefault);
        ASSERT_NE(Tree->CheckImages(), nullptr) << "the tree's own check pictures are back";
        EXPECT_EQ(Tree->CheckImages()->Count(), 21);
        EXPECT_GT(Tree->Invalidations, invalidations) << "the tree repaints without the list";
        EXPECT_EQ(Count(plat::clRed), 0);
        Host.PumpUntilIdle();   // the window's own paint
    }
}

TEST_F(ImageLists, AChangedListRepaintsTheTree)
{
    ShowForm();
    auto images = MakeList({plat::clRed});
    auto states = MakeList({plat::clRed});
    auto checks = MakeList({plat::clRed});
    Tree->SetImages(images.get());
    Tree->SetStateImages(states.get());
    Tree->SetCustomCheckImages(checks.get());
    for (plat::TCustomImageList* list : {images.get(), states.get(), checks.get()}) {
        const int before = Tree->Invalidations;
        list->SetBkColor(plat::clGreen);
        EXPECT_EQ(Tree->Invalidations, before + 1);
    }
    // A list let go no longer repaints the tree.
    Tree->SetImages(nullptr);
    const int before = Tree->Invalidations;
    images->SetBkColor(plat::clBlue);
    EXPECT_EQ(Tree->Invalidations, before);
    // Freeing a list the tree let go of leaves the tree alone.
    images.reset();
    EXPECT_EQ(Tree->StateImages(), states.get());
}

TEST_F(ImageLists, StateImagesComeFromTheNormalListWithoutAStateList)
{
    auto images = MakeList({plat::clRed, plat::clBlue});
    auto states = MakeList({plat::clLime});
    Tree->SetImages(images.get());
    StateIndex = 1;
    EXPECT_EQ(Count(plat::clBlue), 16 * 16) << "the state image from the normal list";
    EXPECT_EQ(Count(plat::clRed), 16 * 16);
    Tree->SetStateImages(states.get());
    StateIndex = 0;
    EXPECT_EQ(Count(plat::clLime), 16 * 16) << "the state list when there is one";

    // The extended event is asked instead and may name another list.
    auto other = MakeList({plat::clYellow});
    int plainAsked = 0;
    Tree->OnGetImage = [&plainAsked](plat::TObject*, PDataNode, TDTImageKind, TColumnIndex, bool&, int&) {
        ++plainAsked;
    };
    Tree->OnGetImageEx = [&](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex, bool&, int& index,
                             plat::TCustomImageList*& list) {
        if (kind == ikState) {
            EXPECT_EQ(list, states.get()) << "the list starts as the tree's";
            list = other.get();
            index = 0;
        }
    };
    EXPECT_EQ(Count(plat::clYellow), 16 * 16);
    EXPECT_EQ(Count(plat::clLime), 0);
    EXPECT_EQ(plainAsked, 0);
}

TEST_F(ImageLists, AnIndexWithoutAnyListFailsItsAssertion)
{
    struct TCase {
        TDTImageKind kind;
        const char* message;
    };
    for (const TCase& c :
         {TCase{ikNormal, "An image index was supplied for TDTImageKind.ikNormal but no image list was supplied."},
          TCase{ikState, "An image index was supplied for TDTImageKind.ikState but no image list was supplied."}}) {
        const TDTImageKind asked = c.kind;
        Tree->OnGetImage = [asked](plat::TObject*, PDataNode, TDTImageKind kind, TColumnIndex, bool&, int& index) {
            if (kind == asked) {
                index = 2;
            }
        };
        try {
            Tree->GetImageSize(Node, c.kind, NoColumn);
            ADD_FAILURE() << c.message;
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    // No index without a list is no image.
    Tree->OnGetImage = nullptr;
    EXPECT_EQ(Tree->GetImageSize(Node, ikNormal, NoColumn).cx, 0);
}

} // namespace
} // namespace qel::tree_test
