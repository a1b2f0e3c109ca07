#include "common/Upunkt.h"

#include <mmsystem.h>

#include "classlib/ExtCtrls.h"
#include "classlib/TypInfo.h"
#include "common/QmxUtil.h"
#include "common/UpunktDraw.h"

bool ElementSounds = true;
int LineWidth = 1;
TDateTime CurrentTime = 0;

namespace {

constexpr int ElementErrorCode = -10;
constexpr int BlinkInterval = 500;

// The multimedia library, loaded on the first sound and kept for the run.
// It is never freed: an asynchronous sound plays on a thread of the
// library's own, which may still be running its code when the program ends.
// The sound is stopped instead; the process unloads the library after its
// threads are gone.
class TSoundLibrary {
public:
    TSoundLibrary() : module_(LoadLibraryA("winmm.dll"))
    {
        if (module_)
            play_ = reinterpret_cast<decltype(play_)>(
                reinterpret_cast<void*>(GetProcAddress(module_, "sndPlaySoundA")));
    }
    ~TSoundLibrary()
    {
        if (play_)
            play_(nullptr, 0);
    }
    TSoundLibrary(const TSoundLibrary&) = delete;
    TSoundLibrary& operator=(const TSoundLibrary&) = delete;

    void PlayAsync(const std::string& path) const
    {
        if (play_)
            play_(path.c_str(), SND_ASYNC | SND_NODEFAULT);
    }

private:
    HMODULE module_;
    BOOL(WINAPI* play_)(LPCSTR, UINT) = nullptr;
};

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2)
{
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

} // namespace

// ---------------------------------------------------------------------------
// TElemExc

namespace {

std::string ElementMessage(TElement* element, const std::string& text)
{
    return element ? text + "\r\n" + element->Name() : text;
}

} // namespace

TElemExc::TElemExc(TElement* element, int code, const std::string& text)
    : Exception(ElementMessage(element, text)), Element(element), Code(code)
{
}

// ---------------------------------------------------------------------------
// TElement

TElement::TElement(TComponent* owner) : TGraphicControl(owner)
{
    SetShowHint(true);
    SetBounds(Left(), Top(), 16, 16);
    SetParentFont(true);
}

TElement::~TElement()
{
    SetLinkedButton(nullptr);
}

void TElement::SetLinkedButton(TComponent* button)
{
    if (button == linkedButton_)
        return;
    if (linkedButton_)
        linkedButton_->RemoveFreeNotification(this);
    linkedButton_ = button;
    if (button)
        button->FreeNotification(this);
}

void TElement::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == linkedButton_)
        linkedButton_ = nullptr;
}

void TElement::RepaintButtons()
{
    if (!Owner())
        return;
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TPunktButton*>(Owner()->Components(i)); button && button->Element() == this)
            button->Repaint();
}

void TElement::ReportError(const std::string& message)
{
    ++errorCount_;
    RepaintButtons();
    OnError(this);
    throw TElemExc(this, ElementErrorCode, message);
}

void TElement::PlaySound()
{
    if (!ElementSounds)
        return;
    const std::string name = SoundFileName();
    if (name.empty())
        return;
    const std::string path = GetProgramFolder() + name;
    if (FileExists(path))
        PlaySoundFile(path);
}

void TElement::PlaySoundFile(const std::string& path)
{
    static const TSoundLibrary library;
    library.PlayAsync(path);
}

bool TElement::KeepsCrossingBlinking(const TPrzejazd*) const
{
    return false;
}

void TElement::PaintName()
{
    const TPoint offset = CustomOffsetX || CustomOffsetY ? Point(CustomOffsetX, CustomOffsetY) : NameOffset();
    upunkt::DrawNameOutside(Canvas(), offset, Name());
}

