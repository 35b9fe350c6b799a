#include "base/ShellError.h"
#include "base/Win32Handles.h"
#include "widgets/MenuItem.h"
#include "widgets/MenuPaint.h"
#include "paint/Skin.h"
#include "tests/support/PixelSurface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {
namespace {

std::string Captions(const TMenuItem& parent) {
    std::string text;
    for (int i = 0; i < parent.Count(); ++i)
        text += (i ? "," : "") + parent.Items(i)->Caption;
    return text;
}

TMenuItem* Make(TComponent& owner, const std::string& caption) {
    auto* item = NewComponent<TMenuItem>(&owner);
    item->Caption = caption;
    return item;
}

TEST(MenuItemTree, InsertRemoveDeleteAndMoveKeepTheOrder) {
    TComponent owner(nullptr);
    TMenuItem root(nullptr);
    TMenuItem* a = Make(owner, "a");
    TMenuItem* b = Make(owner, "b");
    TMenuItem* c = Make(owner, "c");
    root.Add(a);
    root.Add(c);
    root.Insert(1, b);
    EXPECT_EQ(Captions(root), "a,b,c");
    EXPECT_EQ(b->Parent(), &root);

    // Moving within the same parent counts the index without the item.
    root.Insert(3, a);
    EXPECT_EQ(Captions(root), "b,c,a");

    TMenuItem other(nullptr);
    other.Add(c); // taken from its former parent
    EXPECT_EQ(Captions(root), "b,a");
    EXPECT_EQ(c->Parent(), &other);

    root.Remove(b);
    EXPECT_EQ(Captions(root), "a");
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_TRUE(TMenuItem::Alive(b)); // removing does not free

    root.Delete(0);
    EXPECT_EQ(root.Count(), 0);
    EXPECT_FALSE(TMenuItem::Alive(a));
    EXPECT_EQ(owner.Components().size(), 2u);

    EXPECT_THROW(root.Delete(0), ShellError);
    EXPECT_THROW(root.Insert(2, b), ShellError);
    EXPECT_THROW(root.Items(-1), ShellError);
}

TEST(MenuItemTree, AnItemCannotHoldItselfOrAnAncestor) {
    TComponent owner(nullptr);
    TMenuItem* top = Make(owner, "top");
    TMenuItem* middle = Make(owner, "middle");
    TMenuItem* bottom = Make(owner, "bottom");
    top->Add(middle);
    middle->Add(bottom);
    EXPECT_THROW(bottom->Add(top), ShellError);
    EXPECT_THROW(middle->Add(middle), ShellError);
    EXPECT_THROW(middle->Add(nullptr), ShellError);
    EXPECT_EQ(Captions(*middle), "bottom");
    EXPECT_EQ(top->Parent(), nullptr);
}

TEST(MenuItemTree, ClearAndDestructionFreeTheWholeSubtree) {
    TComponent owner(nullptr);
    TMenuItem* top = Make(owner, "top");
    TMenuItem* folder = Make(owner, "folder");
    TMenuItem* leaf = Make(owner, "leaf");
    // Owned by the folder itself rather than by the common owner.
    auto* inner = NewComponent<TMenuItem>(folder);
    top->Add(folder);
    folder->Add(leaf);
    folder->Add(inner);

    top->Clear();
    EXPECT_EQ(top->Count(), 0);
    EXPECT_FALSE(TMenuItem::Alive(folder));
    EXPECT_FALSE(TMenuItem::Alive(leaf));
    EXPECT_FALSE(TMenuItem::Alive(inner));
    EXPECT_EQ(owner.Components().size(), 1u);

    // Freed by its owner, an item leaves its parent's list.
    TMenuItem* child = Make(owner, "child");
    top->Add(child);
    owner.FreeComponent(child);
    EXPECT_EQ(top->Count(), 0);

    // An item nobody owns is let go, not freed.
    TMenuItem loose(nullptr);
    top->Add(&loose);
    top->Clear();
    EXPECT_EQ(loose.Parent(), nullptr);
    EXPECT_TRUE(TMenuItem::Alive(&loose));
}

TEST(MenuItemTree, CaptionsStayAsSetAndOnlyADashIsASeparator) {
    TMenuItem item(nullptr);
    for (const char* caption : {"&File", "a && b", "--", " - ", ""}) {
        item.Caption = caption;
        EXPECT_FALSE(item.IsSeparator()) << caption;
        EXPECT_EQ(item.Caption, caption);
    }
    item.Caption = "-";
    EXPECT_TRUE(item.IsSeparator());
    const TProperty* caption = item.FindProperty("caption");
    ASSERT_NE(caption, nullptr);
    caption->SetText("&Run...");
    EXPECT_EQ(item.Caption, "&Run...");
}

TEST(MenuItemPainting, SelectedItemsGetTheSkinHighlightOthersTheFace) {
    const TSkinElement& look = CurrentSkin().Element("popupmenu");
    TMenuItem item(nullptr);
    item.Caption = "Programs";
    test::PixelSurface surface(120, 60);
    {
        TCanvas canvas(surface.dc());
        PaintMenuItem(item, canvas, RECT{0, 0, 120, 20}, false);
        PaintMenuItem(item, canvas, RECT{0, 20, 120, 40}, true);
        item.Caption = "-";
        PaintMenuItem(item, canvas, RECT{0, 40, 120, 47}, true);
    }
    EXPECT_EQ(surface.At(1, 1), look.face.start);
    EXPECT_EQ(surface.At(0, 20), look.selectedFrame);
    EXPECT_EQ(surface.At(119, 39), look.selectedFrame);
    // The highlight is the skin's gradient, not the face.
    EXPECT_NE(surface.At(10, 21), look.face.start);
    EXPECT_NE(surface.At(10, 21), surface.At(10, 38));
    // Text was drawn somewhere in the caption's area.
    int textPixels = 0;
    for (int x = kMenuTextLeft; x < 110; ++x)
        for (int y = 2; y < 18; ++y)
            textPixels += surface.At(x, y) == look.font.color;
    EXPECT_GT(textPixels, 10);
    // A separator is never highlighted: face with one line across the middle.
    EXPECT_EQ(surface.At(1, 41), look.face.start);
    EXPECT_EQ(surface.At(60, 43), look.separator);
}

} // namespace
} // namespace orvane
