// Accessibility of the data tree: the providers' factory and the tree's
// answer to the accessibility request (no provider, two providers, a
// provider answering nothing, objects let go with the tree), and the three
// tree-view queries sent as messages: next item by every code, the item
// record with its state bits, images and cut text, the item rectangle, and
// handles that are no live node.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/image_list.h"
#include "platform/controls/window_messages.h"
#include "platform/objects/published_property.h"
#include "widgets/tree/tree_accessibility.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

// An accessible object that remembers who made it.
class TNamedAccessible : public IDTAccessible {
public:
    explicit TNamedAccessible(std::string name) : Name(std::move(name)) {}
    std::string Name;
};

class TProvider : public IDTAccessibleProvider {
public:
    explicit TProvider(std::string name) : FName(std::move(name)) {}
    TDTAccessibleRef CreateIAccessible(plat::TObject*) override
    {
        ++Calls;
        if (AnswersNothing) {
            return nullptr;
        }
        auto made = std::make_shared<TNamedAccessible>(FName + std::to_string(Calls));
        Made.push_back(made);
        return made;
    }

    bool AnswersNothing = false;
    int Calls = 0;
    std::vector<std::weak_ptr<IDTAccessible>> Made;

private:
    std::string FName;
};

std::string NameOf(const TDTAccessibleRef& object)
{
    auto* named = dynamic_cast<TNamedAccessible*>(object.get());
    return named != nullptr ? named->Name : "none";
}

// The tree with its drop target reachable.
class TQueryTree : public TTestTree {
public:
    using TTestTree::TTestTree;
    using TBaseDataTree::FDropTargetNode;
};

class Accessibility : public TreeTest {
protected:
    Accessibility()
    {
        // The fixture's tree gives way to one whose drop target the tests set.
        delete Tree;
        Query = new TQueryTree(Form);
        Tree = Query;
        Tree->SetParent(Form);
        Tree->SetBounds(0, 0, 300, 200);
        ShowForm();
    }

    ~Accessibility() override
    {
        for (const TDTAccessibleProviderRef& provider : Registered) {
            Factory().UnRegisterAccessibleProvider(provider);
        }
    }

    static TDTAccessibilityFactory& Factory() { return TDTAccessibilityFactory::GetAccessibilityFactory(); }

    std::shared_ptr<TProvider> Register(const std::string& name)
    {
        auto provider = std::make_shared<TProvider>(name);
        Factory().RegisterAccessibleProvider(provider);
        Registered.push_back(provider);
        return provider;
    }

    plat::LRESULT GetObject(std::int32_t objectId)
    {
        return Tree->Perform(plat::WM_GETOBJECT, 0, static_cast<plat::LPARAM>(objectId));
    }

    PDataNode Next(std::uint32_t code, PDataNode item)
    {
        return reinterpret_cast<PDataNode>(
            Tree->Perform(TVM_GETNEXTITEM, code, reinterpret_cast<plat::LPARAM>(item)));
    }

    plat::LRESULT GetItem(TDTTreeViewItem& item)
    {
        return Tree->Perform(TVM_GETITEMW, 0, reinterpret_cast<plat::LPARAM>(&item));
    }

    TQueryTree* Query = nullptr;
    std::vector<TDTAccessibleProviderRef> Registered;
};

TEST_F(Accessibility, WithoutAProviderTheRequestAnswersZeroAndTheTreeKeepsNoObject)
{
    ASSERT_EQ(Factory().ProviderCount(), 0u);
    EXPECT_EQ(GetObject(OBJID_CLIENT), 0);
    EXPECT_EQ(Tree->Accessible(), nullptr);
    EXPECT_EQ(Tree->AccessibleItem(), nullptr);
    EXPECT_THROW(Factory().CreateIAccessible(Form), plat::EInvalidCast) << "only a data tree";
}

