// The organizer's file routines: a file's size as a directory search finds
// it, and its modification time.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/SysUtils.h"

// The size of the first entry matching FileName (expanded against the current
// folder; wildcards allowed, every attribute admitted, so a folder gives its
// entry size 0); -1 when nothing matches.
std::int64_t FileSizeBySearch(const std::string& FileName);
// The file's last modification time in local time; 0 when it does not exist.
TDateTime FileDateTime(const std::string& FileName);
