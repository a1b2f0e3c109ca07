// A stand-in for a spreadsheet program's automation server, in process, for
// the worksheet import's tests: it answers the few calls the import makes
// from a table and records what it was asked.
//
// The "workbook" is a text file: its first line is what the used range's
// address reads as ("!fail" makes Open fail), the following lines are the
// sheet's rows from row 1, cells separated by TAB; a cell "#n:3.5" is a
// number, an empty cell is empty, anything else a text (code page 1250).
// Each call worth checking is appended as a line to the file that the
// environment variable QMX_FAKESHEET_LOG names: "Open <name>",
// "Close SaveChanges=<False|True|none>", "Quit", "Released".
#include <windows.h>
#include <oaidl.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const CLSID FakeSheetClsid = {0x5a2c7e31, 0x8d4b, 0x4c1e, {0x9f, 0x63, 0x2b, 0x7d, 0x0a, 0x1e, 0x4c, 0x95}};
constexpr DISPID SaveChangesId = 100;

void Log(const std::string& line)
{
    // The test sets the variable after the program started: asked of the
    // system, not of the C library's copy.
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("QMX_FAKESHEET_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    std::ofstream out(path, std::ios::app | std::ios::binary);
    out << line << "\n";
}

std::string Narrow(BSTR text)
{
    if (!text)
        return {};
    const int n = WideCharToMultiByte(1250, 0, text, static_cast<int>(SysStringLen(text)), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(1250, 0, text, static_cast<int>(SysStringLen(text)), s.data(), n, nullptr, nullptr);
    return s;
}

BSTR Wide(const std::string& text)
{
    const int n = MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR s = SysAllocStringLen(nullptr, n);
    MultiByteToWideChar(1250, 0, text.data(), static_cast<int>(text.size()), s, n);
    return s;
}

struct Sheet {
    std::string address;
    std::vector<std::vector<std::string>> rows;
};

// "C4" as column 3, row 4; false when it does not read.
bool CellOf(const std::string& name, int& col, int& row)
{
    col = row = 0;
    size_t i = 0;
    for (; i < name.size() && name[i] >= 'A' && name[i] <= 'Z'; ++i)
        col = col * 26 + (name[i] - 'A' + 1);
    const size_t letters = i;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
        row = row * 10 + (name[i] - '0');
    return letters > 0 && i > letters && i == name.size();
}

void SetCellValue(const Sheet& sheet, int col, int row, VARIANT& v)
{
    VariantInit(&v);
    if (row < 1 || row > static_cast<int>(sheet.rows.size()))
        return;
    const auto& cells = sheet.rows[row - 1];
    if (col < 1 || col > static_cast<int>(cells.size()) || cells[col - 1].empty())
        return;
    const std::string& text = cells[col - 1];
    if (text.rfind("#n:", 0) == 0) {
        v.vt = VT_R8;
        v.dblVal = std::strtod(text.c_str() + 3, nullptr);
        return;
    }
    v.vt = VT_BSTR;
    v.bstrVal = Wide(text);
}

// An automation object answering by member names (without regard to case).
class FakeObject : public IDispatch {
public:
    explicit FakeObject(std::map<std::string, DISPID> members) : members_(std::move(members)) {}
    virtual ~FakeObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --refs_;
        if (n == 0) {
            Released();
            delete this;
        }
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) {
            std::string name;
            for (const wchar_t* p = names[i]; *p; ++p)
                name += static_cast<char>(*p >= L'A' && *p <= L'Z' ? *p - L'A' + L'a' : *p);
            const auto it = members_.find(name);
            if (i > 0 && name == "savechanges")
                ids[i] = SaveChangesId;
            else if (it != members_.end())
                ids[i] = it->second;
            else {
                ids[i] = DISPID_UNKNOWN;
                result = DISP_E_UNKNOWNNAME;
            }
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override
    {
        VARIANT scratch;
        VariantInit(&scratch);
        return Call(id, *params, result ? *result : scratch, info);
    }

protected:
    virtual HRESULT Call(DISPID id, const DISPPARAMS& params, VARIANT& result, EXCEPINFO* info) = 0;
    virtual void Released() {}
    static void Return(VARIANT& result, IDispatch* object)
    {
        VariantInit(&result);
        result.vt = VT_DISPATCH;
        result.pdispVal = object;
    }

private:
    std::map<std::string, DISPID> members_;
    ULONG refs_ = 1;
};

// A positional argument's text (arguments come last first, after the named ones).
std::string TextArg(const DISPPARAMS& params, UINT index)
{
    const UINT position = params.cArgs - params.cNamedArgs - 1 - index;
    if (index >= params.cArgs - params.cNamedArgs)
        return {};
    VARIANT text;
    VariantInit(&text);
    std::string s;
    if (SUCCEEDED(VariantChangeType(&text, &params.rgvarg[position], 0, VT_BSTR)))
        s = Narrow(text.bstrVal);
    VariantClear(&text);
    return s;
}

class Range : public FakeObject {
public:
    Range(const Sheet* sheet, int c1, int r1, int c2, int r2, std::string address)
        : FakeObject({{"address", 1}, {"value", 2}}), sheet_(sheet), c1_(c1), r1_(r1), c2_(c2), r2_(r2),
          address_(std::move(address))
    {
    }

protected:
    HRESULT Call(DISPID id, const DISPPARAMS&, VARIANT& result, EXCEPINFO*) override
    {
        VariantInit(&result);
        if (id == 1) {
            result.vt = VT_BSTR;
            result.bstrVal = Wide(address_);
            return S_OK;
        }
        if (c1_ == c2_ && r1_ == r2_) {
            SetCellValue(*sheet_, c1_, r1_, result);
            return S_OK;
        }
        SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(r2_ - r1_ + 1), 1}, {static_cast<ULONG>(c2_ - c1_ + 1), 1}};
        SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
        for (int r = r1_; r <= r2_; ++r)
            for (int c = c1_; c <= c2_; ++c) {
                LONG index[2] = {r - r1_ + 1, c - c1_ + 1};
                VARIANT v;
                SetCellValue(*sheet_, c, r, v);
                SafeArrayPutElement(array, index, &v);
                VariantClear(&v);
            }
        result.vt = VT_ARRAY | VT_VARIANT;
        result.parray = array;
        return S_OK;
    }

private:
    const Sheet* sheet_;
    int c1_, r1_, c2_, r2_;
    std::string address_;
};

