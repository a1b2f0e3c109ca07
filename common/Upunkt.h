// Unit Upunkt: graphic controls that draw and operate the elements of a
// railway station diagram: points of a route and their kinds, tracks between
// them, switches, signals, barriers, level-crossing lights, and the operator
// buttons that show one element each. Trains of the timetable (TPociag,
// Upunkt_defpoc) stand at points.
//
// The unit lives in several files: Upunkt.cpp (the base, the light, the
// unit's start), UpunktPunkty.cpp (points and their kinds), UpunktTory.cpp
// (tracks, switches, barriers), UpunktSemafor.cpp (signals), UpunktButtons.cpp
// (the operator buttons) and UpunktDraw.cpp (drawing shared by them).
//
// Operations that fail report through ReportError: the error is counted,
// OnError hears of it, and TElemExc ends the operation.
#pragma once

#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Lists.h"
#include "common/Upunkt_defpoc.h"
#include "common/qmxcolorbutton.h"

class TElement;
class TPrzejazd;
class TPunkt;
class TTor;
class TRogatka;
class TZapowiedz;
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

// Told of an element's error before it is raised (nullptr: the special
// button's own error).
using TPunktError = TEvent<TElement*>;

// The element sounds are on; nothing in the programs turns them off.
extern bool ElementSounds;
// The pen width of route lines.
extern int LineWidth;
// The time against which trains are late (their texts turn bold); the
// programs never set it.
extern TDateTime CurrentTime;

enum tStan { nieaktywny, wolny, utwierdzony, zajety };
// A switch's leg, a track's side at a switch, and where a light's drawing
// hangs: from the top, or standing at the bottom.
enum tZwrStatus { gora, dol };
enum tZwrTyp { JedenNaDwa, DwaNaJeden };
enum tUkladRysowania { urGora, urSrodek, urDol };
enum tSemStatus { zielony, czerwony, bialy };
enum tSemRodzaj { Swietlny, Ksztaltowy };
enum tSemType { stLewy, stPrawy };
enum TRodzajWlotu { rwWlot, rwWylot, rwWlotWylot };
enum TTypSpecial { tsZerwijUtwierdzenie, tsWiecejInformacji };

// ---------------------------------------------------------------------------
// The base

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

    // Where the element's name is drawn, relative to the element; both 0:
    // the place of the element's kind.
    int CustomOffsetX = 0;
    int CustomOffsetY = 0;

    TPunktError OnError;
    TNotifyEvent OnModified;

    // Repaints every operator button among the owner's components that
    // shows this element.
    virtual void RepaintButtons();
    // Counts the error, fires OnError with the element, then raises
    // TElemExc (code -10) with the message.
    virtual void ReportError(const std::string& message);
    // Plays the sound of the element's kind from the program folder,
    // asynchronously, when the sounds are on and the file exists.
    virtual void PlaySound();
    // Whether this element keeps a crossing light blinking (a set or occupied
    // track holding the light).
    virtual bool KeepsCrossingBlinking(const TPrzejazd* light) const;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // The file name of the element kind's sound ("pzwr.wav"); empty: none.
    virtual std::string SoundFileName() const { return std::string(); }
    // Starts playing a wave file without waiting for its end.
    virtual void PlaySoundFile(const std::string& path);
    // Where the kind draws its name, relative to the element.
    virtual TPoint NameOffset() const { return Point(Width() + 3, Height() - 6); }
    // Draws the name in Tahoma 7 on the parent, beyond the element's bounds.
    void PaintName();
    void Notification(TComponent* component, TOperation operation) override;

private:
    int errorCount_ = 0;
    TComponent* linkedButton_ = nullptr;
};

// ---------------------------------------------------------------------------
// Level-crossing light

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

// ---------------------------------------------------------------------------
// Points

// A point of a route: a state, a train, the text over it (Elementy) and a
// track on each side.
class TPunkt : public TElement {
public:
    explicit TPunkt(TComponent* owner);

    int Pojemnosc() const { return pojemnosc_; }
    void SetPojemnosc(int value);
    tStan Stan() const { return stan_; }
    TPociag* Pociag() const { return pociag_; }
    const std::string& Elementy() const { return elementy_; }
    bool DisablePopupMenu = false;
    // The colour of each state: navy, grey, green, red.
    TColor StateColors[4];
    TColor StateColor() const { return StateColors[stan_]; }

