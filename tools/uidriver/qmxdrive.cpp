// qmxdrive: the UI driver from the command line (see README.md beside it).
//
//   qmxdrive [--pid N] [--timeout SECONDS] COMMAND ARGUMENT...
//   qmxdrive [--pid N] [--timeout SECONDS] -f SCRIPT      ("-": standard input)
//
// A script holds one command a line, its words split at blanks, "double
// quotes" around a word with blanks (\" and \\ inside them); "#" starts a
// comment line. "start" makes the program it starts the one the following
// commands drive. Output and scripts are UTF-8 (the shell's); Wine hands the
// arguments over in the programs' code page already.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tools/uidriver/UiDriver.h"

namespace {

const char* const Usage =
    "usage: qmxdrive [--pid N] [--timeout SECONDS] COMMAND ARGUMENT...\n"
    "       qmxdrive [--pid N] [--timeout SECONDS] -f SCRIPT   (\"-\": standard input)\n"
    "commands:\n"
    "  start [--dir FOLDER] [--env NAME=VALUE]... PROGRAM [ARGUMENT...]   prints the process id\n"
    "  attach PID\n"
    "  wait-form FORM | wait-gone FORM | wait-text FORM NAME TEXT | wait-usable FORM NAME\n"
    "  dump [FORM] | get FORM NAME [KEY]\n"
    "  click FORM NAME | check FORM NAME on|off | text FORM NAME TEXT\n"
    "  select FORM NAME INDEX|TEXT | tick FORM NAME INDEX on|off | cell FORM NAME COL ROW TEXT\n"
    "  set FORM NAME KEY VALUE | keys FORM NAME KEYS   (\"Jan{Enter}\", \"{Ctrl+V}\")\n"
    "  answer BUTTON-NAME | answer-system BUTTON-TEXT\n"
    "  png FORM FILE | close FORM | sync | wait-exit | kill\n"
    "FORM: a form's name, class or caption; NAME: a component's name (\"\" for the form itself).\n";

class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Convert(const std::string& s, UINT from, UINT to)
{
    if (s.empty())
        return s;
    const int wide = MultiByteToWideChar(from, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(from, 0, s.data(), static_cast<int>(s.size()), w.data(), wide);
    const int n = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(to, 0, w.data(), wide, out.data(), n, nullptr, nullptr);
    return out;
}

// The programs' texts are the ANSI code page; the shell around us reads UTF-8.
void Print(const std::string& text)
{
    const std::string utf8 = Convert(text, CP_ACP, CP_UTF8) + "\n";
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        if (line[i] == '"') {
            ++i;
            while (i < line.size() && line[i] != '"') {
                if (line[i] == '\\' && i + 1 < line.size())
                    ++i;
                word += line[i++];
            }
            if (i == line.size())
                throw EUsage("a quote is not closed");
            ++i;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                word += line[i++];
        }
        words.push_back(word);
    }
    return words;
}

bool OnOff(const std::string& s)
{
    if (s == "on")
        return true;
    if (s == "off")
        return false;
    throw EUsage("expected on or off, not \"" + s + "\"");
}

int Number(const std::string& s)
{
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos)
        throw EUsage("expected a number, not \"" + s + "\"");
    return std::stoi(s);
}

// Quotes an argument for a Windows command line.
std::string CommandLineWord(const std::string& s)
{
    if (!s.empty() && s.find_first_of(" \t\"") == std::string::npos)
        return s;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : s) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"')
                out.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        out += c;
    }
    out.append(backslashes, '\\');
    return out + "\"";
}

class TDriver {
public:
    int timeout = 10000;
    DWORD pid = 0;

    void Run(const std::vector<std::string>& words);

private:
    TUiProcess& Target();
    std::unique_ptr<TUiProcess> target_;
};

TUiProcess& TDriver::Target()
{
    if (!target_) {
        if (!pid)
            throw EUsage("no program to drive: start one, or give --pid");
        target_ = std::make_unique<TUiProcess>(pid);
    }
    target_->SetTimeout(timeout);
    return *target_;
}

