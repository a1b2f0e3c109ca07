// Helpers shared by the list tests.
#pragma once

#include <string>

#include "classlib/Lists.h"

// The lines of a list joined by "|", for comparing a whole list at once.
inline std::string Join(const TStrings& list)
{
    std::string s;
    for (int i = 0; i < list.Count(); ++i)
        s.append(i ? "|" : "").append(list.Strings(i));
    return s;
}
