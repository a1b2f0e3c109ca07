#include "organizer/InstallReport.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <unordered_map>
#include <unordered_set>

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

bool ReadInstallReport(const std::string& FileName, std::vector<TReportProgram>& Programs,
                       const std::function<bool()>& Between)
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
    // By names and paths in lower case, the way EqualNoCase compares them.
    std::unordered_map<std::string, std::size_t> programIndex;
    std::vector<std::unordered_set<std::string>> listed;
    // A report of repeated installations names the same files again and again.
    std::unordered_map<std::string, std::int64_t> sizes;
    bool named = false;
    for (int i = 0; i < lines.Count(); ++i) {
        if (Between && !Between()) {
            Programs.clear();
            return false;
        }
        TReportLine line;
        if (!ParseReportLine(lines.Strings(i), line))
            continue;
        std::string name = ReportProgramName(line.Name);
        named = true;
        const auto [found, added] = programIndex.try_emplace(AnsiLowerCase(name), Programs.size());
        if (added) {
            Programs.push_back({name, {}});
            listed.emplace_back();
        }
        std::string file;
        if (line.Keyword == "FILECOPY")
            file = line.Destination;
        else if (line.Keyword == "LINK")
            file = line.Link;
        if (file.empty())
            continue;
        std::string key = AnsiLowerCase(file);
        std::unordered_set<std::string>& files = listed[found->second];
        if (files.count(key))
            continue;
        auto size = sizes.find(key);
        if (size == sizes.end())
            size = sizes.emplace(key, GetFileSizeBytes(file)).first;
        if (size->second <= 0)
            continue;
        files.insert(std::move(key));
        Programs[found->second].Files.push_back(file);
    }
    std::erase_if(Programs, [](const TReportProgram& p) { return p.Files.empty(); });
    return named;
}
