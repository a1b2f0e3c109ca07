// The form description as a tree, before any component exists: the form
// reader (FormReader.h) parses the whole text first, so that a syntax error
// never leaves half a form behind. The grammar is in FORMS.md.
#pragma once

#include <string>
#include <vector>

#include "classlib/SysUtils.h"

struct TFormProperty;

// One "item ... end" of a collection: its property assignments.
struct TFormItem {
    int Line = 0;
    std::vector<TFormProperty> Props;
};

struct TFormValue {
    enum TKind {
        fvInteger,     // Text: the number as written ("-11", "$FF")
        fvFloat,       // Text: the number as written, with a fraction or an exponent ("36528.5", "1E-3")
        fvString,      // Text: the bytes, quotes and character codes resolved
        fvIdent,       // Text: an enumeration value, colour, True/False, component or handler name
        fvSet,         // Items: the members
        fvList,        // Items: the strings, in order
        fvCollection,  // CollectionItems: the items, in order
    };
    TKind Kind = fvInteger;
    std::string Text;
    std::vector<std::string> Items;
    std::vector<TFormItem> CollectionItems;
};

struct TFormProperty {
    std::string Name;  // dotted for nested objects: "Font.Style"
    int Line = 0;
    TFormValue Value;
};

struct TFormObject {
    std::string Name;
    std::string ClassName;
    int Line = 0;
    std::vector<TFormProperty> Props;
    std::vector<TFormObject> Children;
};

// "Line 7: Error reading bDalej.Caption: Unterminated string", with
// sourceName (when not empty) in front of the line: "TEMAIN, line 7: ...".
std::string FormErrorText(const std::string& sourceName, int line, const std::string& where,
                          const std::string& message);

// Parses a whole form description; a syntax error raises EReadError with the
// text of FormErrorText.
TFormObject ParseFormText(const std::string& text, const std::string& sourceName = std::string());