    // Setters of Stan, Elementy and Pociag.
    virtual void SetStan(tStan value);
    virtual void SetElementy(const std::string& value);
    virtual void SetPociag(TPociag* value);
    // Where Track joins this point, in the parent's coordinates; (-1, -1)
    // when it does not.
    virtual TPoint GetConnectionPoint(const TTor* Track) const;
    // True for every point.
    virtual bool IsPoint() const { return true; }
    // The neighbour on a side (0 left, 1 right): for a point its track.
    virtual TPunkt* GetTrack(int Side) const;
    // Elementy shows the train's short text; bold while the train is late.
    virtual void UpdateTrainInfo();

    // The tracks joined to the point, kept by the tracks themselves: a
    // track joins on a side (0 left, 1 right) and, at a switch, on a leg.
    TTor* LeftTrack() const { return tracks_[0]; }
    TTor* RightTrack() const { return tracks_[1]; }
    virtual void JoinTrack(int Side, tZwrStatus Leg, TTor* Track);
    void LeaveTrack(const TTor* Track);

    void DblClick() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // The form of the train's short text for this kind of point.
    virtual int ShortTextForm() const { return 2; }
    // The fill of a point; entries, sidings and track points show their own
    // colour while free.
    virtual TColor FillColor() const { return StateColor(); }
    void Paint() override;
    // The fill, a mark in black (a siding's buffer stop, a platform's edge),
    // Elementy and the name.
    void PaintPoint(const TRect& mark);
    // Elementy centred over the point, inverting what is under it.
    void PaintElementy();
    void Notification(TComponent* component, TOperation operation) override;

    // Left, right, and a switch's left and right branch.
    TTor* tracks_[4] = {};

private:
    int pojemnosc_ = 1;
    tStan stan_ = wolny;
    std::string elementy_;
    TPociag* pociag_ = nullptr;
};

// A point on a track.
class TPunktTorowy : public TPunkt {
public:
    using TPunkt::TPunkt;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    int ShortTextForm() const override { return 1; }
    TColor FillColor() const override;
    void Paint() override;
};

// A siding; its end stop on the side given by Typ.
class TBocznica : public TPunkt {
public:
    explicit TBocznica(TComponent* owner);
    tSemType Typ() const { return typ_; }
    void SetTyp(tSemType value);
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    TColor FillColor() const override;
    TPoint NameOffset() const override { return Point(1, Height() - 2); }
    void Paint() override;

private:
    tSemType typ_ = stLewy;
};

// An entry to or exit from the station, with its announcement points.
class TWlot : public TBocznica {
public:
    explicit TWlot(TComponent* owner);
    ~TWlot() override;

    TStrings* KierunkiJazdy() const { return kierunki_.get(); }
    // Copies the list and sorts the copy.
    void SetKierunkiJazdy(TStrings* value);
    TRodzajWlotu RodzajWlotu() const { return rodzaj_; }
    void SetRodzajWlotu(TRodzajWlotu value);
    TZapowiedz* Zapowiedz() const { return zapowiedz_; }
    void SetZapowiedz(TZapowiedz* value);
    TZapowiedz* ZapowiedzRozkladu() const { return zapowiedzRozkladu_; }
    void SetZapowiedzRozkladu(TZapowiedz* value);
    int Wyprzedzenie = 0;
    // An object list the entry owns; nothing fills it.
    tQmxList* Lista() const { return lista_.get(); }

    // A train that is not a manoeuvre sounds the entry.
    void SetPociag(TPociag* value) override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    std::string SoundFileName() const override { return "pipipi.wav"; }
    int ShortTextForm() const override { return 1; }
    TPoint NameOffset() const override { return Point(5, Height()); }
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TStringList> kierunki_;
    std::unique_ptr<tQmxList> lista_;
    TRodzajWlotu rodzaj_ = rwWlot;
    TZapowiedz* zapowiedz_ = nullptr;
    TZapowiedz* zapowiedzRozkladu_ = nullptr;
};

// A point where trains are announced before they reach the station.
class TZapowiedz : public TPunkt {
public:
    using TPunkt::TPunkt;
    int Czas = 0;
    // The same train again changes nothing; the hint is the train's
    // description alone.
    void SetPociag(TPociag* value) override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    std::string SoundFileName() const override { return "zap.wav"; }
    int ShortTextForm() const override { return 0; }
    TColor FillColor() const override;
    TPoint NameOffset() const override { return Point(5, Height()); }
};

// A platform; its edge at the top (stLewy) or the bottom (stPrawy).
class TPeron : public TPunkt {
public:
    using TPunkt::TPunkt;
    tSemType Typ() const { return typ_; }
    void SetTyp(tSemType value);
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    int ShortTextForm() const override { return 1; }
    void Paint() override;

private:
    tSemType typ_ = stLewy;
};

// ---------------------------------------------------------------------------
// Tracks, switches and barriers

