#include "classlib/Clipbrd.h"

#include <cstring>
#include <memory>

namespace {

// A block locked for reading or writing, unlocked on every way out.
class TLockedBlock {
public:
  explicit TLockedBlock(HGLOBAL block)
      : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~TLockedBlock() {
    if (data_)
      GlobalUnlock(block_);
  }
  TLockedBlock(const TLockedBlock &) = delete;
  TLockedBlock &operator=(const TLockedBlock &) = delete;

  char *Data() const { return static_cast<char *>(data_); }
  size_t Size() const { return data_ ? GlobalSize(block_) : 0; }

private:
  HGLOBAL block_;
  void *data_;
};

} // namespace

std::string BytesOfGlobal(HGLOBAL block) {
  TLockedBlock locked(block);
  if (!locked.Data())
    return {};
  return std::string(locked.Data(), locked.Size());
}

std::string TextOfGlobal(HGLOBAL block) {
  TLockedBlock locked(block);
  if (!locked.Data())
    return {};
  const char *data = locked.Data();
  const void *zero = std::memchr(data, 0, locked.Size());
  size_t length = zero ? static_cast<const char *>(zero) - data : locked.Size();
  return std::string(data, length);
}

HGLOBAL GlobalOfBytes(const std::string &bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
  if (!block)
    return nullptr;
  {
    TLockedBlock locked(block);
    if (!locked.Data()) {
      GlobalFree(block);
      return nullptr;
    }
    std::memcpy(locked.Data(), bytes.data(), bytes.size());
    locked.Data()[bytes.size()] = 0;
  }
  return block;
}

TClipboard::TClipboard() = default;

TClipboard::~TClipboard() {
  if (openCount_ > 0)
    CloseClipboard();
  if (window_)
    DestroyWindow(window_);
}

void TClipboard::Open() {
  if (openCount_ == 0) {
    // The clipboard needs an owner window: with none, what is put on an
    // emptied clipboard has no owner and the system may refuse it.
    if (!window_)
      window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!OpenClipboard(window_))
      throw EClipboardException("Cannot open clipboard");
    emptied_ = false;
  }
  ++openCount_;
}

void TClipboard::Close() {
  if (openCount_ == 0)
    return;
  if (--openCount_ == 0)
    CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  emptied_ = true;
  Close();
}

// The first format put on the clipboard within one Open replaces its old
// content; the later ones join it.
void TClipboard::Adding() {
  if (!emptied_) {
    EmptyClipboard();
    emptied_ = true;
  }
}

bool TClipboard::HasFormat(UINT format) const {
  return IsClipboardFormatAvailable(format) != FALSE;
}

std::string TClipboard::GetAsText() {
  Open();
  std::string text;
  if (HANDLE block = GetClipboardData(CF_TEXT))
    text = TextOfGlobal(static_cast<HGLOBAL>(block));
  Close();
  return text;
}

void TClipboard::SetAsText(const std::string &text) {
  SetAsBytes(CF_TEXT, text);
}

std::string TClipboard::GetAsBytes(UINT format) {
  Open();
  std::string bytes;
  if (HANDLE block = GetClipboardData(format))
    bytes = BytesOfGlobal(static_cast<HGLOBAL>(block));
  Close();
  return bytes;
}

void TClipboard::SetAsBytes(UINT format, const std::string &bytes) {
  HGLOBAL block = GlobalOfBytes(bytes);
  if (!block)
    throw EClipboardException("Out of memory for the clipboard");
  SetAsHandle(format, block);
}

void TClipboard::AddAsBytes(UINT format, const std::string &bytes) {
  HGLOBAL block = GlobalOfBytes(bytes);
  if (!block)
    throw EClipboardException("Out of memory for the clipboard");
  Put(format, block, false);
}

void TClipboard::SetAsHandle(UINT format, HANDLE handle) {
  Put(format, handle, true);
}

void TClipboard::Put(UINT format, HANDLE handle, bool replace) {
  try {
    Open();
  } catch (...) {
    GlobalFree(handle);
    throw;
  }
  if (replace)
    Adding();
  else
    emptied_ = true; // what follows within the same Open joins the content
  bool taken = SetClipboardData(format, handle) != nullptr;
  Close();
  if (!taken) {
    GlobalFree(handle);
    throw EClipboardException("Cannot put data on the clipboard");
  }
}

TClipboard *Clipboard() {
  static std::unique_ptr<TClipboard> clipboard;
  if (!clipboard)
    clipboard = std::make_unique<TClipboard>();
  return clipboard.get();
}
