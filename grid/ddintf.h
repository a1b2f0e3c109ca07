// Unit ddintf: OLE drag and drop in both directions. A drop target that takes
// plain text, rich text and dropped files from any program, and a drag
// source that offers one text as ANSI text, UTF-16 text and rich text.
//
// Data travel in global memory with the content aspect. The rich-text format
// is registered when the grid unit starts (RichTextFormat registers it on
// first use otherwise), so a drag never offers format 0 as rich text.
//
// No exception leaves a COM method: a data object that cannot list its
// formats is not accepted, and an error of what a drop does goes to the
// application's exception handling before Drop answers.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "classlib/Lists.h"
#include "classlib/SysUtils.h"

// Set by the grid's OleDropRTF: one setting for the whole program, the last
// grid that sets it decides. True when the program starts.
extern bool AcceptRichTextDrop;

// The clipboard format "Rich Text Format" (registered at the first call).
UINT RichTextFormat();

// A COM interface pointer that releases what it holds.
template <class T>
class TComRef {
public:
    TComRef() = default;
    // Takes over a reference the caller holds.
    explicit TComRef(T* p) : p_(p) {}
    ~TComRef() { Reset(); }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset(T* p = nullptr)
    {
        if (p_)
            p_->Release();
        p_ = p;
    }
    // For a call that hands out a new reference.
    T** Out()
    {
        Reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

// A reference-counted object implementing one COM interface I, freed when
// its last reference goes; the count starts at 0.
template <class I>
class TInterfacedObject : public I {
public:
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(I))) {
            *object = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refCount_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --refCount_;
        if (n == 0)
            delete this;
        return n;
    }
    ULONG RefCount() const { return refCount_; }

protected:
    virtual ~TInterfacedObject() = default;

private:
    ULONG refCount_ = 0;
};

// What a data object gave for one format: released when it goes.
class TDataMedium {
public:
    TDataMedium() = default;
    ~TDataMedium();
    TDataMedium(const TDataMedium&) = delete;
    TDataMedium& operator=(const TDataMedium&) = delete;
    TDataMedium(TDataMedium&& other) noexcept;
    // The data object's data in that format (what was held is let go
    // first); false when it gave none.
    bool Fetch(IDataObject* object, FORMATETC* format);
    // The global memory block, or nullptr.
    HGLOBAL Handle() const { return medium_.tymed == TYMED_HGLOBAL ? medium_.hGlobal : nullptr; }

private:
    STGMEDIUM medium_{};
    bool held_ = false;
};

// The file names of a CF_HDROP block, read within the block: ANSI names or
// UTF-16 names (converted to the ANSI code page), up to an empty name.
void BlockFileNames(HGLOBAL block, TStrings* list);

// Examines one data object offered by a drag.
class TEnumFormats {
public:
    // Raises EAssertionFailed when the object cannot list its formats.
    explicit TEnumFormats(IDataObject* DataObject);
    ~TEnumFormats();
    TEnumFormats(const TEnumFormats&) = delete;
    TEnumFormats& operator=(const TEnumFormats&) = delete;

    void Attach(IDataObject* DataObject);
    bool Restart();
    void Advance();
    bool HasFormat(CLIPFORMAT Format);
    // The data of the current entry in that medium kind (empty when there
    // is none).
    TDataMedium DataHandle(DWORD Medium);
    TDataMedium GlobalHandle() { return DataHandle(TYMED_HGLOBAL); }
    std::string FormatText(CLIPFORMAT Format);
    std::string PlainText() { return FormatText(CF_TEXT); }
    std::string RichText() { return FormatText(static_cast<CLIPFORMAT>(RichTextFormat())); }
    // The names of the current entry's CF_HDROP data added to List; true
    // when List is not empty.
    bool FileNames(TStrings* List);
    bool HasText() { return HasFormat(CF_TEXT); }
    bool HasRichText() { return HasFormat(static_cast<CLIPFORMAT>(RichTextFormat())); }
    bool HasFiles() { return HasFormat(CF_HDROP); }

private:
    TComRef<IDataObject> dataObject_;
    TComRef<IEnumFORMATETC> enumerator_;
    FORMATETC current_{};
    bool valid_ = false;
};

// The effect a drop answers: for files COPY (the grid only reads them, so a
// source must never delete one); for text COPY with Ctrl, else MOVE. Always
// one the source allows: for text the other of the two, else none.
DWORD DropEffectFor(DWORD keyState, bool files, DWORD allowed);

class TDropTarget : public TInterfacedObject<IDropTarget> {
public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* DataObject, DWORD KeyState, POINTL Point,
                                        DWORD* Effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD KeyState, POINTL Point, DWORD* Effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* DataObject, DWORD KeyState, POINTL Point,
                                   DWORD* Effect) override;

    // Point in screen coordinates.
    virtual void TextDropped(POINT Point, const std::string& Text);
    virtual void RichTextDropped(POINT Point, const std::string& Text);
    virtual void FilesDropped(POINT Point, TStrings* Names);

protected:
    bool accept_ = false;
    bool files_ = false;  // what is dragged includes files
};

class TDropSource : public TInterfacedObject<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD Effect) override;
};

class TSourceDataObject : public TInterfacedObject<IDataObject> {
public:
    TSourceDataObject(std::string Text, std::string RichText);

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* Format, STGMEDIUM* Medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* Format, STGMEDIUM* Medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* Format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* In, FORMATETC* Out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* Format, DWORD Flags, IAdviseSink* Sink,
                                      DWORD* Connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD Connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** Enum) override;

private:
    std::string text_, richText_;
};

class TSourceEnumFormatEtc : public TInterfacedObject<IEnumFORMATETC> {
public:
    explicit TSourceEnumFormatEtc(ULONG position = 0) : position_(position) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG Count, FORMATETC* Entries, ULONG* Fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG Count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** Enum) override;

private:
    ULONG position_;
};

// Runs the system's modal drag loop with the text offered in the three
// formats; gives its result, the effect chosen in Effect.
HRESULT StartOleDrag(const std::string& Text, const std::string& RichText, DWORD Allowed, DWORD& Effect);

// The modal drag loop StartOleDrag runs: the system's DoDragDrop, or what a
// test puts in its place (nullptr puts the system's back). Gives the one it
// replaced.
using TDragLoop = HRESULT(STDAPICALLTYPE*)(IDataObject*, IDropSource*, DWORD, DWORD*);
TDragLoop SetDragLoop(TDragLoop loop);