// A track between two points. Setting an end joins the track to that point
// (at a switch, on the leg LewyStatus / PrawyStatus names) and, once both
// ends are set, places the track over the two points.
class TTor : public TPunkt {
public:
    explicit TTor(TComponent* owner);
    ~TTor() override;

    bool Lacznikowy = false;
    TPunkt* LewyPunkt() const { return ends_[0]; }
    void SetLewyPunkt(TPunkt* value) { SetEnd(0, value); }
    TPunkt* PrawyPunkt() const { return ends_[1]; }
    void SetPrawyPunkt(TPunkt* value) { SetEnd(1, value); }
    tZwrStatus LewyStatus() const { return legs_[0]; }
    void SetLewyStatus(tZwrStatus value) { SetLeg(0, value); }
    tZwrStatus PrawyStatus() const { return legs_[1]; }
    void SetPrawyStatus(tZwrStatus value) { SetLeg(1, value); }
    TRogatka* RogatkaGorne() const { return barriers_[0]; }
    void SetRogatkaGorne(TRogatka* value) { SetReference(barriers_[0], value); }
    TRogatka* RogatkaDolne() const { return barriers_[1]; }
    void SetRogatkaDolne(TRogatka* value) { SetReference(barriers_[1], value); }
    TPrzejazd* PrzejazdGorne() const { return lights_[0]; }
    void SetPrzejazdGorne(TPrzejazd* value) { SetReference(lights_[0], value); }
    TPrzejazd* PrzejazdDolne() const { return lights_[1]; }
    void SetPrzejazdDolne(TPrzejazd* value) { SetReference(lights_[1], value); }
    // Where the track meets each end, in the parent's coordinates; (-1, -1)
    // while unknown.
    TPoint EndPoint(int side) const { return endPoints_[side]; }

    // The crossing lights follow the track's state.
    void SetStan(tStan value) override;
    // The end point of a side; an end at a switch only while the switch
    // leads back to this track.
    TPunkt* GetTrack(int Side) const override;
    bool KeepsCrossingBlinking(const TPrzejazd* light) const override;
    bool HoldsBarrier(const TRogatka* barrier) const { return barrier && (barriers_[0] == barrier || barriers_[1] == barrier); }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetEnd(int side, TPunkt* value);
    void SetLeg(int side, tZwrStatus value);
    void Connect();
    // The link is not taken back when the reference changes: another field
    // may name the same component, and Notification compares pointers only.
    template <class T>
    void SetReference(T*& field, T* value)
    {
        field = value;
        if (value)
            value->FreeNotification(this);
    }

    TPunkt* ends_[2] = {};
    tZwrStatus legs_[2] = {gora, gora};
    TRogatka* barriers_[2] = {};
    TPrzejazd* lights_[2] = {};
    TPoint endPoints_[2] = {{-1, -1}, {-1, -1}};
};

// A switch: the common leg on one side, the straight and the branch leg on
// the other (JedenNaDwa: one on the left, two on the right).
class TZwrotnica : public TPunkt {
public:
    explicit TZwrotnica(TComponent* owner);

    tZwrStatus Status() const { return status_; }
    // Refused on a set or occupied point; takes along the switch of the
    // other type at the far end of a connecting branch track.
    void SetStatus(tZwrStatus value);
    tZwrTyp Typ() const { return typ_; }
    void SetTyp(tZwrTyp value);
    tUkladRysowania LewyUkladRysowania() const { return lewyUklad_; }
    void SetLewyUkladRysowania(tUkladRysowania value);
    tUkladRysowania PrawyUkladRysowania() const { return prawyUklad_; }
    void SetPrawyUkladRysowania(tUkladRysowania value);
    // The branch track: on the right of a JedenNaDwa, on the left of a
    // DwaNaJeden.
    TTor* BranchTrack() const { return tracks_[typ_ == JedenNaDwa ? 3 : 2]; }

    // gora <-> dol; a failure is reported as "Błąd podczas przestawienia
    // zwrotnicy: " and its message.
    virtual void FlipStatus(TObject* Sender);

    TPoint GetConnectionPoint(const TTor* Track) const override;
    TPunkt* GetTrack(int Side) const override;
    void JoinTrack(int Side, tZwrStatus Leg, TTor* Track) override;
    void Click() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    std::string SoundFileName() const override { return "pzwr.wav"; }
    void Paint() override;

private:
    TZwrotnica* Follower() const;
    // The ends in the switch's own coordinates: common, straight, branch.
    void Ends(TPoint& common, TPoint& straight, TPoint& branch) const;
    tZwrStatus status_ = gora;
    tZwrTyp typ_ = JedenNaDwa;
    tUkladRysowania lewyUklad_ = urSrodek;
    tUkladRysowania prawyUklad_ = urSrodek;
};

