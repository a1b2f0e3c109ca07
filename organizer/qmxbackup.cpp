#include "organizer/qmxbackup.h"

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "common/QmxShell.h"
#include "common/QmxUtil.h"
#include "common/qmxWarningDialog.h"
#include "organizer/cabfiles.h"

std::string LastBackupFile;

namespace {

const char* const kLogFile = "raport.txt";
const char* const kSection = "QMX";
const char* const kFolderValue = "Ścieżka kopii zapasowych";
const char* const kSettingsKey = "Software\\QMX";
constexpr TCursor kSaveCursor = 181;

// The program-wide cursor while a backup runs, back to the default on every
// way out.
class TBusyCursor {
public:
    TBusyCursor()
    {
        if (Screen)
            Screen->SetCursor(kSaveCursor);
    }
    ~TBusyCursor()
    {
        if (Screen)
            Screen->SetCursor(crDefault);
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

void AddOnce(TCABFileContents& contents, const std::string& path)
{
    for (int i = 0; i < contents.Count(); ++i)
        if (EqualNoCase(contents.Items(i)->Name, path))
            return;
    contents.Add()->Name = path;
}

// A free cabinet path for the name's stem. Digits go before ".cab" so that a
// second backup within the same second still matches "qmxKopiaZap*.cab",
// which is how the backups page finds them.
std::string FreeCabinetPath(const std::string& folder, const std::string& stem)
{
    std::string name = stem;
    Randomize();
    while (FileExists(folder + name + ".cab"))
        name += IntToStr(Random(100));
    return folder + name + ".cab";
}

}  // namespace

std::string GetBackupFolder()
{
    std::string folder;
    ReadSettingString(kSection, kFolderValue, GetPersonalFolder(), folder);
    if (!SetCurrentDir(folder)) {
        folder = GetPersonalFolder();
        if (!SetCurrentDir(folder))
            folder = GetProgramFolder();
    }
    // A folder typed into the setting without its backslash still takes the
    // cabinet names inside it, not beside it.
    AddBackslash(folder);
    WriteSettingString(kSection, kFolderValue, folder);
    return folder;
}

bool MakeCabBackup(const std::string& Name, const std::string& FileName, bool Interactive)
{
    bool result = false;
    {
        TCABFile cab(nullptr);
        TBusyCursor cursor;
        try {
            const std::string stamp = FormatDateTime("yyyymmdd_hhnnss", Now());
            const std::string stem = Name.empty()
                                         ? Format("qmxKopiaZap_%s_%s", ExtractFileName(FileName), stamp)
                                         : Format("qmxKopiaZapasowa_%s", stamp);
            const std::string path = FreeCabinetPath(GetBackupFolder(), stem);
            AppendLogLine(kLogFile, "Cabber: " + path);
            AppendLogLine(kLogFile, "Cabber: START");

            cab.CABFile = path;
            TCABFileContents& contents = *cab.CABFileContents();
            if (!FileName.empty() && FileExists(FileName))
                AddOnce(contents, FileName);
            if (!Name.empty() || FileName.empty()) {
                for (int i = 0; i < DataFileCount; ++i) {
                    std::string dataFile;
                    GetDataFilePath(i, "", dataFile);
                    if (!dataFile.empty() && FileExists(dataFile))
                        AddOnce(contents, dataFile);
                }
            }

            if (cab.CreateCabinet()) {
                AppendLogLine(kLogFile, "Cabber: CREATED");
                LastBackupFile = path;
                const std::string key = Name.empty() ? std::string(kSettingsKey) : kSettingsKey + ("\\" + Name);
                WriteRegString(1, key, "Kopia zapasowa", path);
                WriteRegString(1, key, "Kopia zapasowa - data", IntToStr(static_cast<long long>(Date())));
                result = true;
            } else {
                AppendLogLine(kLogFile, "Cabber: ERROR");
            }
        } catch (const std::exception&) {
            // The caller learns only whether a backup exists; the update goes
            // on without one when the user agrees.
        }
    }
    if (Interactive) {
        if (result)
            ShowWarning("Kopia zapasowa została wykonana pomyślnie.\r\n" + LastBackupFile);
        else
            ShowWarning("Nie udało się wykonać kopii zapasowej!");
    }
    return result;
}
