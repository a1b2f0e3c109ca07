// Unit Upunkt: graphic controls that draw and operate the elements of a
// railway station diagram. This part holds their base TElement, the error
// they raise (TElemExc), the element sounds and the level-crossing light
// TPrzejazd, whose two lamps blink alternately.
//
// The station elements (points, tracks, switches, signals, barriers) and the
// operator buttons that show an element build on the virtual operations of
// TElement: RepaintButtons, ReportError, PlaySound with SoundFileName and
// PlaySoundFile, and KeepsCrossingBlinking, which a track answers for the
// crossing lights it holds.
#pragma once

#include <string>

#include "classlib/Controls.h"

class TElement;
class TPrzejazd;
class TTimer;

// An element's error: the element (nullptr for errors of the library's
// special button), a code and the message.
class TElemExc : public Exception {
public:
    // The message is Text, a line break and the element's name; Text alone
    // without an element.
    TElemExc(TElement* element, int code, const std::string& text);
    TElement* Element;
    int Code;  // -10 element errors, -66 errors of the special button
};

// Told of an element's error before it is raised.
using TPunktError = TEvent<TElement*>;

// The element sounds are on; nothing in the programs turns them off.
extern bool ElementSounds;

class TElement : public TGraphicControl {
public:
    explicit TElement(TComponent* owner);
    ~TElement() override;

    // Errors reported by this element (the operator buttons show the count).
    int ErrorCount() const { return errorCount_; }

    // The operator button that shows this element; set by that button and
    // cleared when the button is freed.
    TComponent* LinkedButton() const { return linkedButton_; }
    void SetLinkedButton(TComponent* button);

    // Where the element's name is drawn, relative to the element.
    int CustomOffsetX = 0;
    int CustomOffsetY = 0;

    TPunktError OnError;
    TNotifyEvent OnModified;

    // Repaints the operator buttons among the owner's components that show
    // this element.
    virtual void RepaintButtons();
    // Counts the error, fires OnError with the element, then raises
    // TElemExc (code -10) with the message.
    virtual void ReportError(const std::string& message);
    // Plays the sound of the element's kind from the program folder,
    // asynchronously, when the sounds are on and the file exists.
    virtual void PlaySound();
    // Whether this element keeps a crossing light blinking (a set or occupied
    // track holding the light); no plain element does.
    virtual bool KeepsCrossingBlinking(const TPrzejazd* light) const;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // The file name of the element kind's sound ("pzwr.wav"); empty: none.
    virtual std::string SoundFileName() const { return std::string(); }
    // Starts playing a wave file without waiting for its end.
    virtual void PlaySoundFile(const std::string& path);
    void Notification(TComponent* component, TOperation operation) override;

private:
    int errorCount_ = 0;
    TComponent* linkedButton_ = nullptr;
};

// Where the light's drawing hangs: from the top, or standing at the bottom.
enum tZwrStatus { gora, dol };

class TPrzejazd : public TElement {
public:
    explicit TPrzejazd(TComponent* owner);

    // The lamps blink: a timer of 500 ms flips the phase.
    bool Migajacy() const { return migajacy_; }
    void SetMigajacy(bool value);
    tZwrStatus Typ() const { return typ_; }
    void SetTyp(tZwrStatus value);
    // Set: the left lamp is lit while blinking; clear: the right one.
    bool Phase() const { return phase_; }
    // The blink timer; nullptr while the light does not blink.
    TTimer* BlinkTimer() const { return timer_; }

    // Blinks while any element of the owner keeps it blinking (a set or
    // occupied track holding it).
    virtual void UpdateFromTracks();

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;

private:
    void BlinkTick(TObject* sender);

    bool migajacy_ = false;
    tZwrStatus typ_ = gora;
    bool phase_ = false;
    TTimer* timer_ = nullptr;
};

// Unit start: registers TPrzejazd for the form reader.
void InitializeUpunkt();