TEST_F(Accessibility, TheFirstProviderMakesTheTreesObjectALaterOneTheItems)
{
    const auto a = Register("A");
    const auto b = Register("B");
    Factory().RegisterAccessibleProvider(a);
    EXPECT_EQ(Factory().ProviderCount(), 2u) << "registered once";

    const plat::LRESULT answer = GetObject(OBJID_CLIENT);
    EXPECT_EQ(NameOf(Tree->Accessible()), "A1");
    EXPECT_EQ(NameOf(Tree->AccessibleItem()), "B1");
    EXPECT_EQ(answer, reinterpret_cast<plat::LRESULT>(Tree->Accessible().get()));
    // Later requests keep the objects; another object id answers by default.
    EXPECT_EQ(GetObject(OBJID_CLIENT), answer);
    EXPECT_EQ(GetObject(-1), 0);
    EXPECT_EQ(a->Calls + b->Calls, 2);
    // The factory asked for a tree that has its item object answers that one.
    EXPECT_EQ(Factory().CreateIAccessible(Tree), Tree->AccessibleItem());

    // The objects live as long as the tree.
    const std::weak_ptr<IDTAccessible> treeObject = Tree->Accessible();
    const std::weak_ptr<IDTAccessible> itemObject = Tree->AccessibleItem();
    delete Tree;
    Tree = nullptr;
    EXPECT_TRUE(treeObject.expired());
    EXPECT_TRUE(itemObject.expired());
}

TEST_F(Accessibility, WhenTheLaterProviderAnswersNothingTheFirstMakesBoth)
{
    const auto a = Register("A");
    const auto b = Register("B");
    b->AnswersNothing = true;
    GetObject(OBJID_CLIENT);
    EXPECT_EQ(NameOf(Tree->Accessible()), "A1");
    EXPECT_EQ(NameOf(Tree->AccessibleItem()), "A2");
    EXPECT_EQ(b->Calls, 1);

    // An unregistered provider is asked no more.
    Factory().UnRegisterAccessibleProvider(a);
    Factory().UnRegisterAccessibleProvider(a);
    EXPECT_EQ(Factory().ProviderCount(), 1u);
}

// A (expanded: A0, A1 with A1a hidden below it), B (collapsed: B0), C hidden, D.
class TreeViewQueries : public Accessibility {
protected:
    TreeViewQueries()
    {
        Tree->OnGetText = [this](plat::TObject*, PDataNode node, TColumnIndex, TDSTTextType, std::string& text) {
            text = Names[node];
        };
        A = Add(nullptr, "A");
        A0 = Add(A, "A0");
        A1 = Add(A, "A1");
        A1a = Add(A1, "A1a");
        B = Add(nullptr, "Bravo123");
        B0 = Add(B, "B0");
        C = Add(nullptr, "C");
        D = Add(nullptr, "D");
        Tree->SetExpanded(A, true);
        Tree->SetVisible(C, false);
        Host.PumpUntilIdle();
    }

    PDataNode Add(PDataNode parent, const std::string& name)
    {
        const PDataNode node = Tree->AddChild(parent);
        Tree->ValidateNode(node, false);
        Names[node] = name;
        return node;
    }

    std::map<PDataNode, std::string> Names;
    PDataNode A, A0, A1, A1a, B, B0, C, D;
};

TEST_F(TreeViewQueries, NextItemByEveryCode)
{
    Tree->SetFocusedNode(A1);
    Query->FDropTargetNode = B;
    struct TCase {
        std::uint32_t code;
        PDataNode item;
        PDataNode answer;
        const char* name;
    };
    const std::vector<TCase> cases = {
        {tvgnRoot, nullptr, A, "root: the first top-level node"},
        {tvgnNext, A, B, "next sibling"},
        {tvgnNext, D, nullptr, "no next sibling"},
        {tvgnPrevious, B, A, "previous sibling"},
        {tvgnParent, A1, A, "parent"},
        {tvgnParent, A, nullptr, "a top-level node has no parent"},
        {tvgnChild, A1, A1a, "first child, also when collapsed"},
        {tvgnChild, D, nullptr, "no child"},
        {tvgnFirstVisible, nullptr, A, "first visible"},
        {tvgnNextVisible, A1, B, "next visible skips a collapsed child"},
        {tvgnNextVisible, B, D, "next visible skips a hidden node"},
        {tvgnPreviousVisible, B, A1, "previous visible"},
        {tvgnDropHighlight, nullptr, B, "drop target"},
        {tvgnCaret, nullptr, A1, "focused node"},
        {tvgnLastVisible, nullptr, D, "last visible"},
        {99, A, nullptr, "unknown code"},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(Next(each.code, each.item), each.answer) << each.name;
    }
    // The codes that need an item answer 0 without one.
    for (std::uint32_t code : {tvgnNext, tvgnPrevious, tvgnParent, tvgnChild, tvgnNextVisible, tvgnPreviousVisible}) {
        EXPECT_EQ(Next(code, nullptr), nullptr) << code;
    }
    Query->FDropTargetNode = nullptr;
}