void TDriver::Run(const std::vector<std::string>& w)
{
    if (w.empty())
        return;
    const std::string& c = w[0];
    auto need = [&](size_t min, size_t max) {
        if (w.size() < min + 1 || w.size() > max + 1)
            throw EUsage("wrong number of arguments for " + c);
    };
    if (c == "start") {
        TUiStartOptions options;
        size_t i = 1;
        for (; i + 1 < w.size() && (w[i] == "--dir" || w[i] == "--env"); i += 2) {
            if (w[i] == "--dir")
                options.Folder = w[i + 1];
            else
                options.Environment.push_back(w[i + 1]);
        }
        if (i == w.size())
            throw EUsage("start: no program");
        std::string line;
        for (; i < w.size(); ++i) {
            if (!line.empty())
                line += ' ';
            line += CommandLineWord(w[i]);
        }
        if (target_)
            target_->Detach();
        target_ = std::make_unique<TUiProcess>(line, options);
        target_->Detach();
        pid = target_->ProcessId();
        Print(std::to_string(pid));
    } else if (c == "attach") {
        need(1, 1);
        target_.reset();
        pid = static_cast<DWORD>(Number(w[1]));
        Target();
    } else if (c == "wait-form") {
        need(1, 1);
        Target().WaitForForm(w[1]);
    } else if (c == "wait-gone") {
        need(1, 1);
        Target().WaitForFormGone(w[1]);
    } else if (c == "wait-text") {
        need(3, 3);
        Target().WaitForText(w[1], w[2], w[3]);
    } else if (c == "wait-usable") {
        need(2, 2);
        Target().WaitForComponent(w[1], w[2]);
    } else if (c == "dump") {
        need(0, 1);
        const TUiDump dump = Target().Dump(w.size() > 1 ? w[1] : "");
        for (const TUiForm& f : dump.Forms) {
            auto show = [](const char* kind, const TUiComponent& comp) {
                Print(std::string(kind) + " " + comp.Class + " " + comp.Name);
                for (const auto& line : comp.Lines)
                    Print("  " + line.first + "=" + line.second);
            };
            show("form", f);
            for (const TUiComponent& comp : f.Components)
                show("component", comp);
        }
    } else if (c == "get") {
        need(2, 3);
        const TUiComponent comp = Target().Component(w[1], w[2]);
        const std::string key = w.size() > 3 ? w[3] : "Text";
        if (comp.Has(key))
            Print(comp.Value(key));
        else if (comp.Has(key + ".Count") || comp.Has(key + "[0]"))
            for (const std::string& item : comp.List(key))
                Print(item);
        else
            throw EUiDriverError(w[1] + "." + w[2] + " has no " + key);
    } else if (c == "click") {
        need(2, 2);
        Target().Click(w[1], w[2]);
    } else if (c == "check") {
        need(3, 3);
        Target().SetChecked(w[1], w[2], OnOff(w[3]));
    } else if (c == "text") {
        need(3, 3);
        Target().SetText(w[1], w[2], w[3]);
    } else if (c == "select") {
        need(3, 3);
        if (!w[3].empty() && w[3].find_first_not_of("0123456789") == std::string::npos)
            Target().SelectItem(w[1], w[2], Number(w[3]));
        else
            Target().SelectItem(w[1], w[2], w[3]);
    } else if (c == "tick") {
        need(4, 4);
        Target().SetItemChecked(w[1], w[2], Number(w[3]), OnOff(w[4]));
    } else if (c == "cell") {
        need(5, 5);
        Target().SetCell(w[1], w[2], Number(w[3]), Number(w[4]), w[5]);
    } else if (c == "keys") {
        need(3, 3);
        Target().Keys(w[1], w[2], w[3]);
    } else if (c == "set") {
        need(4, 4);
        Target().SetProperty(w[1], w[2], w[3], w[4]);
    } else if (c == "answer") {
        need(1, 1);
        Target().AnswerDialog(w[1]);
    } else if (c == "answer-system") {
        need(1, 1);
        std::string texts = Target().AnswerSystemDialog(w[1]);
        if (!texts.empty() && texts.back() == '\n')
            texts.pop_back();
        Print(texts);
    } else if (c == "png") {
        need(2, 2);
        Target().SavePng(w[1], w[2]);
    } else if (c == "close") {
        need(1, 1);
        Target().CloseForm(w[1]);
    } else if (c == "sync") {
        need(0, 0);
        Target().Sync();
    } else if (c == "wait-exit") {
        need(0, 0);
        Print(std::to_string(Target().WaitForExit()));
    } else if (c == "kill") {
        need(0, 0);
        Target().Kill();
    } else {
        throw EUsage("unknown command " + c);
    }
}

} // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args(argv + 1, argv + argc);
    TDriver driver;
    std::string script;
    size_t i = 0;
    try {
        for (; i < args.size() && args[i].rfind("-", 0) == 0; ++i) {
            if (args[i] == "--pid" && i + 1 < args.size())
                driver.pid = static_cast<DWORD>(Number(args[++i]));
            else if (args[i] == "--timeout" && i + 1 < args.size())
                driver.timeout = Number(args[++i]) * 1000;
            else if (args[i] == "-f" && i + 1 < args.size())
                script = args[++i];
            else
                throw EUsage("unknown option " + args[i]);
        }
        if (script.empty()) {
            if (i == args.size())
                throw EUsage("no command");
            driver.Run(std::vector<std::string>(args.begin() + i, args.end()));
            return 0;
        }
        if (i != args.size())
            throw EUsage("a script and a command together");
    } catch (const EUsage& e) {
        std::fprintf(stderr, "qmxdrive: %s\n%s", e.what(), Usage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qmxdrive: %s\n", Convert(e.what(), CP_ACP, CP_UTF8).c_str());
        return 1;
    }

    std::ifstream file;
    if (script != "-") {
        file.open(script, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "qmxdrive: cannot read %s\n", script.c_str());
            return 2;
        }
    }
    std::istream& in = script == "-" ? std::cin : file;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        try {
            const size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos || line[first] == '#')
                continue;
            driver.Run(Words(Convert(line, CP_UTF8, CP_ACP)));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "qmxdrive: %s, line %d: %s\n", script.c_str(), number,
                         Convert(e.what(), CP_ACP, CP_UTF8).c_str());
            return dynamic_cast<const EUsage*>(&e) ? 2 : 1;
        }
    }
    return 0;
}
