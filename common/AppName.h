// Naming the maker's programs by the strings of their version resources.
#pragma once

#include <string>

// A program's names, all from its first declared translation; a missing value
// is empty.
struct TNazwaAplikacji {
    std::string DisplayName;  // "product (company) version", or the bare file name
    std::string CompanyName;
    std::string ProductName;
    std::string Version;  // file version "1.2.3.4", empty without a version resource
    std::string Comments;  // the maker's programs keep their release date here
};

// Fills Info for the program file FileName (a full path). Never raises: a file
// without a version resource, or one that does not exist, is named by its
// file name up to the first ".".
void GetApplicationName(const std::string& FileName, TNazwaAplikacji& Info);
