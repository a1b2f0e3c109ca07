// Image lists: equal-sized images kept in one common-controls image list,
// drawn by index.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"

class TCustomImageList;

// Lets an object watch an image list: OnChange fires after every change of
// the list. A link unregisters itself when it goes, and is left without a
// sender when the list goes first.
class TChangeLink {
public:
    TChangeLink() = default;
    ~TChangeLink();
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    TCustomImageList* Sender() const { return sender_; }
    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* sender_ = nullptr;
};

// How Draw draws an image: dsNormal and dsTransparent leave the masked
// pixels alone; dsFocus and dsSelected blend the image with the highlight
// colour (25% and 50%).
enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

// A list of images of Width x Height pixels (16 x 16 unless made otherwise)
// with masks. The images are copied in; the bitmaps given stay the caller's
// and are not changed.
class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner);
    TCustomImageList(TComponent* owner, int width, int height);
    ~TCustomImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size empties the list.
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);
    int Count() const;
    // The common-controls image list, made when first needed.
    HIMAGELIST Handle();
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle style);

    // Adds the image (a bitmap wider than the list adds one image per Width
    // pixels) with a monochrome mask whose white pixels are transparent (no
    // mask: none are). No image adds one blank image. Gives the index of the
    // first image added; EInvalidGraphicOperation when nothing could be added.
    int Add(TBitmap* image, TBitmap* mask);
    // Adds the image with the pixels of MaskColor transparent.
    int AddMasked(TBitmap* image, TColor maskColor);
    // Replace an image; EInvalidGraphicOperation for an index outside the list.
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Draws image Index with its top left at (x, y); nothing for an index
    // outside the list.
    void Draw(TCanvas* canvas, int x, int y, int index);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    TNotifyEvent OnChange;

protected:
    // Tells OnChange and every registered link.
    virtual void Change();

private:
    void FreeHandle();
    void CheckIndex(int index, const char* message);

    int width_;
    int height_;
    HIMAGELIST handle_ = nullptr;
    TDrawingStyle drawingStyle_ = dsNormal;
    std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