// A barrier of a level crossing. Raised barriers switch their track off;
// with both down the track is free again.
class TRogatka : public TElement {
public:
    explicit TRogatka(TComponent* owner);

    bool Podniesione() const { return podniesione_; }
    // Refused while a track holding the barrier is set or occupied; the
    // other barrier of the track follows.
    void SetPodniesione(bool value);
    // Toggles the barrier and plays its sound.
    void Click() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    std::string SoundFileName() const override { return "pzwr.wav"; }
    TPoint NameOffset() const override { return Point(5, Height() - 2); }
    void Paint() override;

private:
    bool podniesione_ = true;
};

// ---------------------------------------------------------------------------
// Signals

class TSemafor : public TPunkt {
public:
    explicit TSemafor(TComponent* owner);

    tSemStatus Status() const { return status_; }
    // bialy (the substitute signal) runs a timer of 60 counts of 500 ms
    // that turns the signal red; any other status stops it.
    void SetStatus(tSemStatus value);
    tSemRodzaj Rodzaj() const { return rodzaj_; }
    void SetRodzaj(tSemRodzaj value);
    tSemType Typ() const { return typ_; }
    void SetTyp(tSemType value);
    // The substitute signal's timer and its count (nullptr / -1 without).
    TTimer* BlinkTimer() const { return timer_; }
    int BlinkCount() const { return count_; }

    // One tick of the substitute signal's timer.
    virtual void BlinkTick(TObject* Sender);
    // The operator's command by the point's state and the signal's status;
    // Sender is the signal itself or a button.
    virtual void OperatorCommand(TObject* Sender);

    // Tracks join the signal at the middle of the size it paints in.
    TPoint GetConnectionPoint(const TTor* Track) const override;
    void Click() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    std::string SoundFileName() const override { return "pzsem.wav"; }
    TPoint NameOffset() const override { return Point(16, 3); }
    void Paint() override;

private:
    // A refusal: reported when the signal itself was clicked; from a button,
    // the operator may give the substitute signal. Returns only when the
    // operator cancelled.
    void Refuse(TObject* Sender, const std::string& reason);
    void GiveS2(TObject* Sender);
    void WalkS2(TObject* Sender, int Side, bool& cancelled);
    void StartWaitingTrain();

    tSemStatus status_ = czerwony;
    tSemRodzaj rodzaj_ = Swietlny;
    tSemType typ_ = stLewy;
    TTimer* timer_ = nullptr;
    int count_ = -1;
};

// ---------------------------------------------------------------------------
// Operator buttons

// A button that shows one element: its caption is the element's name, its
// border the element's state colour, and a strip above the face shows the
// element's error count and a symbol of its kind. A click operates the
// element.
class TPunktButton : public TqmxColorButton {
public:
    explicit TPunktButton(TComponent* owner);

    TElement* Element() const { return element_; }
    void SetElement(TElement* value);
    tStan Stan() const { return stan_; }
    virtual void SetStan(tStan value);

    void Click() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    // The count the strip shows.
    virtual int ShownErrorCount() const;
    // A kind of button that keeps its caption when given an element.
    virtual bool KeepsCaption() const { return false; }
    void DrawButtonFace(const DRAWITEMSTRUCT& drawItem) override;
    // Draws on the face below the strip, after the button's own face.
    virtual void PaintFace(TCanvas* canvas, const TRect& face);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void PaintStrip(TCanvas* canvas, const TRect& strip);
    TElement* element_ = nullptr;
    tStan stan_ = wolny;
};

// The two buttons of the whole station: releasing every set route, and
// more information on an element.
class TSpecialPunktButton : public TPunktButton {
public:
    explicit TSpecialPunktButton(TComponent* owner);

    TTypSpecial TYp() const { return typ_; }
    void SetTYp(TTypSpecial value);
    // The button's own errors (the route release).
    int ErrorCount() const { return errorCount_; }
    TPunktError OnError;

    // Counts the error, fires OnError with no element, then raises TElemExc
    // (code -66).
    virtual void ReportError(const std::string& Message);

    void Click() override;

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    int ShownErrorCount() const override;
    bool KeepsCaption() const override { return typ_ == tsWiecejInformacji; }
    void PaintFace(TCanvas* canvas, const TRect& face) override;

private:
    void ReleaseRoutes();
    void ShowInformation();

    TTypSpecial typ_ = tsZerwijUtwierdzenie;
    int errorCount_ = 0;
};

// Unit start: registers the element and button classes for the form reader.
void InitializeUpunkt();
