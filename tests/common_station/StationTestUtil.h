// What the tests of the railway elements share: the units they need, the
// operator's answers to the elements' dialogs, elements that record their
// sounds, a station built in code, and pictures of a form.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/TypInfo.h"
#include "common/Upunkt.h"
#include "tests/support/TestUtil.h"

// The forms unit, the colour button and the element library, once per test
// program; the element sounds as files of the program folder.
void EnsureStationTestUnits();

// Answers the message dialogs in place of the operator while it lives, from a
// list of answers (mrOk once the list is used up), and records what was asked.
class TDialogAnswers {
public:
    explicit TDialogAnswers(std::initializer_list<int> answers = {});
    ~TDialogAnswers();
    TDialogAnswers(const TDialogAnswers&) = delete;
    TDialogAnswers& operator=(const TDialogAnswers&) = delete;

    std::vector<TMsgDlgRequest> Asked;
    // The texts asked, in order.
    std::vector<std::string> Texts() const;

private:
    void Answer(const TMsgDlgRequest& request, int& result);
    std::deque<int> answers_;
};

// An element that records the sound files it would play (their bare names).
template <class E>
class TQuiet : public E {
public:
    using E::E;
    std::vector<std::string> Played;

protected:
    void PlaySoundFile(const std::string& path) override { Played.push_back(path.substr(path.rfind('\\') + 1)); }
};

// Counts what an element's handlers hear.
struct TEventLog {
    int modified = 0;
    int clicks = 0;
    std::vector<TElement*> errors;
    void Modified(TObject*) { ++modified; }
    void Click(TObject*) { ++clicks; }
    void Error(TElement* e) { errors.push_back(e); }
    void Watch(TElement* e);
};

// A form holding elements made in code; freed with the object.
class TTestStation {
public:
    TTestStation();
    ~TTestStation();
    TTestStation(const TTestStation&) = delete;
    TTestStation& operator=(const TTestStation&) = delete;

    TForm* Form() const { return form_; }
    template <class T>
    T* Add(const std::string& name, int left = 0, int top = 0, int width = 0, int height = 0)
    {
        auto* e = new T(form_);
        e->SetName(name);
        if (width > 0)
            e->SetBounds(left, top, width, height);
        else
            e->SetBounds(left, top, e->Width(), e->Height());
        e->SetParent(form_);
        return e;
    }
    // A track between two points.
    TTor* Join(const std::string& name, TPunkt* left, TPunkt* right, tZwrStatus leftLeg = gora,
               tZwrStatus rightLeg = gora);

private:
    TForm* form_;
};

// The form's client area painted into a bitmap, as it would show. Painted
// twice, so that signals have taken their size.
std::unique_ptr<TBitmap> PaintForm(TForm* form);

// The pixels of a colour within a rectangle of a picture.
int CountColor(TBitmap& picture, const TRect& r, TColor color);

// The raised error of f, or "" when it raised none.
template <class F>
std::string ErrorOf(F&& f)
{
    try {
        f();
    } catch (const TElemExc& e) {
        return e.Message();
    }
    return std::string();
}
