// A small demonstration of the common units: the program folder and the field
// routines with which description files and report lines are taken apart.
#include <cstdio>
#include <string>

#include "classlib/SysUtils.h"
#include "common/QmxUtil.h"

namespace {

void Show(const char* what, const std::string& value)
{
    std::printf("  %-34s \"%s\"\n", what, value.c_str());
}

} // namespace

int main()
{
    std::printf("Katalog programu: %s\n\n", GetProgramFolder().c_str());

    const std::string line = "brennik.exe=Lumero - organizator;Orvath";
    std::printf("Wiersz pliku opisu: %s\n", line.c_str());
    Show("KeyPart", KeyPart(line));
    Show("ValuePart", ValuePart(line));
    Show("NthPart 2", NthPart(2, line));
    Show("NthPart 3", NthPart(3, line));

    const std::string entry = "Lumero|c:\\nośnik\\brennik.exe|c:\\qmx\\brennik.exe";
    std::printf("\nPozycja listy: %s\n", entry.c_str());
    for (std::uint8_t n = 1; n <= 4; ++n)
        Show(("NthField '|' " + std::to_string(n)).c_str(), NthField('|', n, entry));

    std::string name = "ŁÓDŹ";
    std::printf("\nPorównania przez ustawienia regionalne:\n");
    Show("ContainsNoCase(ŁÓDŹ, Łódź-Bałuty)", ContainsNoCase(name, "Łódź-Bałuty") ? "tak" : "nie");
    Show("EqualNoCase(Żółw, żÓŁW)", EqualNoCase("Żółw", "żÓŁW") ? "tak" : "nie");
    std::string letters = "Nr 12: Łódź";
    KeepLettersOnly(letters);
    Show("KeepLettersOnly(Nr 12: Łódź)", letters);

    std::printf("\nGranice jednobajtowe:\n");
    try {
        ContainsNoCase("brennik.exe", std::string(290, 'k') + "brennik.exe");
    } catch (const ERangeError& e) {
        Show("ContainsNoCase na 301 znakach", e.Message());
    }
    try {
        KeyPart(std::string(255, 'k'));
    } catch (const EIntOverflow& e) {
        Show("KeyPart 255 znaków bez separatora", e.Message());
    }
    return 0;
}
