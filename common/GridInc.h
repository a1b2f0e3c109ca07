// Small routines that the grid and the extended list view carry: the version
// of a system library, and date texts read for sorting by date.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/SysUtils.h"

// The file's fixed version word MS (major version high, minor low), or -1
// when the file has no readable version resource. Never raises.
std::int32_t GetFileVersionMS(const std::string& FileName);

// "m-d-y" and "d-m-y" with "-", "/" or "." between the fields, as days since
// 30 December 1899; 0 when a separator is missing. Two-digit years up to 25
// are 20xx, all others get 1900 added (also four-digit ones). A date the
// calendar does not have raises EConvertError.
TDateTime ParseDateMDY(const std::string& Text);
TDateTime ParseDateDMY(const std::string& Text);
