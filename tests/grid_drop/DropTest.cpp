// OLE drag and drop: the drag source's format enumerator and data object
// byte by byte; the drop target fed by a data object made here, as another
// program's would be (a grid on the shown test form under it); the drop
// target's registration for the grid's window; the start of a drag from a
// press, with the drag loop replaced; and OLE's start.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <vector>

#include "classlib/Clipbrd.h"
#include "grid/AdvGridDrop.h"
#include "tests/grid_core/GridFixture.h"

namespace {

void StartOle()
{
    static const bool started = (StartAdvGridOle(), true);
    (void)started;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (unsigned char c : bytes) {
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s;
}

std::string BlockBytes(HGLOBAL block)
{
    const char* p = static_cast<const char*>(GlobalLock(block));
    std::string s(p, GlobalSize(block));
    GlobalUnlock(block);
    return s;
}

HGLOBAL BlockOf(const std::string& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// A CF_HDROP block: the header, then the names each with its zero, then
// the closing zero (left out with closed false, as a careless program
// might).
std::string DropFilesBlock(const std::vector<std::string>& names, bool wide, bool closed = true)
{
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = wide;
    std::string s(reinterpret_cast<const char*>(&header), sizeof header);
    auto add = [&](const std::string& name) {
        if (!wide) {
            s += name;
            s += '\0';
            return;
        }
        for (unsigned char c : name) {
            wchar_t w;
            MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(&c), 1, &w, 1);
            s.append(reinterpret_cast<const char*>(&w), sizeof w);
        }
        s.append(sizeof(wchar_t), '\0');
    };
    for (const auto& name : names)
        add(name);
    if (closed)
        s.append(wide ? 2 : 1, '\0');
    else
        s.resize(s.size() - (wide ? 2 : 1));
    return s;
}

// The data object of a drag from another program: blocks of given bytes
// by format; counts the media it hands out and those let go again.
class FakeData : public TInterfacedObject<IDataObject> {
public:
    struct Entry {
        CLIPFORMAT format;
        std::string bytes;
    };
    explicit FakeData(std::vector<Entry> entries) : entries_(std::move(entries)) {}

    bool failEnum = false;
    int given = 0, released = 0;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        for (const auto& e : entries_)
            if (e.format == format->cfFormat && (format->tymed & TYMED_HGLOBAL)) {
                medium->tymed = TYMED_HGLOBAL;
                medium->hGlobal = BlockOf(e.bytes);
                medium->pUnkForRelease = new Releaser(this, medium->hGlobal);
                medium->pUnkForRelease->AddRef();
                ++given;
                return S_OK;
            }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override
    {
        *out = nullptr;
        if (failEnum)
            return E_NOTIMPL;
        *out = new Formats(entries_);
        (*out)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    // Frees one medium's block and counts it.
    class Releaser : public TInterfacedObject<IUnknown> {
    public:
        Releaser(FakeData* owner, HGLOBAL block) : owner_(owner), block_(block) {}
        ~Releaser() override
        {
            GlobalFree(block_);
            ++owner_->released;
        }

    private:
        FakeData* owner_;
        HGLOBAL block_;
    };
    class Formats : public TInterfacedObject<IEnumFORMATETC> {
    public:
        explicit Formats(const std::vector<Entry>& entries)
        {
            for (const auto& e : entries)
                formats_.push_back(FORMATETC{e.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        }
        HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override
        {
            ULONG n = 0;
            while (n < count && at_ < formats_.size())
                out[n++] = formats_[at_++];
            if (fetched)
                *fetched = n;
            return n == count ? S_OK : S_FALSE;
        }
        HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE Reset() override
        {
            at_ = 0;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC**) override { return E_NOTIMPL; }

    private:
        std::vector<FORMATETC> formats_;
        size_t at_ = 0;
    };

    std::vector<Entry> entries_;
};

template <class T, class... A>
T* New(A&&... args)
{
    T* p = new T(std::forward<A>(args)...);
    p->AddRef();
    return p;
}

CLIPFORMAT Rtf()
{
    return static_cast<CLIPFORMAT>(RichTextFormat());
}

// ---------------------------------------------------------------------------
// The drag source's enumerator and data object

TEST(SourceEnumerator, ThreeFormatsInOrder)
{
    StartOle();
    TComRef<IEnumFORMATETC> e(New<TSourceEnumFormatEtc>());
    FORMATETC f[4] = {};
    ULONG fetched = 99;
    EXPECT_EQ(e->Next(3, f, &fetched), S_OK);
    EXPECT_EQ(fetched, 3u);
    const CLIPFORMAT expected[3] = {CF_TEXT, CF_UNICODETEXT, Rtf()};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(f[i].cfFormat, expected[i]);
        EXPECT_EQ(f[i].ptd, nullptr);
        EXPECT_EQ(f[i].dwAspect, DWORD(DVASPECT_CONTENT));
        EXPECT_EQ(f[i].lindex, -1);
        EXPECT_EQ(f[i].tymed, DWORD(TYMED_HGLOBAL));
    }
    EXPECT_NE(Rtf(), 0) << "registered before any drag";

    // One at a time, then none left.
    e->Reset();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(e->Next(1, f, &fetched), S_OK);
        EXPECT_EQ(f[0].cfFormat, expected[i]);
    }
    EXPECT_EQ(e->Next(1, f, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);

    // More asked than left: what is left, S_FALSE; no count asked for.
    e->Reset();
    EXPECT_EQ(e->Next(1, f, nullptr), S_OK);
    EXPECT_EQ(e->Next(4, f, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(f[0].cfFormat, CF_UNICODETEXT);
}

TEST(SourceEnumerator, SkipAndClone)
{
    StartOle();
    struct {
        ULONG from, skip;
        HRESULT result;
        CLIPFORMAT next;  // 0: none left
    } cases[] = {
        {0, 0, S_OK, CF_TEXT},    {0, 1, S_OK, CF_UNICODETEXT}, {0, 2, S_OK, Rtf()}, {0, 3, S_OK, 0},
        {0, 4, S_FALSE, 0},       {2, 1, S_OK, 0},              {2, 2, S_FALSE, 0},  {1, 0xFFFFFFFF, S_FALSE, 0},
        {3, 1, S_FALSE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " + " + std::to_string(c.skip));
        TComRef<IEnumFORMATETC> e(New<TSourceEnumFormatEtc>());
        e->Skip(c.from);
        EXPECT_EQ(e->Skip(c.skip), c.result);
        FORMATETC f{};
        ULONG fetched = 0;
        e->Next(1, &f, &fetched);
        EXPECT_EQ(fetched, c.next ? 1u : 0u);
        if (c.next) {
            EXPECT_EQ(f.cfFormat, c.next);
        }
    }

    // A clone goes on from where the original stands, on its own.
    TComRef<IEnumFORMATETC> e(New<TSourceEnumFormatEtc>());
    e->Skip(1);
    TComRef<IEnumFORMATETC> clone;
    ASSERT_EQ(e->Clone(clone.Out()), S_OK);
    FORMATETC f{};
    ASSERT_EQ(clone->Next(1, &f, nullptr), S_OK);
    EXPECT_EQ(f.cfFormat, CF_UNICODETEXT);
    ASSERT_EQ(clone->Next(1, &f, nullptr), S_OK);
    EXPECT_EQ(f.cfFormat, Rtf());
    ASSERT_EQ(e->Next(1, &f, nullptr), S_OK);
    EXPECT_EQ(f.cfFormat, CF_UNICODETEXT) << "the original did not move with its clone";
}

TEST(SourceDataObject, BytesOfTheThreeFormats)
{
    StartOle();
    TComRef<IDataObject> data(New<TSourceDataObject>("Ala\tł", "{\\rtf1 x}"));
    struct {
        CLIPFORMAT format;
        std::string bytes;
    } cases[] = {
        {CF_TEXT, std::string("Ala\t\xB3\0", 6)},
        {CF_UNICODETEXT, std::string("A\0l\0a\0\t\0\x42\x01\0\0", 12)},
        {Rtf(), std::string("{\\rtf1 x}\0", 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        FORMATETC f{c.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        EXPECT_EQ(data->QueryGetData(&f), S_OK);
        STGMEDIUM m;
        memset(&m, 0xCC, sizeof m);
        ASSERT_EQ(data->GetData(&f, &m), S_OK);
        EXPECT_EQ(m.tymed, DWORD(TYMED_HGLOBAL));
        EXPECT_EQ(m.pUnkForRelease, nullptr) << "the receiver owns the block";
        EXPECT_EQ(Hex(BlockBytes(m.hGlobal)), Hex(c.bytes));
        ReleaseStgMedium(&m);
    }

    // An empty text still has its zero.
    TComRef<IDataObject> empty(New<TSourceDataObject>("", ""));
    FORMATETC f{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m{};
    ASSERT_EQ(empty->GetData(&f, &m), S_OK);
    EXPECT_EQ(Hex(BlockBytes(m.hGlobal)), "0000");
    ReleaseStgMedium(&m);
}

TEST(SourceDataObject, RefusedFormatsAndOtherCalls)
{
    StartOle();
    TComRef<IDataObject> data(New<TSourceDataObject>("a", "b"));
    struct {
        const char* name;
        FORMATETC format;
    } refused[] = {
        {"bitmap", {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}},
        {"files", {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}},
        {"icon aspect", {CF_TEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL}},
        {"stream", {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        FORMATETC f = c.format;
        EXPECT_EQ(data->QueryGetData(&f), DV_E_FORMATETC);
        STGMEDIUM m;
        memset(&m, 0xCC, sizeof m);
        EXPECT_EQ(data->GetData(&f, &m), DV_E_FORMATETC);
        EXPECT_EQ(m.tymed, 0u) << "the medium is cleared";
        EXPECT_EQ(m.hGlobal, nullptr);
    }
    FORMATETC either{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL | TYMED_ISTREAM};
    EXPECT_EQ(data->QueryGetData(&either), S_OK) << "global memory among the kinds asked for";

    FORMATETC f{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m{};
    EXPECT_EQ(data->GetDataHere(&f, &m), DV_E_FORMATETC);
    EXPECT_EQ(data->SetData(&f, &m, FALSE), DV_E_FORMATETC);
    FORMATETC out;
    out.ptd = reinterpret_cast<DVTARGETDEVICE*>(1);
    EXPECT_EQ(data->GetCanonicalFormatEtc(&f, &out), E_NOTIMPL);
    EXPECT_EQ(out.ptd, nullptr);
    DWORD connection = 0;
    EXPECT_EQ(data->DAdvise(&f, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->DUnadvise(1), OLE_E_ADVISENOTSUPPORTED);
    IEnumSTATDATA* advises = reinterpret_cast<IEnumSTATDATA*>(1);
    EXPECT_EQ(data->EnumDAdvise(&advises), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(advises, nullptr);
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    EXPECT_EQ(formats, nullptr);
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    formats->Release();
}

// ---------------------------------------------------------------------------
// Reading a dragged data object

TEST(EnumFormats, TextsAndNamesReadWithinTheirBlocks)
{
    StartOle();
    struct {
        const char* name;
        std::string bytes;
        const char* text;
    } texts[] = {
        {"zero inside", std::string("ab\0cd", 5), "ab"},
        {"no zero", "abc", "abc"},
        {"empty block", "", ""},
    };
    for (const auto& c : texts) {
        SCOPED_TRACE(c.name);
        TComRef<FakeData> data(New<FakeData>(std::vector<FakeData::Entry>{{CF_TEXT, c.bytes}}));
        TEnumFormats formats(data.Get());
        EXPECT_EQ(formats.PlainText(), c.text);
        EXPECT_EQ(formats.RichText(), "") << "not offered";
    }

    struct {
        const char* name;
        std::string bytes;
        const char* names;
    } files[] = {
        {"ansi", DropFilesBlock({"c:\\a.csv", "c:\\zażółć.xls"}, false), "c:\\a.csv|c:\\zażółć.xls"},
        {"wide", DropFilesBlock({"c:\\a.csv", "c:\\zażółć.xls"}, true), "c:\\a.csv|c:\\zażółć.xls"},
        {"ansi unclosed", DropFilesBlock({"c:\\a.csv"}, false, false), "c:\\a.csv"},
        {"wide unclosed", DropFilesBlock({"c:\\a.csv"}, true, false), "c:\\a.csv"},
        {"offset past the block", std::string("\xFF\0\0\0", 4) + std::string(16, '\0') + "x", ""},
        {"short header", "ab", ""},
    };
    for (const auto& c : files) {
        SCOPED_TRACE(c.name);
        TComRef<FakeData> data(New<FakeData>(std::vector<FakeData::Entry>{{CF_HDROP, c.bytes}}));
        TEnumFormats formats(data.Get());
        ASSERT_TRUE(formats.HasFiles());
        TStringList names;
        EXPECT_EQ(formats.FileNames(&names), *c.names != 0);
        std::string joined;
        for (int i = 0; i < names.Count(); ++i) {
            if (i > 0)
                joined += '|';
            joined += names.Strings(i);
        }
        EXPECT_EQ(joined, c.names);
    }
}

TEST(EnumFormats, AnObjectWithoutFormatsFailsTheAssertion)
{
    StartOle();
    TComRef<FakeData> data(New<FakeData>(std::vector<FakeData::Entry>{{CF_TEXT, "x"}}));
    data->failEnum = true;
    try {
        TEnumFormats formats(data.Get());
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "Cannot get the format enumerator (ddintf)");
    }
}

// ---------------------------------------------------------------------------
// The grid's drop target

class GridDrop : public testing::Test {
protected:
    void SetUp() override
    {
        StartOle();
        TestForm();
        Application->OnException = TExceptionEvent(this, &GridDrop::Failed);
        grid = MakeGrid(4, 4);
        grid->HandleNeeded();
        target.Reset(New<TGridDropTarget>(grid));
    }
    void TearDown() override
    {
        Application->OnException.Clear();
        AcceptRichTextDrop = true;
        delete grid;
    }
    void Failed(TObject*, Exception& e) { errors.push_back(e.Message()); }

    POINT CellPoint(int col, int row)
    {
        const TRect r = grid->CellRect(col, row);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(grid->Handle(), &p);
        return p;
    }
    // A whole drag over the point: enter, move, drop. Gives the effects of
    // the three steps, joined by "/".
    std::string Drag(IDataObject* data, POINT at, DWORD keys = MK_LBUTTON,
                     DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE)
    {
        const POINTL p{at.x, at.y};
        DWORD enter = allowed, over = allowed, drop = allowed;
        EXPECT_EQ(target->DragEnter(data, keys, p, &enter), S_OK);
        EXPECT_EQ(target->DragOver(keys, p, &over), S_OK);
        EXPECT_EQ(target->Drop(data, keys & ~MK_LBUTTON, p, &drop), S_OK);
        return std::to_string(enter) + "/" + std::to_string(over) + "/" + std::to_string(drop);
    }
    std::string Cells()
    {
        std::string s;
        for (int r = 1; r < grid->RowCount(); ++r)
            for (int c = 1; c < grid->ColCount(); ++c)
                s += grid->Cells(c, r) + (c + 1 < grid->ColCount() ? "|" : r + 1 < grid->RowCount() ? "/" : "");
        return s;
    }

    TAdvStringGrid* grid = nullptr;
    TComRef<TGridDropTarget> target;
    std::vector<std::string> errors;
    TempFolder folder;
};

TEST_F(GridDrop, TextAndRichText)
{
    const std::string rtf = "{\\rtf1 a\tb}";
    struct {
        const char* name;
        std::vector<FakeData::Entry> data;
        bool acceptRich;
        const char* cells;
    } cases[] = {
        {"text pasted from the cell", {{CF_TEXT, "1\t2\r\n3\t4\r\n"}}, true, "||/|1|2/|3|4"},
        {"rich text whole into the cell", {{CF_TEXT, "x\ty"}, {Rtf(), rtf}}, true, "||/|{\\rtf1 a\tb}|/||"},
        {"rich text not taken: the text", {{CF_TEXT, "x\ty"}, {Rtf(), rtf}}, false, "||/|x|y/||"},
        {"only rich text, not taken", {{Rtf(), rtf}}, false, "||/||/||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int r = 0; r < 4; ++r)
            for (int col = 0; col < 4; ++col)
                grid->SetCells(col, r, "");
        grid->SetOleDropRTF(c.acceptRich);
        EXPECT_EQ(AcceptRichTextDrop, c.acceptRich);
        TComRef<FakeData> data(New<FakeData>(c.data));
        Drag(data.Get(), CellPoint(2, 2));
        EXPECT_EQ(Cells(), c.cells);
        EXPECT_EQ(data->released, data->given) << "every medium let go";
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(GridDrop, OutsideTheCellsNothingIsPasted)
{
    TComRef<FakeData> data(New<FakeData>(std::vector<FakeData::Entry>{{CF_TEXT, "x"}}));
    const TRect last = grid->CellRect(3, 3);
    POINT right{last.right + 20, last.top + 2}, below{last.left + 2, last.bottom + 20};
    ClientToScreen(grid->Handle(), &right);
    ClientToScreen(grid->Handle(), &below);
    Drag(data.Get(), right);
    Drag(data.Get(), below);
    EXPECT_EQ(Cells(), "||/||/||");
    EXPECT_EQ(grid->Cells(0, 0), "");
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(data->released, data->given);
}

TEST_F(GridDrop, FilesByTheirEnding)
{
    const std::string csv = "7;8\r\n";
    struct {
        const char* name;
        std::vector<std::string> files;
        const char* cells;
        const char* error;
    } cases[] = {
        // Loaded after the fixed cells, as many rows as lines.
        {"csv", {"dane.csv"}, "7|8|", ""},
        {"CSV", {"DANE.CSV"}, "7|8|", ""},
        {"mixed case", {"dane.Csv"}, "||/||/||", ""},
        {"two files", {"a.csv", "b.csv"}, "||/||/||", ""},
        {"other", {"dane.txt"}, "||/||/||", ""},
        {"csv inside the name", {"dane.csv.txt"}, "||/||/||", ""},
        // Only the worksheet import runs, and no spreadsheet program is
        // there: its error reaches the user, the drop answers.
        {"worksheet ending", {"a.csv.xls"}, "||/||/||", "Excel OLE server not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        delete grid;
        grid = MakeGrid(4, 4);
        grid->HandleNeeded();
        target.Reset(New<TGridDropTarget>(grid));
        std::vector<std::string> paths;
        for (const auto& f : c.files) {
            paths.push_back(folder.Path() + f);
            WriteWholeFile(paths.back(), csv);
        }
        TComRef<FakeData> data(New<FakeData>(std::vector<FakeData::Entry>{{CF_HDROP, DropFilesBlock(paths, true)}}));
        const std::string effects = Drag(data.Get(), CellPoint(2, 2));
        EXPECT_EQ(Cells(), c.cells);
        EXPECT_EQ(errors.empty() ? "" : errors.front(), c.error);
        EXPECT_EQ(effects, *c.error ? "1/1/0" : "1/1/1") << "files are copied; a failed import takes nothing";
        EXPECT_EQ(data->released, data->given);
    }
}

TEST_F(GridDrop, Effects)
{
    const DWORD copy = DROPEFFECT_COPY, move = DROPEFFECT_MOVE, both = copy | move;
    struct {
        const char* name;
        CLIPFORMAT format;
        DWORD keys, allowed;
        DWORD effect;  // of each step
    } cases[] = {
        {"text", CF_TEXT, MK_LBUTTON, both, move},
        {"text with Ctrl", CF_TEXT, MK_LBUTTON | MK_CONTROL, both, copy},
        {"text, only copy allowed", CF_TEXT, MK_LBUTTON, copy, copy},
        {"text with Ctrl, only move allowed", CF_TEXT, MK_LBUTTON | MK_CONTROL, move, move},
        {"text, nothing allowed", CF_TEXT, MK_LBUTTON, DROPEFFECT_NONE, DROPEFFECT_NONE},
        {"files", CF_HDROP, MK_LBUTTON, both, copy},
        {"files with Ctrl", CF_HDROP, MK_LBUTTON | MK_CONTROL, both, copy},
        {"files, only move allowed", CF_HDROP, MK_LBUTTON, move, DROPEFFECT_NONE},
        {"a bitmap", CF_BITMAP, MK_LBUTTON, both, DROPEFFECT_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = c.format == CF_HDROP ? DropFilesBlock({folder.Path() + "brak.txt"}, false) : "x";
        TComRef<FakeData> data(New<FakeData>(std::vector<FakeData::Entry>{{c.format, bytes}}));
        const std::string e = std::to_string(c.effect);
        EXPECT_EQ(Drag(data.Get(), CellPoint(1, 1), c.keys, c.allowed), e + "/" + e + "/" + e);
    }
}

TEST_F(GridDrop, AnObjectWithoutFormatsIsNotTaken)
{
    TComRef<FakeData> data(New<FakeData>(std::vector<FakeData::Entry>{{CF_TEXT, "x"}}));
    data->failEnum = true;
    EXPECT_EQ(Drag(data.Get(), CellPoint(1, 1)), "0/0/0");
    EXPECT_EQ(Cells(), "||/||/||");
    EXPECT_TRUE(errors.empty());

    // Accepted at the entry, failing at the drop.
    data->failEnum = false;
    const POINTL p{CellPoint(1, 1).x, CellPoint(1, 1).y};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, p, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
    data->failEnum = true;
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(data.Get(), 0, p, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(Cells(), "||/||/||");
}

TEST_F(GridDrop, RegisteredWhileTheWindowExists)
{
    // Whether a drop target is registered for the window: another
    // registration is refused then (and one that succeeds is taken back).
    auto registered = [](HWND wnd) {
        TComRef<TDropTarget> probe(New<TDropTarget>());
        const HRESULT hr = RegisterDragDrop(wnd, probe.Get());
        if (hr == S_OK)
            RevokeDragDrop(wnd);
        return hr == DRAGDROP_E_ALREADYREGISTERED;
    };
    EXPECT_FALSE(registered(grid->Handle()));
    grid->SetOleDropTarget(true);
    EXPECT_TRUE(registered(grid->Handle()));

    grid->RecreateWnd();
    ASSERT_TRUE(grid->HandleAllocated());
    EXPECT_TRUE(registered(grid->Handle())) << "again after a re-creation";

    grid->SetOleDropTarget(false);
    EXPECT_FALSE(registered(grid->Handle()));
    grid->SetOleDropTarget(true);
    EXPECT_TRUE(registered(grid->Handle()));

    // Set before the window exists: registered when it is made.
    auto* later = new TAdvStringGrid(TestForm());
    later->SetOleDropTarget(true);
    later->SetBounds(10, 10, 100, 100);
    later->SetParent(TestForm());
    later->HandleNeeded();
    EXPECT_TRUE(registered(later->Handle()));
    const HWND wnd = later->Handle();
    delete later;
    EXPECT_FALSE(IsWindow(wnd));
}

// ---------------------------------------------------------------------------
// A drag from the grid, the system's drag loop replaced

struct Offered {
    int calls = 0;
    DWORD allowed = 0;
    std::string text, rich;
};
Offered offered;

std::string Take(IDataObject* data, CLIPFORMAT format)
{
    FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM m{};
    if (data->GetData(&f, &m) != S_OK)
        return "?";
    const std::string s = TextOfGlobal(m.hGlobal);
    ReleaseStgMedium(&m);
    return s;
}

HRESULT STDAPICALLTYPE RecordingLoop(IDataObject* data, IDropSource*, DWORD allowed, DWORD* effect)
{
    ++offered.calls;
    offered.allowed = allowed;
    offered.text = Take(data, CF_TEXT);
    offered.rich = Take(data, Rtf());
    *effect = DROPEFFECT_COPY;
    return DRAGDROP_S_DROP;
}

// The press handling's entry to a drag, open to the test.
class TDragGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    using TAdvStringGrid::TryStartOleDrag;
};

TEST_F(GridDrop, APressOnACellEdgeInTheSelectionStartsADrag)
{
    delete grid;
    auto* dragGrid = new TDragGrid(TestForm());
    grid = dragGrid;
    grid->SetBounds(10, 10, 400, 300);
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetParent(TestForm());
    grid->SetCells(1, 1, "a");
    grid->SetCells(2, 1, "b");
    grid->SetCells(1, 2, "c");
    grid->SetCells(2, 2, "d");
    grid->SetSelection(TGridRect{1, 1, 2, 2});
    const TRect r = grid->CellRect(2, 2);
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    struct {
        const char* name;
        bool source;
        int col, row, x, y;
        bool started;
    } cases[] = {
        {"left edge", true, 2, 2, r.left, midY, true},
        {"one pixel in from the left", true, 2, 2, r.left + 1, midY, true},
        {"two pixels in", true, 2, 2, r.left + 2, midY, false},
        {"right edge", true, 2, 2, r.right - 1, midY, true},
        {"top edge", true, 2, 2, midX, r.top, true},
        {"bottom edge", true, 2, 2, midX, r.bottom - 1, true},
        {"middle", true, 2, 2, midX, midY, false},
        {"not a drag source", false, 2, 2, r.left, midY, false},
        {"outside the selection", true, 3, 3, grid->CellRect(3, 3).left, grid->CellRect(3, 3).top + 5, false},
    };
    const TDragLoop old = SetDragLoop(&RecordingLoop);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        offered = Offered{};
        grid->SetOleDropSource(c.source);
        EXPECT_EQ(dragGrid->TryStartOleDrag(c.col, c.row, c.x, c.y), c.started);
        EXPECT_EQ(offered.calls, c.started ? 1 : 0);
    }
    offered = Offered{};
    grid->SetOleDropSource(true);
    ASSERT_TRUE(dragGrid->TryStartOleDrag(2, 2, r.left, midY));
    SetDragLoop(old);
    EXPECT_EQ(offered.allowed, DWORD(DROPEFFECT_COPY | DROPEFFECT_MOVE));
    EXPECT_EQ(offered.text, grid->SelectionAsText());
    EXPECT_EQ(offered.text.substr(0, 9), "a\tb\r\nc\td");
    EXPECT_EQ(offered.rich, "d") << "the pressed cell's text";
}

TEST(DropSource, ButtonsAndEscape)
{
    TComRef<IDropSource> source(New<TDropSource>());
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON | MK_CONTROL), S_OK);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_MOVE), DRAGDROP_S_USEDEFAULTCURSORS);
}

// ---------------------------------------------------------------------------
// OLE's start

HRESULT oleAnswer;
HRESULT STDAPICALLTYPE FakeOleInitialize(LPVOID)
{
    return oleAnswer;
}

TEST(AdvGridOle, AFailedStartStopsWithItsCode)
{
    const TOleStart old = SetOleStart(&FakeOleInitialize);
    oleAnswer = S_FALSE;
    EXPECT_NO_THROW(StartAdvGridOle()) << "already started on this thread";
    oleAnswer = RPC_E_CHANGED_MODE;
    try {
        StartAdvGridOle();
        ADD_FAILURE() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "OleInitialize failed ($80010106) (AdvGrid)");
    }
    SetOleStart(old);
}

} // namespace