// A handle that is no node of this tree (deleted, the hidden root, another
// tree's, or made up) answers 0 to every query and is never read.
TEST_F(TreeViewQueries, AHandleThatIsNoLiveNodeAnswersZero)
{
    TTestTree other(Form);
    other.SetParent(Form);
    const PDataNode foreign = other.AddChild(nullptr);
    const PDataNode deleted = Tree->AddChild(nullptr);
    ASSERT_EQ(Next(tvgnNext, D), deleted) << "handed out by a query before it goes";
    Tree->DeleteNode(deleted);
    std::uint64_t madeUp[16] = {};
    for (PDataNode item : {deleted, Tree->RootNode(), foreign, reinterpret_cast<PDataNode>(madeUp)}) {
        for (std::uint32_t code : {tvgnNext, tvgnPrevious, tvgnParent, tvgnChild, tvgnNextVisible, tvgnPreviousVisible}) {
            EXPECT_EQ(Next(code, item), nullptr) << code;
        }
        TDTTreeViewItem record;
        record.Mask = TVIF_HANDLE | TVIF_CHILDREN | TVIF_STATE;
        record.Item = item;
        record.Children = 77;
        EXPECT_EQ(GetItem(record), 0);
        EXPECT_EQ(record.Children, 77) << "nothing filled";
        plat::TRect rect{};
        std::memcpy(static_cast<void*>(&rect), &item, sizeof item);
        EXPECT_EQ(Tree->Perform(TVM_GETITEMRECT, 0, reinterpret_cast<plat::LPARAM>(&rect)), 0);
    }
    EXPECT_TRUE(Tree->IsTreeViewItem(A1a));
}

// The node a query took or gave last is not looked for again, but the tree
// forgets it with the node, also when the whole tree is cleared.
TEST_F(TreeViewQueries, TheLastItemOfAQueryIsForgottenWithTheTree)
{
    ASSERT_EQ(Next(tvgnChild, A1), A1a);
    TDTTreeViewItem record;
    record.Mask = TVIF_HANDLE | TVIF_CHILDREN;
    record.Item = A1a;
    EXPECT_EQ(GetItem(record), 1);
    Tree->Clear();
    EXPECT_FALSE(Tree->IsTreeViewItem(A1a));
    record.Children = 77;
    EXPECT_EQ(GetItem(record), 0);
    EXPECT_EQ(record.Children, 77) << "nothing filled";
    EXPECT_EQ(Next(tvgnNext, A1a), nullptr);
}

