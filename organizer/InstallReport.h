// Reading the installer's report "tarvix.qmx": which programs it installed
// and which of their files and shortcuts can still be removed.
//
// A report line is "dd-mm-yyyy hh:mm:ss - KEYWORD=name;source;destination"
// with a fourth value, the shortcut file, for LINK lines. Lines are read by
// that structure, so " - ", "=" and "(" inside a name or a path stay part of
// it. The installer writes display names with ";" replaced by ",".
#pragma once

#include <functional>
#include <string>
#include <vector>

struct TReportLine {
    std::string DateTime;
    std::string Keyword;
    std::string Name;  // the display name as written
    std::string Source;
    std::string Destination;
    std::string Link;  // LINK lines only
};

// False for a line without the report structure (date and time, " - ", a
// keyword ended by "=").
bool ParseReportLine(const std::string& Line, TReportLine& Result);

// The program's name of a display name: the text before its first "(",
// without blanks at either end ("Vurodar 2000 (1.2)" gives "Vurodar 2000").
std::string ReportProgramName(const std::string& DisplayName);

struct TReportProgram {
    std::string Name;
    // Full paths in report order, each once (letter case ignored); only files
    // that exist, can be opened for reading and writing and are not empty.
    std::vector<std::string> Files;
};

// Reads the report into the programs it names, in the order they first
// appear, one per name without regard to letter case (the first spelling
// kept). FILECOPY lines give their destination, LINK lines their shortcut;
// other lines only name their program. Programs left without files are
// dropped. True when the file could be read and named at least one program.
// Between, when given, runs before each line; the reading stops when it gives
// false, with the result False. The cost grows with the lines alone: names
// and files are looked up, and each file's size is asked for once.
bool ReadInstallReport(const std::string& FileName, std::vector<TReportProgram>& Programs,
                       const std::function<bool()>& Between = {});
