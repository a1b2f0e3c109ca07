#include "tests/common_station/StationTestUtil.h"

#include <windows.h>

#include "classlib/TypInfo.h"
#include "common/QmxUtil.h"
#include "common/qmxcolorbutton.h"

namespace {

// Made when missing and never removed: test processes of this program run
// side by side and all want them.
void EnsureSoundFiles()
{
    for (const char* name : {"pzwr.wav", "pzsem.wav", "zap.wav", "pipipi.wav"}) {
        const std::string path = GetProgramFolder() + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD written = 0;
        WriteFile(file, "RIFF", 4, &written, nullptr);
        CloseHandle(file);
    }
}

} // namespace

void EnsureStationTestUnits()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    InitFormsUnit();
    qmxcolorbuttonStartup();
    InitializeUpunkt();
    EnsureSoundFiles();
}

TDialogAnswers::TDialogAnswers(std::initializer_list<int> answers) : answers_(answers)
{
    MessageDlgHook = TMessageDlgHook(this, &TDialogAnswers::Answer);
}

TDialogAnswers::~TDialogAnswers()
{
    MessageDlgHook = TMessageDlgHook();
}

void TDialogAnswers::Answer(const TMsgDlgRequest& request, int& result)
{
    Asked.push_back(request);
    result = mrOk;
    if (!answers_.empty()) {
        result = answers_.front();
        answers_.pop_front();
    }
}

std::vector<std::string> TDialogAnswers::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& r : Asked)
        texts.push_back(r.Text);
    return texts;
}

void TEventLog::Watch(TElement* e)
{
    e->OnModified = TNotifyEvent(this, &TEventLog::Modified);
    e->OnClick = TNotifyEvent(this, &TEventLog::Click);
    e->OnError = TPunktError(this, &TEventLog::Error);
}

TTestStation::TTestStation() : form_(new TForm(Application))
{
    form_->SetBounds(40, 40, 400, 300);
    form_->SetColor(clWhite);
}

TTestStation::~TTestStation()
{
    form_->Free();
}

TTor* TTestStation::Join(const std::string& name, TPunkt* left, TPunkt* right, tZwrStatus leftLeg,
                         tZwrStatus rightLeg)
{
    auto* track = Add<TTor>(name);
    track->SetLewyStatus(leftLeg);
    track->SetPrawyStatus(rightLeg);
    track->SetLewyPunkt(left);
    track->SetPrawyPunkt(right);
    return track;
}

std::unique_ptr<TBitmap> PaintForm(TForm* form)
{
    const TRect r = form->ClientRect();
    auto picture = std::make_unique<TBitmap>(r.right, r.bottom, pf24bit);
    for (int pass = 0; pass < 2; ++pass) {
        picture->Canvas()->Brush()->SetColor(form->Color());
        picture->Canvas()->FillRect(r);
        form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(picture->Canvas()->Handle()));
    }
    return picture;
}

int CountColor(TBitmap& picture, const TRect& r, TColor color)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += picture.Canvas()->Pixels(x, y) == color;
    return n;
}
