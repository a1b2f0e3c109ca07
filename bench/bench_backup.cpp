// Times one MakeCabBackup of the data files found in a folder.
//   bench_backup <data folder\> <backup folder\>
// Every file of the data folder (at most the 14 the maker knows) is recorded
// as a data file, the backup folder is set, and one unnamed backup is made.
// Prints the seconds of the backup alone and the cabinet's path and size.
#include <windows.h>

#include <cstdio>
#include <string>

#include "classlib/SysUtils.h"
#include "common/QmxReg.h"
#include "organizer/qmxbackup.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_backup <data folder\\> <backup folder\\>\n");
        return 2;
    }
    const std::string data = argv[1];
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((data + "*").c_str(), &fd);
    int count = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && count < DataFileCount)
                WriteRegString(2, QmxPathsKey, DataFileValueNames[count++], data + fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    WriteSettingString("QMX", "Ścieżka kopii zapasowych", argv[2]);

    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const bool made = MakeCabBackup("", "", false);
    QueryPerformanceCounter(&stop);
    if (!made) {
        std::fprintf(stderr, "bench_backup: no cabinet was made\n");
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    long long size = 0;
    if (GetFileAttributesExA(LastBackupFile.c_str(), GetFileExInfoStandard, &attributes))
        size = (static_cast<long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    std::printf("files %d\nseconds %.3f\ncabinet %s\nbytes %lld\n", count,
                static_cast<double>(stop.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                LastBackupFile.c_str(), size);
    return 0;
}