const TClassInfo* TElement::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TElement::StaticClass()
{
    static const TClassInfo info("TElement", &TGraphicControl::StaticClass(), nullptr,
                                 {
                                     PublishInteger<&TElement::CustomOffsetX, &TElement::CustomOffsetX>("CustomOffsetX"),
                                     PublishInteger<&TElement::CustomOffsetY, &TElement::CustomOffsetY>("CustomOffsetY"),
                                     PublishEvent<&TElement::OnError>("OnError"),
                                     PublishEvent<&TElement::OnModified>("OnModified"),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// TPrzejazd

TPrzejazd::TPrzejazd(TComponent* owner) : TElement(owner)
{
    SetBounds(Left(), Top(), 16, 4);
}

void TPrzejazd::SetMigajacy(bool value)
{
    if (value == migajacy_)
        return;
    migajacy_ = value;
    if (value) {
        timer_ = new TTimer(this);
        timer_->SetInterval(BlinkInterval);
        timer_->OnTimer = TNotifyEvent(this, &TPrzejazd::BlinkTick);
    } else {
        delete timer_;
        timer_ = nullptr;
    }
    RepaintButtons();
    Repaint();
}

void TPrzejazd::SetTyp(tZwrStatus value)
{
    if (value == typ_)
        return;
    typ_ = value;
    Repaint();
}

void TPrzejazd::BlinkTick(TObject*)
{
    phase_ = !phase_;
    Repaint();
}

void TPrzejazd::UpdateFromTracks()
{
    bool blink = false;
    if (Owner())
        for (int i = 0; i < Owner()->ComponentCount() && !blink; ++i)
            if (auto* element = dynamic_cast<TElement*>(Owner()->Components(i)))
                blink = element->KeepsCrossingBlinking(this);
    SetMigajacy(blink);
}

void TPrzejazd::Paint()
{
    TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    const int c = w / 2;
    const int y0 = typ_ == gora ? 0 : h - 8;
    const int y1 = typ_ == gora ? 6 : h - 14;

    // The post.
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlack);
    canvas->Pen()->SetColor(clBlack);
    canvas->Rectangle(c - 1, 0, c + 1, h - 1);

    // The double cross, with a white line along each arm.
    canvas->Pen()->SetColor(clMaroon);
    Line(canvas, 0, y0, w - 1, y0 + 5);
    Line(canvas, 0, y0 + 5, w - 1, y0);
    Line(canvas, 0, y0 + 2, w - 1, y0 + 7);
    Line(canvas, 0, y0 + 7, w - 1, y0 + 2);
    canvas->Pen()->SetColor(clWhite);
    Line(canvas, 0, y0 + 1, w - 1, y0 + 6);
    Line(canvas, 0, y0 + 6, w - 1, y0 + 1);

    // The lamps: one red at a time while blinking.
    canvas->Pen()->SetColor(clGray);
    canvas->Brush()->SetColor(migajacy_ && phase_ ? clRed : clSilver);
    canvas->Ellipse(c - 7, y1, c - 2, y1 + 6);
    canvas->Brush()->SetColor(migajacy_ && !phase_ ? clRed : clSilver);
    canvas->Ellipse(c + 2, y1, c + 7, y1 + 6);
}

const TClassInfo* TPrzejazd::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TPrzejazd::StaticClass()
{
    static const TClassInfo info("TPrzejazd", &TElement::StaticClass(), &NewComponent<TPrzejazd>,
                                 {
                                     PublishBoolean<&TPrzejazd::Migajacy, &TPrzejazd::SetMigajacy>("Migajacy"),
                                     PublishEnum<&TPrzejazd::Typ, &TPrzejazd::SetTyp>("Typ", {"gora", "dol"}),
                                 });
    return info;
}

// ---------------------------------------------------------------------------
// Unit

void InitializeUpunkt()
{
    for (const TClassInfo* info :
         {&TPrzejazd::StaticClass(), &TPunkt::StaticClass(), &TPunktTorowy::StaticClass(), &TBocznica::StaticClass(),
          &TWlot::StaticClass(), &TZapowiedz::StaticClass(), &TPeron::StaticClass(), &TTor::StaticClass(),
          &TZwrotnica::StaticClass(), &TSemafor::StaticClass(), &TRogatka::StaticClass(),
          &TPunktButton::StaticClass(), &TSpecialPunktButton::StaticClass()})
        RegisterComponentClass(*info);
}
