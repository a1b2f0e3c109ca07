// TFileOperation: one shell file operation (copy, delete, move or rename)
// with the shell's own progress, confirmation and error dialogs.
#pragma once

#include <initializer_list>
#include <string>

#include "classlib/Classes.h"

class TStringList;
class TStrings;

enum TFileOp { foCopy, foDelete, foMove, foRename };

enum TFileOpFlag {
    fofAllowUndo,
    fofConfirmMouse,
    fofFilesOnly,
    fofMultiDestFiles,
    fofNoConfirmation,
    fofNoConfirmMkDir,
    fofRenameOnCollision,
    fofSilent,
    fofSimpleProgress,
};

// A set of TFileOpFlag; bit n stands for the member of ordinal n.
class TFileOpFlags {
public:
    constexpr TFileOpFlags() = default;
    constexpr TFileOpFlags(std::initializer_list<TFileOpFlag> flags)
    {
        for (TFileOpFlag f : flags)
            bits_ |= Bit(f);
    }
    constexpr bool Contains(TFileOpFlag f) const { return (bits_ & Bit(f)) != 0; }
    constexpr TFileOpFlags operator+(TFileOpFlag f) const { return FromBits(bits_ | Bit(f)); }
    constexpr TFileOpFlags operator-(TFileOpFlag f) const { return FromBits(bits_ & ~Bit(f)); }
    constexpr bool operator==(const TFileOpFlags&) const = default;
    constexpr unsigned Bits() const { return bits_; }
    static constexpr TFileOpFlags FromBits(unsigned bits)
    {
        TFileOpFlags s;
        s.bits_ = bits & 0x1FF;
        return s;
    }

private:
    static constexpr unsigned Bit(TFileOpFlag f) { return 1u << static_cast<unsigned>(f); }
    unsigned bits_ = 0;
};

class TFileOperation : public TComponent {
public:
    explicit TFileOperation(TComponent* owner);
    ~TFileOperation() override;

    TFileOp Operation = foCopy;
    // Several names are separated by ";".
    std::string FilesFrom;
    std::string FilesTo;
    TFileOpFlags Flags;
    std::string ProgressTitle;

    // Whether the user aborted an operation in one of the shell's dialogs
    // during the last Execute.
    bool OperationAborted() const { return operationAborted_; }
    // Setting True runs Execute; reads False.
    bool Active() const { return false; }
    void SetActive(bool value);
    // A few descriptive lines; not used by the programs.
    TStrings* About() const;

    // Runs the operation; true exactly when the shell reports success. The
    // reason of a failure is the last Windows error.
    bool Execute();
    // Whether the user answered No (and cancelled nothing) in the shell's
    // questions during the last Execute: the operation skipped what it asked
    // about and left it as it was. The shell's result alone does not tell
    // this from a cancel on every system.
    bool Declined() const { return declined_; }
    // Whether the user cancelled in one of the shell's questions during the
    // last Execute. OperationAborted alone does not tell: some systems report
    // a failed copy as aborted, also when no question could be put.
    bool Cancelled() const { return cancelled_; }
    // The shell's own result of the last Execute (0: success); it tells what
    // failed when the operation left no last error.
    int ResultCode() const { return resultCode_; }
    // Whether Execute, as the properties stand now, may put a question to
    // the user.
    bool MayAsk() const;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    // Whether the shell may put a question to the user in Execute, given the
    // targets in the shell's list form.
    bool MayAsk(const std::string& to) const;
    // Published as set only: the stored values cannot be changed from outside.
    void IgnoreAborted(bool) {}
    void IgnoreAbout(TStrings*) {}
    int OperationOrd() const { return Operation; }
    void SetOperationOrd(int value)
    {
        if (value >= foCopy && value <= foRename)
            Operation = static_cast<TFileOp>(value);
    }
    int FlagBits() const { return static_cast<int>(Flags.Bits()); }
    void SetFlagBits(int bits) { Flags = TFileOpFlags::FromBits(static_cast<unsigned>(bits)); }

    bool operationAborted_ = false;
    bool declined_ = false;
    bool cancelled_ = false;
    int resultCode_ = 0;
    TStringList* about_;
};

// Registers the unit's component class for the form reader.
void FileOpStartup();
