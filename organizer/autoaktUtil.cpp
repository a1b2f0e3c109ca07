// The update's routines that need no window: the update host setting, the
// file list's lines and names, the texts the wizard shows and the RunOnce
// command.
#include "classlib/SysUtils.h"
#include "common/HtmlDraw.h"
#include "common/QmxReg.h"
#include "common/QmxUtil.h"
#include "organizer/autoakt.h"

const char DefaultUpdateHost[] = "aktualizacja.qmx.invalid";
const char UpdateHostValue[] = "Serwer aktualizacji";

std::string ReadUpdateHost(const std::string& CodeName)
{
    std::string host;
    ReadSettingString(CodeName, UpdateHostValue, "", host);
    TrimBlanks(host);
    return host.empty() ? DefaultUpdateHost : host;
}

std::string UpdateHostName(const std::string& Host)
{
    return Host.substr(0, Host.find(':'));
}

bool IsSafeLocalName(const std::string& LocalName)
{
    if (LocalName.empty() || LocalName.find(':') != std::string::npos)
        return false;
    std::string name = LocalName;
    for (char& c : name)
        if (c == '/')
            c = '\\';
    if (name.front() == '\\')
        return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('\\', start);
        const std::string part = name.substr(start, end == std::string::npos ? end : end - start);
        // "..", "...", ". ." and an empty part all lead out of or stand for
        // a folder, never a file of the program's.
        if (part.find_first_not_of(". ") == std::string::npos || IsDeviceName(part))
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

bool ParseUpdateFileLine(const std::string& Line, TUpdateFileLine& File)
{
    File.LocalName = NthPart(1, Line);
    File.Note = NthPart(2, Line);
    File.Description = NthPart(3, Line);
    File.ServerPath = NthPart(4, Line);
    return !File.LocalName.empty() && !File.Note.empty() && !File.Description.empty() && !File.ServerPath.empty() &&
           IsSafeLocalName(File.LocalName);
}

std::string UpdateInformationText(const std::string& Text)
{
    std::string text = Text;
    ReplaceAllNoCase("   ", "  ", text);
    ReplaceAllNoCase("  ", "\r\n", text);
    ReplaceAllNoCase("\r\n\r\n", "\r\n", text);
    return text;
}

std::string UpdateItemText(const TUpdateFileLine& File, double FileDate, double LastUpdateDay)
{
    std::string prefix;
    if (FileDate != 0)
        prefix = FileDate > LastUpdateDay ? "<b><u>NOWE!</u></b> " : "(już było ściągnięte) ";
    return prefix + Format("<b>%s</b> (%s)<br>%s", TextAsHtml(File.LocalName), TextAsHtml(File.Note),
                           TextAsHtml(File.Description));
}

std::string RunOnceCommand(const std::string& ProgramFolder, const std::string& LocalName)
{
    // Quoted: with a blank in the folder Windows would try the shorter
    // program names first.
    return "\"" + ProgramFolder + LocalName + "\" -o " + ProgramFolder;
}
