// Forms are read from their form resources: a text form description per form
// (the grammar is in FORMS.md beside this file), compiled into the program as
// an RCDATA resource named after the form class in upper case ("TEMAIN" for
// TeMain). Layout lives in the description, behaviour in the form's class.
//
// Reading a description into a root (the form, already constructed):
// - the root takes the description's name ("eMain"), or "eMain_1" ... when
//   its owner already has a component of that name;
// - every "object" inside the root's own creates a component of the class
//   named (RegisterComponentClass) with the root as owner, in the order
//   written, and passes the enclosing object to its SetParentComponent
//   (the root for the outermost ones) before any of its properties;
// - the root and every component created stay in the loading state
//   (csLoading) for the whole read;
// - when the root's class publishes a component property with a created
//   component's name, it is set to that component at once (the form's fields
//   such as bDalej);
// - properties are set through their setters in the order written; dotted
//   names reach nested objects (Font.Style), a list of strings replaces a
//   string list (Lines.Strings or Lines), and the items of a collection
//   (Columns = < item ... end >) replace its items, inside one
//   BeginUpdate/EndUpdate of the collection, each item's properties set in
//   the order written;
// - events are bound to the root's handlers by name (BindEventProp), which
//   checks the handler's signature;
// - references to components are set after the whole description is read, so
//   a reference may name a component written further down;
// - then Loaded is called on every created component in creation order, and
//   on the root last, so the root sees all its components finished.
//
// A malformed description raises EReadError whose text gives the line, the
// component and the property, such as
//     "Line 7: Error reading bDalej.Captoin: Property Captoin does not exist in TButton"
// (reading a resource puts the resource name first: "TEMAIN, line 7: ...").
// The components created by the failed read are freed again, the root's
// fields that pointed to them are cleared and the root leaves the loading
// state; Loaded is called on none of them. An error raised by a Loaded
// override passes unchanged (and every component leaves the loading state).
#pragma once

#include <string>

#include "classlib/SysUtils.h"

class TComponent;

// A form resource that the program does not have.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

// Reads a form description (CP1250 text) into root. sourceName, when not
// empty, starts every error text.
void ReadFormText(TComponent* root, const std::string& text, const std::string& sourceName = std::string());

// The running program's RCDATA resource of that name exists.
bool FormResourceExists(const std::string& resourceName);

// Reads the running program's RCDATA resource of that name into root; a
// missing resource raises EResNotFound.
void ReadFormResource(TComponent* root, const std::string& resourceName);

// The resource name of root's form: its class name in upper case.
std::string FormResourceName(const TComponent* root);
