// OLE drag and drop: the format examiner of a dragged data object, the drop
// target, and the drag source with its data object and format enumerator.
#include "grid/ddintf.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "classlib/Clipbrd.h"
#include "classlib/Controls.h"
#include "classlib/SysUtils.h"

bool AcceptRichTextDrop = true;

namespace {

TDragLoop dragLoop = &DoDragDrop;

// Runs a COM method's body: no exception may travel into the caller, which
// is the system or another program.
template <class F>
HRESULT Guarded(F&& f) noexcept
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// Takes the first reference of a new object.
template <class T>
T* FirstRef(T* object)
{
    object->AddRef();
    return object;
}

// The formats the drag source offers, in order.
constexpr int SourceFormatCount = 3;

FORMATETC SourceFormat(ULONG position)
{
    const CLIPFORMAT formats[SourceFormatCount] = {CF_TEXT, CF_UNICODETEXT, static_cast<CLIPFORMAT>(RichTextFormat())};
    return FORMATETC{formats[position], nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A movable, zero-filled, shareable block holding size bytes from data.
HGLOBAL NewBlock(const void* data, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size);
    if (!block)
        return nullptr;
    if (void* p = GlobalLock(block)) {
        memcpy(p, data, size);
        GlobalUnlock(block);
        return block;
    }
    GlobalFree(block);
    return nullptr;
}

} // namespace

UINT RichTextFormat()
{
    static const UINT format = RegisterClipboardFormatA("Rich Text Format");
    return format;
}

TDragLoop SetDragLoop(TDragLoop loop)
{
    const TDragLoop old = dragLoop;
    dragLoop = loop ? loop : &DoDragDrop;
    return old;
}

// ---------------------------------------------------------------------------
// Reading what a drag offers

TDataMedium::~TDataMedium()
{
    if (held_)
        ReleaseStgMedium(&medium_);
}

TDataMedium::TDataMedium(TDataMedium&& other) noexcept : medium_(other.medium_), held_(other.held_)
{
    other.held_ = false;
    other.medium_ = STGMEDIUM{};
}

bool TDataMedium::Fetch(IDataObject* object, FORMATETC* format)
{
    if (held_)
        ReleaseStgMedium(&medium_);
    medium_ = STGMEDIUM{};
    held_ = SUCCEEDED(object->GetData(format, &medium_));
    return held_;
}

void BlockFileNames(HGLOBAL block, TStrings* list)
{
    const std::string all = BytesOfGlobal(block);
    if (all.size() < sizeof(DROPFILES))
        return;
    DROPFILES header;
    memcpy(&header, all.data(), sizeof header);
    if (header.pFiles >= all.size())
        return;
    const char* p = all.data() + header.pFiles;
    const size_t bytes = all.size() - header.pFiles;
    if (header.fWide) {
        // Copied out: the offset need not keep the characters aligned.
        std::wstring wide(bytes / sizeof(wchar_t), L'\0');
        memcpy(wide.data(), p, wide.size() * sizeof(wchar_t));
        for (size_t at = 0; at < wide.size();) {
            const size_t end = std::min(wide.find(L'\0', at), wide.size());
            if (end == at)
                break;
            list->Add(WideToAnsi(wide.data() + at, end - at));
            at = end + 1;
        }
    } else {
        for (size_t at = 0; at < bytes;) {
            const char* zero = static_cast<const char*>(memchr(p + at, 0, bytes - at));
            const size_t end = zero ? static_cast<size_t>(zero - p) : bytes;
            if (end == at)
                break;
            list->Add(std::string(p + at, end - at));
            at = end + 1;
        }
    }
}

TEnumFormats::TEnumFormats(IDataObject* DataObject)
{
    Attach(DataObject);
}

TEnumFormats::~TEnumFormats()
{
    CoTaskMemFree(current_.ptd);
}

void TEnumFormats::Attach(IDataObject* DataObject)
{
    enumerator_.Reset();
    if (DataObject)
        DataObject->AddRef();
    dataObject_.Reset(DataObject);
    if (!DataObject)
        return;
    if (FAILED(DataObject->EnumFormatEtc(DATADIR_GET, enumerator_.Out())) || !enumerator_)
        throw EAssertionFailed("Cannot get the format enumerator", "ddintf");
    Restart();
}

bool TEnumFormats::Restart()
{
    valid_ = false;
    return enumerator_ && SUCCEEDED(enumerator_->Reset());
}

void TEnumFormats::Advance()
{
    CoTaskMemFree(current_.ptd);
    current_ = FORMATETC{};
    ULONG fetched = 0;
    valid_ = enumerator_ && enumerator_->Next(1, &current_, &fetched) == S_OK && fetched == 1;
}

bool TEnumFormats::HasFormat(CLIPFORMAT Format)
{
    if (!Restart())
        return false;
    do
        Advance();
    while (valid_ && current_.cfFormat != Format);
    return valid_;
}

TDataMedium TEnumFormats::DataHandle(DWORD Medium)
{
    TDataMedium data;
    if (valid_ && (current_.tymed & Medium)) {
        FORMATETC format = current_;
        format.tymed = Medium;
        data.Fetch(dataObject_.Get(), &format);
    }
    return data;
}

std::string TEnumFormats::FormatText(CLIPFORMAT Format)
{
    if (!HasFormat(Format))
        return {};
    const TDataMedium data = GlobalHandle();
    return TextOfGlobal(data.Handle());
}

bool TEnumFormats::FileNames(TStrings* List)
{
    const TDataMedium data = GlobalHandle();
    BlockFileNames(data.Handle(), List);
    return List->Count() > 0;
}

// ---------------------------------------------------------------------------
// The drop target

DWORD DropEffectFor(DWORD keyState, bool files, DWORD allowed)
{
    const DWORD wanted = files || (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (allowed & wanted)
        return wanted;
    const DWORD other = wanted == DROPEFFECT_COPY ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    if (!files && (allowed & other))
        return other;
    return DROPEFFECT_NONE;
}

HRESULT TDropTarget::DragEnter(IDataObject* DataObject, DWORD KeyState, POINTL, DWORD* Effect)
{
    if (!Effect)
        return E_INVALIDARG;
    const DWORD allowed = *Effect;
    *Effect = DROPEFFECT_NONE;
    accept_ = false;
    files_ = false;
    // A data object that fails is simply not accepted.
    Guarded([&] {
        TEnumFormats formats(DataObject);
        files_ = formats.HasFiles();
        accept_ = formats.HasText() || files_ || (formats.HasRichText() && AcceptRichTextDrop);
        return S_OK;
    });
    if (accept_)
        *Effect = DropEffectFor(KeyState, files_, allowed);
    return S_OK;
}

HRESULT TDropTarget::DragOver(DWORD KeyState, POINTL, DWORD* Effect)
{
    if (!Effect)
        return E_INVALIDARG;
    *Effect = accept_ ? DropEffectFor(KeyState, files_, *Effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TDropTarget::DragLeave()
{
    return S_OK;
}

HRESULT TDropTarget::Drop(IDataObject* DataObject, DWORD KeyState, POINTL Point, DWORD* Effect)
{
    if (!Effect)
        return E_INVALIDARG;
    const DWORD allowed = *Effect;
    *Effect = DROPEFFECT_NONE;
    if (!accept_)
        return S_OK;
    // Everything is read first: a data object that fails is not taken.
    bool rich = false, text = false;
    std::string dropped;
    TStringList names;
    const HRESULT read = Guarded([&] {
        TEnumFormats formats(DataObject);
        if (formats.HasRichText() && AcceptRichTextDrop) {
            rich = true;
            dropped = formats.RichText();
        } else if (formats.HasText()) {
            text = true;
            dropped = formats.PlainText();
        }
        if (formats.HasFiles())
            formats.FileNames(&names);
        return S_OK;
    });
    if (FAILED(read))
        return S_OK;
    const POINT at{Point.x, Point.y};
    // An error of what the drop does (an import) is the user's to see.
    const bool done = CallbackGuard(nullptr, [&] {
        if (rich)
            RichTextDropped(at, dropped);
        else if (text)
            TextDropped(at, dropped);
        if (names.Count() > 0)
            FilesDropped(at, &names);
    });
    if (done)
        *Effect = DropEffectFor(KeyState, names.Count() > 0, allowed);
    return S_OK;
}

void TDropTarget::TextDropped(POINT, const std::string&) {}

void TDropTarget::RichTextDropped(POINT, const std::string&) {}

void TDropTarget::FilesDropped(POINT, TStrings*) {}

// ---------------------------------------------------------------------------
// The drag source

HRESULT TDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState)
{
    if (EscapePressed)
        return DRAGDROP_S_CANCEL;
    if (!(KeyState & MK_LBUTTON))
        return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT TDropSource::GiveFeedback(DWORD)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

TSourceDataObject::TSourceDataObject(std::string Text, std::string RichText)
    : text_(std::move(Text)), richText_(std::move(RichText))
{
}

HRESULT TSourceDataObject::QueryGetData(FORMATETC* Format)
{
    if (!Format || Format->dwAspect != DVASPECT_CONTENT || !(Format->tymed & TYMED_HGLOBAL))
        return DV_E_FORMATETC;
    const UINT f = Format->cfFormat;
    return f == CF_TEXT || f == CF_UNICODETEXT || f == RichTextFormat() ? S_OK : DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(FORMATETC* Format, STGMEDIUM* Medium)
{
    if (!Medium)
        return E_INVALIDARG;
    *Medium = STGMEDIUM{};
    if (QueryGetData(Format) != S_OK)
        return DV_E_FORMATETC;
    return Guarded([&] {
        HGLOBAL block;
        if (Format->cfFormat == CF_UNICODETEXT) {
            const std::wstring wide = AnsiToWide(text_);
            block = NewBlock(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        } else {
            const std::string& s = Format->cfFormat == CF_TEXT ? text_ : richText_;
            block = NewBlock(s.c_str(), s.size() + 1);
        }
        if (!block)
            return DV_E_FORMATETC;
        Medium->tymed = TYMED_HGLOBAL;
        Medium->hGlobal = block;
        return S_OK;
    });
}

HRESULT TSourceDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* Out)
{
    if (Out)
        Out->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum)
{
    if (!Enum)
        return E_INVALIDARG;
    *Enum = nullptr;
    if (Direction != DATADIR_GET)
        return E_NOTIMPL;
    return Guarded([&] {
        *Enum = FirstRef(new TSourceEnumFormatEtc);
        return S_OK;
    });
}

HRESULT TSourceDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::DUnadvise(DWORD)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA** Enum)
{
    if (Enum)
        *Enum = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceEnumFormatEtc::Next(ULONG Count, FORMATETC* Entries, ULONG* Fetched)
{
    if (!Entries)
        return E_INVALIDARG;
    ULONG n = 0;
    while (n < Count && position_ < SourceFormatCount)
        Entries[n++] = SourceFormat(position_++);
    if (Fetched)
        *Fetched = n;
    return n == Count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG Count)
{
    if (Count > SourceFormatCount - position_) {
        position_ = SourceFormatCount;
        return S_FALSE;
    }
    position_ += Count;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset()
{
    position_ = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** Enum)
{
    if (!Enum)
        return E_INVALIDARG;
    *Enum = nullptr;
    return Guarded([&] {
        *Enum = FirstRef(new TSourceEnumFormatEtc(position_));
        return S_OK;
    });
}

HRESULT StartOleDrag(const std::string& Text, const std::string& RichText, DWORD Allowed, DWORD& Effect)
{
    const TComRef<IDropSource> source(FirstRef(new TDropSource));
    const TComRef<IDataObject> data(FirstRef(new TSourceDataObject(Text, RichText)));
    Effect = DROPEFFECT_NONE;
    return dragLoop(data.Get(), source.Get(), Allowed, &Effect);
}
