#include "classlib/ImgList.h"

#include <algorithm>
#include <memory>

TChangeLink::~TChangeLink()
{
    if (sender_)
        sender_->UnRegisterChanges(this);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TCustomImageList(owner, 16, 16) {}

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width > 0 ? width : 16), height_(height > 0 ? height : 16)
{
}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : links_)
        link->sender_ = nullptr;
    FreeHandle();
}

void TCustomImageList::FreeHandle()
{
    if (handle_) {
        ImageList_Destroy(handle_);
        handle_ = nullptr;
    }
}

HIMAGELIST TCustomImageList::Handle()
{
    if (!handle_) {
        handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
        if (!handle_)
            throw EInvalidGraphicOperation("Cannot create an image list");
    }
    return handle_;
}

void TCustomImageList::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0 || (width == width_ && height == height_))
        return;
    width_ = width;
    height_ = height;
    if (handle_) {
        // ImageList_SetIconSize empties the list as well.
        ImageList_SetIconSize(handle_, width_, height_);
        Change();
    }
}

int TCustomImageList::Count() const
{
    return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle style)
{
    if (style == drawingStyle_)
        return;
    drawingStyle_ = style;
    Change();
}

namespace {

COLORREF PlainColor(TColor color)
{
    COLORREF rgb = ColorToRGB(color);
    if ((rgb & 0xFF000000u) == static_cast<COLORREF>(clPaletteRelative))
        rgb &= 0x00FFFFFFu;
    return rgb;
}

// A copy of the image of the list's height (and the image's width, at least
// the list's), so that the caller's bitmap is never selected elsewhere or
// changed.
std::unique_ptr<TBitmap> ImageCopy(TBitmap* image, int width, int height)
{
    auto copy = std::make_unique<TBitmap>();
    if (image && !image->Empty()) {
        copy->Assign(image);
        copy->SetSize(std::max(copy->Width(), width), height);
    } else {
        copy->SetPixelFormat(pf24bit);
        copy->SetSize(width, height);
    }
    return copy;
}

// The copy of the image with the pixels of the mask colour turned black, and
// a monochrome mask that is white there; the list draws the image through
// the mask.
struct MaskedImage {
    std::unique_ptr<TBitmap> image;
    std::unique_ptr<TBitmap> mask;
};

MaskedImage MakeMasked(TBitmap* image, int width, int height, TColor maskColor)
{
    MaskedImage m;
    m.image = ImageCopy(image, width, height);
    m.mask = std::make_unique<TBitmap>();
    m.mask->SetMonochrome(true);
    m.mask->SetSize(m.image->Width(), m.image->Height());
    HDC img = m.image->Canvas()->Handle();
    HDC msk = m.mask->Canvas()->Handle();
    COLORREF oldBk = SetBkColor(img, PlainColor(maskColor));
    BitBlt(msk, 0, 0, m.image->Width(), m.image->Height(), img, 0, 0, SRCCOPY);
    SetBkColor(img, oldBk);
    // The mask read as colour is white where the image is transparent:
    // dest AND NOT source (DSna) makes those pixels black.
    COLORREF oldText = SetTextColor(img, RGB(0, 0, 0));
    oldBk = SetBkColor(img, RGB(255, 255, 255));
    BitBlt(img, 0, 0, m.image->Width(), m.image->Height(), msk, 0, 0, 0x00220326);
    SetTextColor(img, oldText);
    SetBkColor(img, oldBk);
    m.image->Dormant();
    m.mask->Dormant();
    return m;
}

// The copy of the image and a monochrome copy of the mask, when one with a
// picture is given.
MaskedImage CopyWithMask(TBitmap* image, TBitmap* mask, int width, int height)
{
    MaskedImage m;
    m.image = ImageCopy(image, width, height);
    if (mask && !mask->Empty()) {
        m.mask = std::make_unique<TBitmap>();
        m.mask->Assign(mask);
        m.mask->SetMonochrome(true);
        m.mask->Dormant();
    }
    m.image->Dormant();
    return m;
}

} // namespace

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    MaskedImage m = CopyWithMask(image, mask, width_, height_);
    int index = ImageList_Add(Handle(), m.image->Handle(), m.mask ? m.mask->Handle() : nullptr);
    if (index < 0)
        throw EInvalidGraphicOperation("Unable to insert image");
    Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    MaskedImage m = MakeMasked(image, width_, height_, maskColor);
    int index = ImageList_Add(Handle(), m.image->Handle(), m.mask->Handle());
    if (index < 0)
        throw EInvalidGraphicOperation("Unable to insert image");
    Change();
    return index;
}

void TCustomImageList::CheckIndex(int index, const char* message)
{
    if (index < 0 || index >= Count())
        throw EInvalidGraphicOperation(message);
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask)
{
    CheckIndex(index, "Unable to replace image");
    MaskedImage m = CopyWithMask(image, mask, width_, height_);
    if (!ImageList_Replace(handle_, index, m.image->Handle(), m.mask ? m.mask->Handle() : nullptr))
        throw EInvalidGraphicOperation("Unable to replace image");
    Change();
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor)
{
    CheckIndex(index, "Unable to replace image");
    MaskedImage m = MakeMasked(image, width_, height_, maskColor);
    if (!ImageList_Replace(handle_, index, m.image->Handle(), m.mask->Handle()))
        throw EInvalidGraphicOperation("Unable to replace image");
    Change();
}

void TCustomImageList::Delete(int index)
{
    CheckIndex(index, "Invalid ImageList Index");
    ImageList_Remove(handle_, index);
    Change();
}

void TCustomImageList::Clear()
{
    if (handle_ && Count() > 0) {
        ImageList_Remove(handle_, -1);
        Change();
    }
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index)
{
    if (index < 0 || index >= Count())
        return;
    static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    ImageList_DrawEx(handle_, index, canvas->Handle(), x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, styles[drawingStyle_]);
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || link->sender_ == this)
        return;
    if (link->sender_)
        link->sender_->UnRegisterChanges(link);
    link->sender_ = this;
    links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    auto it = std::find(links_.begin(), links_.end(), link);
    if (it == links_.end())
        return;
    links_.erase(it);
    link->sender_ = nullptr;
}

void TCustomImageList::Change()
{
    // A watcher may unregister itself while being told.
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->OnChange(this);
    OnChange(this);
}
