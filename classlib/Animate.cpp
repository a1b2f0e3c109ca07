#include "classlib/Animate.h"

#include <commctrl.h>

#include "classlib/TypInfo.h"

namespace {

// The stock clips' resource numbers in shell32.dll, by TCommonAVI.
constexpr WORD CommonAviIds[] = {0, 150, 151, 152, 160, 161, 162, 163, 164};

} // namespace

void InitAnimateUnit()
{
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_ANIMATE_CLASS;
    InitCommonControlsEx(&icc);
    RegisterComponentClass(TAnimate::StaticClass());
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 100, 80);
}

const TClassInfo* TAnimate::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TAnimate::StaticClass()
{
    static const TClassInfo info(
        "TAnimate", &TWinControl::StaticClass(), &NewComponent<TAnimate>,
        {
            PublishEnum<&TAnimate::CommonAVI, &TAnimate::SetCommonAVI>(
                "CommonAVI", {"aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer", "aviCopyFiles",
                              "aviCopyFile", "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile"}),
            PublishString<&TAnimate::FileName, &TAnimate::SetFileName>("FileName"),
            PublishBoolean<&TAnimate::Active, &TAnimate::SetActive>("Active"),
        });
    return info;
}

void TAnimate::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, ANIMATE_CLASSA);
    p.Style |= ACS_CENTER | ACS_TRANSPARENT;
}

void TAnimate::CreateWnd()
{
    TWinControl::CreateWnd();
    if (!IsLoading())
        Reopen();
}

void TAnimate::DestroyWnd()
{
    open_ = false;
    TWinControl::DestroyWnd();
}

void TAnimate::Loaded()
{
    TWinControl::Loaded();
    if (HandleAllocated())
        Reopen();
}

void TAnimate::Reopen()
{
    if (!HandleAllocated())
        return;
    LPARAM clip = 0;
    WPARAM module = 0;
    if (commonAVI_ != aviNone) {
        if (!shell_)
            shell_.reset(LoadLibraryA("shell32.dll"));
        module = reinterpret_cast<WPARAM>(shell_.get());
        clip = reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(CommonAviIds[commonAVI_]));
    } else if (!fileName_.empty()) {
        clip = reinterpret_cast<LPARAM>(fileName_.c_str());
    }
    // Opening nothing closes the clip shown.
    open_ = clip != 0 && (commonAVI_ == aviNone || module != 0) &&
            SendMessageA(handle_, ACM_OPENA, module, clip) != 0;
    if (!open_) {
        SendMessageA(handle_, ACM_OPENA, 0, 0);
        active_ = false;
        return;
    }
    if (active_)
        Play(0, -1, 0);
}

void TAnimate::SetCommonAVI(TCommonAVI value)
{
    if (value < aviNone || value > aviDeleteFile || value == commonAVI_)
        return;
    commonAVI_ = value;
    if (value != aviNone)
        fileName_.clear();
    if (!IsLoading())
        Reopen();
}

void TAnimate::SetFileName(const std::string& value)
{
    if (value == fileName_ && commonAVI_ == aviNone)
        return;
    fileName_ = value;
    if (!value.empty())
        commonAVI_ = aviNone;
    if (!IsLoading())
        Reopen();
}

void TAnimate::SetActive(bool value)
{
    if (IsLoading() || !HandleAllocated()) {
        active_ = value;
        return;
    }
    if (!value)
        Stop();
    else if (open_)
        Play(0, -1, 0);
}

void TAnimate::Play(int from, int to, int count)
{
    if (!HandleAllocated() || !open_)
        return;
    active_ = SendMessageA(handle_, ACM_PLAY, count == 0 ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(count),
                           MAKELONG(static_cast<WORD>(from), static_cast<WORD>(to))) != 0;
}

void TAnimate::Stop()
{
    if (HandleAllocated())
        SendMessageA(handle_, ACM_STOP, 0, 0);
    active_ = false;
}

void TAnimate::Dispatch(TMessage& m)
{
    // A clip played a given number of times ends by itself.
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == ACN_STOP)
        active_ = false;
    TWinControl::Dispatch(m);
}
