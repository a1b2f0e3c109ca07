#include "grid/AdvTransfer.h"

#include "classlib/SysUtils.h"

TLineReader::TLineReader(std::string_view text)
{
    const size_t zero = text.find('\0');
    text_ = zero == std::string_view::npos ? text : text.substr(0, zero);
}

bool TLineReader::Next(std::string_view& line)
{
    if (pos_ >= text_.size())
        return false;
    const size_t end = text_.find('\r', pos_);
    if (end == std::string_view::npos) {
        line = text_.substr(pos_);
        pos_ = text_.size();
        return true;
    }
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
    return true;
}

void MeasureLines(std::string_view text, char Sep, int& Lines, int& Fields)
{
    Lines = 0;
    Fields = 0;
    TLineReader reader(text);
    std::string_view line;
    while (reader.Next(line)) {
        ++Lines;
        int n = 1;
        for (char c : line)
            n += c == Sep;
        if (n > Fields)
            Fields = n;
    }
}

void SplitAt(std::string_view line, char Sep, std::vector<std::string_view>& fields)
{
    fields.clear();
    size_t pos = 0;
    for (;;) {
        const size_t end = line.find(Sep, pos);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(pos));
            return;
        }
        fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
}

namespace {

// Reads the enclosed field that starts at pos (on its opening quote) into
// field; gives the position after its closing quote, or the line's end.
size_t ReadQuoted(std::string_view line, size_t pos, std::string& field)
{
    size_t p = pos + 1;
    for (;;) {
        const size_t q = line.find('"', p);
        if (q == std::string_view::npos) {
            field.append(line.substr(p));
            return line.size();
        }
        field.append(line.substr(p, q - p));
        if (q + 1 < line.size() && line[q + 1] == '"') {
            field += '"';
            p = q + 2;
            continue;
        }
        return q + 1;
    }
}

// Walks the fields of a CSV line, handing each to take; gives the number of
// separators between them.
template <class Take>
int WalkCSVLine(std::string_view line, char Sep, Take take)
{
    int separators = 0;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t sep;
        if (line[pos] == '"') {
            std::string field;
            sep = line.find(Sep, ReadQuoted(line, pos, field));
            take(std::move(field));
        } else {
            sep = line.find(Sep, pos);
            take(std::string(line.substr(pos, sep == std::string_view::npos ? std::string_view::npos : sep - pos)));
        }
        if (sep == std::string_view::npos)
            break;
        ++separators;
        pos = sep + 1;
    }
    return separators;
}

} // namespace

int CountSeparators(std::string_view line, char Sep)
{
    return WalkCSVLine(line, Sep, [](std::string&&) {});
}

char DetectCSVSeparator(std::string_view first, std::string_view second, bool hasSecond)
{
    static const char candidates[] = {',', ';', '#', '\t', '|'};
    char taken = 0;
    int highest = 0;
    for (char c : candidates) {
        const int n = CountSeparators(first, c);
        if (hasSecond && CountSeparators(second, c) != n)
            continue;
        if (n > highest) {
            highest = n;
            taken = c;
        }
    }
    return taken;
}

void SplitCSVLine(std::string_view line, char Sep, std::vector<std::string>& fields)
{
    fields.clear();
    if (Sep == 0) {
        // No separator: the line is one field, kept whole. An enclosed one
        // loses its opening quote and a closing quote at the very end, and
        // its doubled quotes stand for one; the rest stays as written.
        if (line.empty())
            return;
        std::string field(line);
        if (field.front() == '"') {
            field.erase(0, 1);
            if (!field.empty() && field.back() == '"')
                field.pop_back();
            for (size_t q = field.find("\"\""); q != std::string::npos; q = field.find("\"\"", q + 1))
                field.erase(q, 1);
        }
        fields.push_back(std::move(field));
        return;
    }
    WalkCSVLine(line, Sep, [&](std::string&& field) { fields.push_back(std::move(field)); });
}

bool ParseCellAddress(std::string_view address, int& Col, int& Row)
{
    std::string s;
    for (char c : address)
        if (c != '$')
            s += c;
    size_t i = 0;
    long long col = 0, row = 0;
    for (; i < s.size() && ((s[i] >= 'A' && s[i] <= 'Z') || (s[i] >= 'a' && s[i] <= 'z')); ++i) {
        col = col * 26 + ((s[i] | 0x20) - 'a' + 1);
        if (col > 1000000)
            return false;
    }
    const size_t digits = i;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        row = row * 10 + (s[i] - '0');
        if (row > 100000000)
            return false;
    }
    if (digits == 0 || i == digits || i != s.size() || row == 0)
        return false;
    Col = static_cast<int>(col);
    Row = static_cast<int>(row);
    return true;
}

bool ParseRangeAddress(std::string_view address, int& Col1, int& Row1, int& Col2, int& Row2)
{
    const size_t colon = address.find(':');
    if (colon == std::string_view::npos) {
        if (!ParseCellAddress(address, Col1, Row1))
            return false;
        Col2 = Col1;
        Row2 = Row1;
        return true;
    }
    return ParseCellAddress(address.substr(0, colon), Col1, Row1) &&
           ParseCellAddress(address.substr(colon + 1), Col2, Row2) && Col1 <= Col2 && Row1 <= Row2;
}

std::string ColumnName(int Col)
{
    std::string name;
    for (; Col > 0; Col = (Col - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (Col - 1) % 26));
    return name;
}

namespace {

BOOL ReadBlock(HANDLE file, void* buffer, DWORD size, DWORD* read)
{
    return ReadFile(file, buffer, size, read, nullptr);
}

TFileLineReader::TBlockReader blockReader = &ReadBlock;

} // namespace

TFileLineReader::TBlockReader TFileLineReader::SetBlockReader(TBlockReader reader)
{
    const TBlockReader old = blockReader;
    blockReader = reader ? reader : &ReadBlock;
    return old;
}

bool TFileLineReader::Next(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (pos_ >= buffer_.size() && !Fill())
            return any;
        any = true;
        const size_t cr = buffer_.find('\r', pos_);
        if (cr == std::string::npos) {
            line.append(buffer_, pos_, std::string::npos);
            pos_ = buffer_.size();
            continue;
        }
        line.append(buffer_, pos_, cr - pos_);
        pos_ = cr + 1;
        if ((pos_ < buffer_.size() || Fill()) && buffer_[pos_] == '\n')
            ++pos_;
        return true;
    }
}

void TFileLineReader::Rewind()
{
    SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
    buffer_.clear();
    pos_ = 0;
}

bool TFileLineReader::Fill()
{
    buffer_.erase(0, pos_);
    pos_ = 0;
    const size_t old = buffer_.size();
    buffer_.resize(old + BlockSize);
    DWORD read = 0;
    if (!blockReader(file_, buffer_.data() + old, BlockSize, &read)) {
        const DWORD error = GetLastError();
        buffer_.resize(old);
        throw EInOutError(error);
    }
    buffer_.resize(old + read);
    return read > 0;
}
