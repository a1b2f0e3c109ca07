// Unit qmxbackup: backup cabinets of the maker's data files.
//
// A backup is one cabinet file in the backup folder, named after the moment
// it was made (and after the file it was made for); the organizer's backups
// page lists those cabinets, the Internet update makes one before it changes
// anything. Each run appends its steps to "raport.txt" in the program folder.
#pragma once

#include <string>

// The full path of the last cabinet this program run created; empty until
// then.
extern std::string LastBackupFile;

// The backup folder, with a trailing backslash: the setting
// "Ścieżka kopii zapasowych" of section "QMX", else the Personal folder,
// else the program folder. It becomes the process's current folder (the
// backups page resolves bare cabinet names against it) and is written back
// into the setting.
std::string GetBackupFolder();

// Makes one cabinet in the backup folder: FileName (when given and present)
// and, when a Name is given or no FileName, every recorded data file that
// exists. A named backup is "qmxKopiaZapasowa_<stamp>.cab" and records its
// path and day under HKCU "Software\QMX\<Name>"; an unnamed one is
// "qmxKopiaZap_<file name>_<stamp>.cab" and records under "Software\QMX".
// True when the cabinet was created. Failures on the way end quietly with
// False; with Interactive the outcome is shown through ShowWarning.
bool MakeCabBackup(const std::string& Name, const std::string& FileName, bool Interactive);