TEST_F(TreeViewQueries, ItemRecordStateImagesAndChildren)
{
    Tree->SetFocusedNode(A);
    Tree->SetSelected(A, true);
    Query->FDropTargetNode = A;
    A->States.Include(vsCutOrCopy);
    plat::TCustomImageList images(nullptr);
    Tree->SetImages(&images);
    Tree->OnGetImage = [this](plat::TObject*, PDataNode node, TDTImageKind kind, TColumnIndex, bool&,
                              int& index) {
        if (node == A) {
            index = kind == ikNormal ? 3 : kind == ikSelected ? 4 : kind == ikState ? 5 : 1;
        }
    };
    TDTTreeViewItem record;
    record.Mask = TVIF_HANDLE | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    record.Item = A;
    ASSERT_EQ(GetItem(record), 1);
    EXPECT_EQ(record.Children, 2);
    EXPECT_EQ(record.Image, 3);
    EXPECT_EQ(record.SelectedImage, 4);
    EXPECT_EQ(record.StateMask, 0xFF2Fu);
    EXPECT_EQ(record.State, TVIS_FOCUSED | TVIS_SELECTED | TVIS_CUT | TVIS_DROPHILITED | TVIS_EXPANDED | (6u << 12) |
                                (2u << 8));

    record = TDTTreeViewItem{};
    record.Mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_STATE;
    record.Item = D;
    ASSERT_EQ(GetItem(record), 1);
    EXPECT_EQ(record.Image, -1) << "no image";
    EXPECT_EQ(record.State, 0u) << "no state, no images";

    // Without TVIF_HANDLE nothing is answered or filled.
    record = TDTTreeViewItem{};
    record.Mask = TVIF_CHILDREN;
    record.Item = A;
    record.Children = 9;
    EXPECT_EQ(GetItem(record), 0);
    EXPECT_EQ(record.Children, 9);
    A->States.Exclude(vsCutOrCopy);
    Query->FDropTargetNode = nullptr;
}

// The text is cut to the buffer's length - 1 units and zero-terminated; a
// buffer of length 0 receives nothing at all.
TEST_F(TreeViewQueries, ItemTextFitsTheBuffer)
{
    struct TCase {
        int length;
        std::u16string expected; // the buffer afterwards; '#' is untouched
    };
    const std::vector<TCase> cases = {
        {5, std::u16string(u"Brav\0####", 9)},
        {9, std::u16string(u"Bravo123\0", 9)},
        {1, std::u16string(u"\0########", 9)},
        {0, u"#########"},
    };
    for (const TCase& each : cases) {
        char16_t buffer[9];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        TDTTreeViewItem record;
        record.Mask = TVIF_HANDLE | TVIF_TEXT;
        record.Item = B;
        record.Text = buffer;
        record.TextMax = each.length;
        EXPECT_EQ(GetItem(record), 1);
        EXPECT_EQ(std::u16string(buffer, 9), each.expected) << each.length;
    }
    // Text beyond the basic plane is never cut inside a surrogate pair.
    Names[B] = "ab\xF0\x9F\x98\x80";
    char16_t buffer[4] = {u'#', u'#', u'#', u'#'};
    TDTTreeViewItem record;
    record.Mask = TVIF_HANDLE | TVIF_TEXT;
    record.Item = B;
    record.Text = buffer;
    record.TextMax = 4;
    GetItem(record);
    EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"ab\0#", 4));
}

TEST_F(TreeViewQueries, ItemRectangleOfVisibleNodesOnly)
{
    const auto query = [&](PDataNode item, bool textOnly, plat::TRect& rect) {
        rect = plat::TRect{};
        std::memcpy(static_cast<void*>(&rect), &item, sizeof item);
        return Tree->Perform(TVM_GETITEMRECT, textOnly ? 1 : 0, reinterpret_cast<plat::LPARAM>(&rect));
    };
    plat::TRect rect;
    ASSERT_EQ(query(A1, false, rect), 1);
    EXPECT_EQ(rect, Tree->GetDisplayRect(A1, NoColumn, false));
    ASSERT_EQ(query(A1, true, rect), 1);
    EXPECT_EQ(rect, Tree->GetDisplayRect(A1, NoColumn, true));
    EXPECT_LT(Tree->GetDisplayRect(A1, NoColumn, false).Left, rect.Left) << "the text box is narrower";
    // A hidden node answers 0 and its rectangle keeps the handle.
    ASSERT_EQ(query(C, false, rect), 0);
    PDataNode kept = nullptr;
    std::memcpy(&kept, &rect, sizeof kept);
    EXPECT_EQ(kept, C);
    // The child of a collapsed parent is a visible node that takes no row:
    // answered, with an empty rectangle.
    EXPECT_EQ(query(B0, false, rect), 1);
    EXPECT_EQ(rect, plat::TRect{});
}

} // namespace
} // namespace qel::tree_test
