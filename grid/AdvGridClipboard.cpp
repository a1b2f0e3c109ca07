// The grid and the clipboard: copy, cut and paste of cell ranges as plain
// text (and one cell as rich text), the text paste that drag and drop share,
// and the smart paste that fills a selection or a series.
#include "grid/AdvGrid.h"

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "classlib/RichEdit.h"
#include "grid/AdvTransfer.h"
#include "grid/AdvUtil.h"
#include "grid/ddintf.h"

namespace {

bool HasRichText(const std::string& text)
{
    return text.find("{\\") != std::string::npos;
}

bool HasChar(const std::string& s, char c)
{
    return s.find(c) != std::string::npos;
}

} // namespace

// ---------------------------------------------------------------------------
// Writing many cells

void TAdvStringGrid::BulkWrite(int col, int row, const std::string& text)
{
    StoreCellText(col, row, text);
}

void TAdvStringGrid::EndBulkWrite()
{
    Invalidate();
    InvalidateEditor();
}

// ---------------------------------------------------------------------------
// Copy

std::string TAdvStringGrid::RichPlainText(int col, int row)
{
    LoadRichText(col, row, richEdit_);
    std::string text = richEdit_->Lines()->Text();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string TAdvStringGrid::RangeAsText(const TGridRect& r)
{
    // Built as it goes: quoting and rich text's plain text change the
    // lengths, so nothing is sized from the cells beforehand.
    std::string text;
    for (int row = r.Top; row <= r.Bottom; ++row) {
        if (row > r.Top)
            text += "\r\n";
        for (int col = r.Left; col <= r.Right; ++col) {
            if (col > r.Left)
                text += '\t';
            std::string cell = Cells(col, row);
            if (HasRichText(cell))
                cell = RichPlainText(col, row);
            if (quoteMultiLineCells_ && LineCount(cell, multilinecells_) > 1)
                QuoteMultiLine(cell);
            text += cell;
        }
    }
    return text;
}

std::string TAdvStringGrid::SelectionAsText()
{
    return RangeAsText(Selection());
}

void TAdvStringGrid::CopyCellRTF(int Col, int Row)
{
    const std::string text = Cells(Col, Row);
    if (!HasRichText(text))
        return;
    try {
        Clipboard()->AddAsBytes(RichTextFormat(), text);
    } catch (const EClipboardException&) {
        // Another program holds the clipboard: the plain text stands alone.
    }
}

void TAdvStringGrid::CopyRangeToClipboard(TGridRect Rect)
{
    copyOrigin_ = TGridCoord{Rect.Left, Rect.Top};
    const std::string text = RangeAsText(Rect);
    TClipboard* clipboard = Clipboard();
    clipboard->Open();
    try {
        clipboard->SetAsText(text);
        if (navigation_->AllowRTFClipboard)
            CopyCellRTF(Rect.Left, Rect.Top);
    } catch (...) {
        clipboard->Close();
        throw;
    }
    clipboard->Close();
}

void TAdvStringGrid::CopySelectionToClipboard()
{
    CopyRangeToClipboard(Selection());
}

void TAdvStringGrid::CutSelectionToClipboard()
{
    CopySelectionToClipboard();
    const TGridRect s = Selection();
    for (int col = s.Left; col <= s.Right; ++col)
        for (int row = s.Top; row <= s.Bottom; ++row)
            if (CanEditCell(col, row))
                SetCells(col, row, "");
}

// ---------------------------------------------------------------------------
// Paste

int TAdvStringGrid::PasteFromClipboardAt(int Col, int Row)
{
    TClipboard* clipboard = Clipboard();
    if (navigation_->AllowRTFClipboard && clipboard->HasFormat(RichTextFormat())) {
        std::string rtf = clipboard->GetAsBytes(RichTextFormat());
        rtf.resize(std::min(rtf.size(), rtf.find('\0')));
        if (CanEditCell(Col, Row))
            SetCells(Col, Row, rtf);
        return 0;
    }
    if (!clipboard->HasFormat(CF_TEXT))
        return 0;
    return PasteText(Col, Row, clipboard->GetAsText());
}

int TAdvStringGrid::PasteText(int Col, int Row, const std::string& Text)
{
    if (Col < 0 || Row < 0)
        return 0;
    int lines = 0, fields = 0;
    MeasureLines(Text, '\t', lines, fields);
    // Grown once to the size the paste reaches: growing row by row would
    // touch every row again for each one added.
    if (lines > 0) {
        if (Col + fields > ColCount())
            SetColCount(Col + fields);
        if (Row + lines > RowCount())
            SetRowCount(Row + lines);
    }
    TLineReader reader(Text);
    std::string_view line;
    std::vector<std::string_view> parts;
    int row = Row, count = 0, lastCol = Col - 1;
    while (reader.Next(line)) {
        SplitAt(line, '\t', parts);
        int col = Col;
        for (std::string_view part : parts) {
            std::string text(part);
            if (quoteMultiLineCells_ && HasChar(text, '\n')) {
                if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
                    text = text.substr(1, text.size() - 2);
                LFToCRLF(text);
            }
            if (CanEditCell(col, row))
                BulkWrite(col, row, text);
            ++count;
            lastCol = std::max(lastCol, col);
            ++col;
        }
        ++row;
    }
    if (count > 0)
        EndBulkWrite();
    PasteDone(copyOrigin_, TGridRect{Col, Row, lastCol, row - 1});
    return count;
}

void TAdvStringGrid::PasteSelectionFromClipboard()
{
    const TGridRect s = Selection();
    const int pasted = PasteFromClipboardAt(s.Left, s.Top);
    if (navigation_->AllowSmartClipboard)
        SmartPaste(pasted);
}

void TAdvStringGrid::SmartPaste(int pasted)
{
    const TGridRect s = Selection();
    const bool oneCell = s.Left == s.Right && s.Top == s.Bottom;
    if (pasted == 1 && !oneCell) {
        const std::string value = Cells(s.Left, s.Top);
        for (int col = s.Left; col <= s.Right; ++col)
            for (int row = s.Top; row <= s.Bottom; ++row)
                if (CanEditCell(col, row))
                    SetCells(col, row, value);
        return;
    }
    // A single cell holds no series: its one value is already in place.
    if (pasted != 2 || oneCell || (s.Left != s.Right && s.Top != s.Bottom))
        return;
    const bool column = s.Left == s.Right;
    FillSeries(s, Cells(s.Left, s.Top), column ? Cells(s.Left, s.Top + 1) : Cells(s.Left + 1, s.Top));
}

void TAdvStringGrid::FillSeries(const TGridRect& s, const std::string& a, const std::string& b)
{
    const TFormatSettings& fs = FormatSettings();
    // The cells of the selection in order, each given the value's text; the
    // value advances between cells (also past a refused one), never after
    // the last, so a step beyond the selection cannot fail the fill.
    auto fill = [&](auto text, auto advance) {
        bool first = true;
        for (int col = s.Left; col <= s.Right; ++col)
            for (int row = s.Top; row <= s.Bottom; ++row) {
                if (!first)
                    advance();
                first = false;
                if (CanEditCell(col, row))
                    SetCells(col, row, text());
            }
    };
    const auto dated = [&](const std::string& t) { return HasChar(t, fs.DateSeparator) || HasChar(t, fs.TimeSeparator); };
    if (dated(a) && dated(b)) {
        const TDateTime first = StrToDateTime(a);
        const TDateTime second = StrToDateTime(b);
        int y1, m1, d1, y2, m2, d2;
        DecodeDate(first, y1, m1, d1);
        DecodeDate(second, y2, m2, d2);
        const bool asDate = HasChar(a, fs.DateSeparator);
        TDateTime value = first;
        fill([&] { return asDate ? DateToStr(value) : TimeToStr(value); },
             [&] { value = NextSeriesDate(y2 - y1, m2 - m1, d2 - d1, second - first, value); });
        return;
    }
    if (HasChar(a, fs.DecimalSeparator) || HasChar(b, fs.DecimalSeparator)) {
        const double first = StrToFloat(a);
        const double step = StrToFloat(b) - first;
        double value = first;
        fill([&] { return FloatToStr(value); }, [&] { value += step; });
        return;
    }
    int first = 0, second = 0;
    if (!TryStrToInt(a, first) || !TryStrToInt(b, second))
        return;
    long long value = first;
    const long long step = static_cast<long long>(second) - first;
    fill([&] { return IntToStr(value); }, [&] { value += step; });
}