class Worksheet : public FakeObject {
public:
    explicit Worksheet(const Sheet* sheet) : FakeObject({{"usedrange", 1}, {"range", 2}}), sheet_(sheet) {}

protected:
    HRESULT Call(DISPID id, const DISPPARAMS& params, VARIANT& result, EXCEPINFO*) override
    {
        if (id == 1) {
            Return(result, new Range(sheet_, 0, 0, 0, 0, sheet_->address));
            return S_OK;
        }
        int c1, r1, c2, r2;
        if (!CellOf(TextArg(params, 0), c1, r1) || !CellOf(TextArg(params, 1), c2, r2))
            return DISP_E_BADPARAMCOUNT;
        Log("Range " + TextArg(params, 0) + ":" + TextArg(params, 1));
        Return(result, new Range(sheet_, c1, r1, c2, r2, {}));
        return S_OK;
    }

private:
    const Sheet* sheet_;
};

class Workbook : public FakeObject {
public:
    explicit Workbook(Sheet sheet) : FakeObject({{"activesheet", 1}, {"close", 2}}), sheet_(std::move(sheet)) {}

protected:
    HRESULT Call(DISPID id, const DISPPARAMS& params, VARIANT& result, EXCEPINFO*) override
    {
        if (id == 1) {
            AddRef();  // the sheet reads the book's table
            Return(result, new SheetOfBook(this));
            return S_OK;
        }
        std::string save = "none";
        for (UINT i = 0; i < params.cNamedArgs; ++i)
            if (params.rgdispidNamedArgs[i] == SaveChangesId)
                save = params.rgvarg[i].vt == VT_BOOL && params.rgvarg[i].boolVal ? "True" : "False";
        Log("Close SaveChanges=" + save);
        VariantInit(&result);
        return S_OK;
    }

private:
    // A worksheet that keeps its book alive.
    class SheetOfBook : public Worksheet {
    public:
        explicit SheetOfBook(Workbook* book) : Worksheet(&book->sheet_), book_(book) {}
        ~SheetOfBook() override { book_->Release(); }

    private:
        Workbook* book_;
    };
    Sheet sheet_;
};

class Workbooks : public FakeObject {
public:
    Workbooks() : FakeObject({{"open", 1}}) {}

protected:
    HRESULT Call(DISPID, const DISPPARAMS& params, VARIANT& result, EXCEPINFO* info) override
    {
        const std::string name = TextArg(params, 0);
        Log("Open " + name);
        std::ifstream in(name, std::ios::binary);
        Sheet sheet;
        std::string line;
        if (!in || !std::getline(in, line) || line == "!fail") {
            if (info) {
                *info = EXCEPINFO{};
                info->scode = E_FAIL;
                info->bstrDescription = Wide("Cannot open " + name);
            }
            return DISP_E_EXCEPTION;
        }
        sheet.address = line;
        while (std::getline(in, line)) {
            std::vector<std::string> cells;
            std::stringstream fields(line);
            std::string cell;
            while (std::getline(fields, cell, '\t'))
                cells.push_back(cell);
            sheet.rows.push_back(cells);
        }
        Return(result, new Workbook(std::move(sheet)));
        return S_OK;
    }
};

class Application : public FakeObject {
public:
    Application() : FakeObject({{"workbooks", 1}, {"quit", 2}}) {}

protected:
    HRESULT Call(DISPID id, const DISPPARAMS&, VARIANT& result, EXCEPINFO*) override
    {
        if (id == 1) {
            Return(result, new Workbooks);
            return S_OK;
        }
        Log("Quit");
        VariantInit(&result);
        return S_OK;
    }
    void Released() override { Log("Released"); }
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* app = new Application;
        const HRESULT hr = app->QueryInterface(riid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;

} // namespace

extern "C" HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (clsid != FakeSheetClsid) {
        *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return factory.QueryInterface(riid, out);
}

extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}
