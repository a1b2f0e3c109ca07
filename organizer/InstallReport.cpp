#include "organizer/InstallReport.h"

#include <exception>

#include "classlib/Lists.h"
#include "classlib/SysUtils.h"
#include "common/QmxUtil.h"

namespace {

// "dd-mm-yyyy hh:mm:ss"
const std::size_t DateTimeLength = 19;
const char Separator[] = " - ";

std::vector<std::string> SplitValues(const std::string& s)
{
    std::vector<std::string> values;
    std::size_t start = 0;
    for (;;) {
        std::size_t p = s.find(';', start);
        values.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos)
            return values;
        start = p + 1;
    }
}

} // namespace

bool ParseReportLine(const std::string& Line, TReportLine& Result)
{
    std::size_t afterDate;
    if (Line.size() > DateTimeLength && Line.compare(DateTimeLength, 3, Separator) == 0) {
        afterDate = DateTimeLength + 3;
    } else {
        // Not the usual date form: the date then ends at the first separator.
        std::size_t p = Line.find(Separator);
        if (p == std::string::npos)
            return false;
        afterDate = p + 3;
    }
    std::size_t eq = Line.find('=', afterDate);
    if (eq == std::string::npos)
        return false;
    Result = TReportLine();
    Result.DateTime = Line.substr(0, afterDate - 3);
    Result.Keyword = Line.substr(afterDate, eq - afterDate);
    std::vector<std::string> values = SplitValues(Line.substr(eq + 1));
    values.resize(4);
    Result.Name = values[0];
    Result.Source = values[1];
    Result.Destination = values[2];
    Result.Link = values[3];
    return true;
}

std::string ReportProgramName(const std::string& DisplayName)
{
    std::string name = DisplayName.substr(0, DisplayName.find('('));
    TrimBlanks(name);
    return name;
}

bool ReadInstallReport(const std::string& FileName, std::vector<TReportProgram>& Programs)
{
    Programs.clear();
    if (FileName.empty() || !FileExists(FileName))
        return false;
    TStringList lines;
    try {
        lines.LoadFromFile(FileName);
    } catch (const std::exception&) {
        return false;
    }
    bool named = false;
    for (int i = 0; i < lines.Count(); ++i) {
        TReportLine line;
        if (!ParseReportLine(lines.Strings(i), line))
            continue;
        std::string name = ReportProgramName(line.Name);
        named = true;
        TReportProgram* program = nullptr;
        for (TReportProgram& p : Programs)
            if (EqualNoCase(p.Name, name)) {
                program = &p;
                break;
            }
        if (!program) {
            Programs.push_back({name, {}});
            program = &Programs.back();
        }
        std::string file;
        if (line.Keyword == "FILECOPY")
            file = line.Destination;
        else if (line.Keyword == "LINK")
            file = line.Link;
        if (file.empty() || GetFileSizeBytes(file) <= 0)
            continue;
        bool listed = false;
        for (const std::string& f : program->Files)
            listed = listed || EqualNoCase(f, file);
        if (!listed)
            program->Files.push_back(file);
    }
    std::erase_if(Programs, [](const TReportProgram& p) { return p.Files.empty(); });
    return named;
}
