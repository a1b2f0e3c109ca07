// The system's animation control (the common controls' animation class): a
// silent clip played in a loop, from the shell's stock clips (CommonAVI) or
// from an AVI file (FileName).
//
// Active plays the clip (endlessly) or stops it. Set while the form is read
// or before the window exists, it takes effect once the window is there. A
// clip that cannot be opened leaves the control empty and inactive; the
// stock clips live in shell32.dll, whose numbered AVI resources differ by
// system (a system without a given clip shows nothing).
#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include "classlib/Controls.h"

// Registers the class for reading forms; called by InitFormsUnit.
void InitAnimateUnit();

enum TCommonAVI {
    aviNone,
    aviFindFolder,
    aviFindFile,
    aviFindComputer,
    aviCopyFiles,
    aviCopyFile,
    aviRecycleFile,
    aviEmptyRecycle,
    aviDeleteFile
};

class TAnimate : public TWinControl {
public:
    explicit TAnimate(TComponent* owner);

    TCommonAVI CommonAVI() const { return commonAVI_; }
    // A stock clip replaces the file name, a file name the stock clip.
    void SetCommonAVI(TCommonAVI value);
    std::string FileName() const { return fileName_; }
    void SetFileName(const std::string& value);
    bool Active() const { return active_; }
    void SetActive(bool value);
    // Whether the window holds a clip.
    bool Open() const { return open_; }

    // Plays frames from..to (-1: the last) count times (0: endlessly).
    void Play(int from, int to, int count);
    void Stop();

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;

private:
    // Opens the clip in the window (and plays it when active).
    void Reopen();

    TCommonAVI commonAVI_ = aviNone;
    std::string fileName_;
    bool active_ = false;
    bool open_ = false;
    struct ModuleFree {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    // The stock clips' module, held while the control may open them.
    std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree> shell_;
};
