#include "classlib/ImgList.h"

#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TBitmap> Filled(int width, int height, TColor color)
{
    auto b = std::make_unique<TBitmap>(width, height, pf24bit);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(0, 0, width, height));
    return b;
}

// A fuchsia square of the list's size with a square of `color` at (4, 4).
std::unique_ptr<TBitmap> Glyph(TColor color)
{
    auto b = Filled(16, 16, clFuchsia);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(4, 4, 12, 12));
    return b;
}

struct Watcher {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

// Draws image `index` at (2, 2) on a lime canvas and gives the pixels at the
// image's corner and middle.
std::pair<TColor, TColor> Drawn(TImageList& list, int index)
{
    auto canvas = Filled(20, 20, clLime);
    list.Draw(canvas->Canvas(), 2, 2, index);
    return {canvas->Canvas()->Pixels(2, 2), canvas->Canvas()->Pixels(10, 10)};
}

} // namespace

TEST(ImageList, MaskedImagesDrawWithTheirMaskColourLeftOut)
{
    TImageList list(nullptr);
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Count(), 0);
    auto red = Glyph(clRed);
    EXPECT_EQ(list.AddMasked(red.get(), clFuchsia), 0);
    auto blue = Glyph(clBlue);
    EXPECT_EQ(list.AddMasked(blue.get(), clFuchsia | clPaletteRelative), 1);  // as bitmaps report it
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(Drawn(list, 0), std::make_pair(clLime, clRed));
    EXPECT_EQ(Drawn(list, 1), std::make_pair(clLime, clBlue));
    EXPECT_EQ(Drawn(list, 5), std::make_pair(clLime, clLime));  // no such image: nothing drawn
    // The caller's bitmap is copied, not changed.
    EXPECT_EQ(red->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(red->Canvas()->Pixels(5, 5), clRed);

    // Without a mask every pixel is drawn; a given mask leaves out its white.
    EXPECT_EQ(list.Add(red.get(), nullptr), 2);
    EXPECT_EQ(Drawn(list, 2), std::make_pair(clFuchsia, clRed));
    auto mask = Filled(16, 16, clWhite);
    mask->Canvas()->Brush()->SetColor(clBlack);
    mask->Canvas()->FillRect(Rect(8, 8, 16, 16));
    EXPECT_EQ(list.Add(red.get(), mask.get()), 3);
    auto canvas = Filled(20, 20, clLime);
    list.Draw(canvas->Canvas(), 0, 0, 3);
    EXPECT_EQ(canvas->Canvas()->Pixels(6, 6), clLime);
    EXPECT_EQ(canvas->Canvas()->Pixels(9, 9), clRed);
    EXPECT_EQ(canvas->Canvas()->Pixels(14, 14), clFuchsia);
}

TEST(ImageList, ReplaceDeleteAndBlankImages)
{
    TImageList list(nullptr, 16, 16);
    auto red = Glyph(clRed);
    auto blue = Glyph(clBlue);
    list.AddMasked(red.get(), clFuchsia);
    // No image adds a blank one (a free slot to be replaced later).
    EXPECT_EQ(list.Add(nullptr, nullptr), 1);
    EXPECT_EQ(list.Count(), 2);
    list.ReplaceMasked(1, blue.get(), clFuchsia);
    EXPECT_EQ(Drawn(list, 1), std::make_pair(clLime, clBlue));
    list.Replace(0, blue.get(), nullptr);
    EXPECT_EQ(Drawn(list, 0), std::make_pair(clFuchsia, clBlue));
    EXPECT_THROW(list.Replace(2, red.get(), nullptr), EInvalidGraphicOperation);
    EXPECT_THROW(list.ReplaceMasked(-1, red.get(), clFuchsia), EInvalidGraphicOperation);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(list.Delete(1), EInvalidGraphicOperation);
    // A strip three images wide adds three images.
    auto strip = Filled(48, 16, clRed);
    EXPECT_EQ(list.Add(strip.get(), nullptr), 1);
    EXPECT_EQ(list.Count(), 4);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    list.AddMasked(red.get(), clFuchsia);
    list.SetSize(8, 8);  // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Height(), 8);
}

TEST(ImageList, ChangeLinksAreToldAndLetGo)
{
    auto red = Glyph(clRed);
    Watcher a, b;
    TChangeLink linkB;
    linkB.OnChange = TNotifyEvent(&b, &Watcher::Changed);
    {
        TImageList list(nullptr);
        Watcher own;
        list.OnChange = TNotifyEvent(&own, &Watcher::Changed);
        {
            TChangeLink linkA;
            linkA.OnChange = TNotifyEvent(&a, &Watcher::Changed);
            list.RegisterChanges(&linkA);
            list.RegisterChanges(&linkB);
            EXPECT_EQ(linkA.Sender(), &list);
            list.AddMasked(red.get(), clFuchsia);
            list.SetDrawingStyle(dsTransparent);
            list.SetDrawingStyle(dsTransparent);  // unchanged: no notice
        }  // linkA unregisters itself
        list.Delete(0);
        EXPECT_EQ(a.changes, 2);
        EXPECT_EQ(b.changes, 3);
        EXPECT_EQ(own.changes, 3);
        list.UnRegisterChanges(&linkB);
        list.AddMasked(red.get(), clFuchsia);
        EXPECT_EQ(b.changes, 3);
        EXPECT_EQ(linkB.Sender(), nullptr);
        list.RegisterChanges(&linkB);
    }  // the list goes first: the link is left without a sender
    EXPECT_EQ(linkB.Sender(), nullptr);
}

TEST(ImageList, OwnedByAComponent)
{
    TComponent owner(nullptr);
    auto* list = new TImageList(&owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
    auto red = Glyph(clRed);
    list->AddMasked(red.get(), clFuchsia);
    EXPECT_NE(list->Handle(), nullptr);
}  // the owner frees the list and its image list
