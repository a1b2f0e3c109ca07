// The clipboard: text and other formats put on it or read from it.
//
// Blocks that other programs put on the clipboard need not end in a zero:
// every read stops at the block's own size.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/SysUtils.h"

// The clipboard could not be opened (another program holds it) or a block
// could not be made.
class EClipboardException : public Exception {
public:
  using Exception::Exception;
};

class TClipboard {
public:
  TClipboard();
  ~TClipboard();
  TClipboard(const TClipboard &) = delete;
  TClipboard &operator=(const TClipboard &) = delete;

  // Open and Close nest: the clipboard stays open until the last Close,
  // so several formats can be put on it as one content.
  void Open();
  void Close();
  // Empties the clipboard (opening it for the call when it is not open).
  void Clear();

  bool HasFormat(UINT format) const;

  // The text as CF_TEXT; empty when there is none.
  std::string GetAsText();
  // Replaces the clipboard's content with the text as CF_TEXT.
  void SetAsText(const std::string &text);

  // The bytes of a format as they are stored, without a terminating zero
  // added; empty when the format is not there.
  std::string GetAsBytes(UINT format);
  // Puts the bytes on the clipboard as the format (with a zero after them),
  // beside what an enclosing Open already put there, or replacing the
  // content when the clipboard was not open.
  void SetAsBytes(UINT format, const std::string &bytes);

  // Puts the bytes on the clipboard as the format (with a zero after them)
  // beside the formats already there, which stay.
  void AddAsBytes(UINT format, const std::string &bytes);

  // A memory block given to the clipboard, which owns it from then on
  // (freed here when the clipboard refuses it).
  void SetAsHandle(UINT format, HANDLE handle);

private:
  void Adding();
  // Gives the block to the clipboard, replacing its content (the first
  // format within one Open) or beside it.
  void Put(UINT format, HANDLE handle, bool replace);
  HWND window_ = nullptr;
  int openCount_ = 0;
  bool emptied_ = false;
};

// The application's clipboard object, made on first use.
TClipboard *Clipboard();

// Reads a memory block of the clipboard (or of a data transfer) as text:
// up to its first zero or its size, whichever comes first.
std::string TextOfGlobal(HGLOBAL block);
// The same for bytes, up to the block's size.
std::string BytesOfGlobal(HGLOBAL block);
// A movable memory block holding the bytes and a terminating zero; null when
// the system has no memory for it.
HGLOBAL GlobalOfBytes(const std::string &bytes);
