// Storage routines of the form placement: default names, reading and
// writing values through an INI file or the registry's INI view, values
// written once per screen size, and a form's window placement.
#pragma once

#include <windows.h>

#include <string>

class TObject;
class TComponent;
class TCustomForm;

// The section a component's values go to by default: a form's class name;
// a control's name after its form's class name, or after its parent's name
// when it has no form; "Class.Name" of the owner's class for another
// component owned by a form; otherwise the component's name. Empty for none.
std::string DefaultSectionOf(TComponent* Component);
// The program's file name with the extension ".INI".
std::string DefaultIniFileName();
// "Software\" and the program's file name without its extension.
std::string DefaultRegistryKey();

// Storage is a TRegIniFile or a TIniFile; any other object reads the
// default and writes nothing.
std::string StorageReadString(TObject* Storage, const std::string& Section, const std::string& Ident,
                              const std::string& Default);
// The value as an integer: decimal, hexadecimal after "0x"; Default for text
// that is no number.
int StorageReadInt(TObject* Storage, const std::string& Section, const std::string& Ident, int Default);
// An INI file gets a value that both begins and ends with the same kind of
// quote inside one more pair of double quotes, which the profile functions
// take off again when the value is read.
void StorageWriteString(TObject* Storage, const std::string& Section, const std::string& Ident,
                        const std::string& Value);
void StorageWriteInt(TObject* Storage, const std::string& Section, const std::string& Ident, int Value);

// "(WxH)" of the screen's size in pixels.
std::string ScreenSizeSuffix();
// Ident with the suffix, or, when that is empty, Ident alone.
std::string ReadSizedValue(TObject* Storage, const std::string& Section, const std::string& Ident);
// Both: Ident with the suffix, then Ident alone.
void WriteSizedValue(TObject* Storage, const std::string& Section, const std::string& Ident, const std::string& Value);

// The window's placement as it is to be set back: a hidden window's show
// command is SW_HIDE, so that setting it shows nothing.
WINDOWPLACEMENT PlacementToSetBack(HWND Wnd);

// "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" and "NormPos" (the last
// two also with the suffix) of the form's window.
void WriteWindowPlacement(TCustomForm* Form, TObject* Storage, const std::string& Section);
// Applies what WriteWindowPlacement stored: the position only when the
// screen's pixels per inch are the same and the normal rectangle is not
// empty; the state in any case.
void ReadWindowPlacement(TCustomForm* Form, TObject* Storage, const std::string& Section, bool LoadState,
                         bool LoadPosition);
