// The rich edit: the system's rich-text edit control ("RichEdit20A" of
// riched20.dll) with its paragraphs as Lines, the selection and the character
// attributes of the selection.
//
// Unit start: InitRichEditUnit loads riched20.dll (which registers the
// window class) and registers TRichEdit for forms; DoneRichEditUnit lets the
// library go once no rich edit is left. A program starts the unit after the
// forms unit: StartUnit(InitRichEditUnit, DoneRichEditUnit).
//
// Lines are paragraphs, whatever the word wrap shows on the screen; each line
// added ends with its paragraph mark. Lines.Add and Insert put plain text in
// (never read as rich text), in the attributes of the selection at the moment
// of the call: set SelAttributes, then add the line. Lines.Text (and LoadFromStream) read rich text when PlainText is
// False and the text starts with "{\rtf"; anything else is plain text.
// The window keeps its contents, formatting included, when it is made anew.
#pragma once

#include <windows.h>

#include <richedit.h>

#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Lists.h"

class TRichEdit;

// The character attributes of the rich edit's selection, read from and
// written to the window each time (an empty selection: the attributes that
// typed or added text will get). Setting one attribute leaves the others.
class TTextAttributes : public TPersistent {
public:
    explicit TTextAttributes(TRichEdit* owner) : owner_(owner) {}

    TFontStyles Style() const;
    void SetStyle(TFontStyles style);
    TColor Color() const;
    void SetColor(TColor color);
    std::string Name() const;
    void SetName(const std::string& name);
    int Size() const;  // points
    void SetSize(int points);

    // From a font or other text attributes: style, colour, name and size.
    void Assign(const TPersistent* source) override;

private:
    TRichEdit* owner_;
};

class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* owner);
    ~TRichEdit() override;

    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* lines) { lines_->Assign(lines); }

    // Positions count characters; a paragraph break is one character.
    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    std::string SelText();
    // Replaces the selection by plain text.
    void SetSelText(const std::string& text);
    void SelectAll();
    void Clear();
    TTextAttributes* SelAttributes() { return &selAttributes_; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool value) { plainText_ = value; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TNotifyEvent OnChange;

protected:
    friend class TRichEditStrings;
    friend class TTextAttributes;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // The contents go back after the font: setting the font formats all text.
    void CreateHandle() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Change() { OnChange(this); }

    // The window, made now when it can be; nullptr while the control cannot
    // have one (no parent window yet, being read from a form).
    HWND WindowIfAny();
    // The character format of the selection.
    CHARFORMAT2A GetSelFormat();
    void SetSelFormat(const CHARFORMAT2A& format);
    // Replaces the characters from start to end by plain text in the given
    // format; the caret ends after it.
    void ReplaceRange(int start, int end, const std::string& text, const CHARFORMAT2A& format);
    // Replaces everything: rich text when rich is set, else plain text.
    void LoadText(const std::string& text, bool rich);
    // The whole text with a CR between paragraphs.
    std::string RawText();

private:
    std::unique_ptr<TStrings> lines_;
    TTextAttributes selAttributes_;
    bool readOnly_ = false;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool hideSelection_ = true;
    bool plainText_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    // The contents while there is no window: rich text kept when the window
    // went, or plain lines given before it was first made.
    std::string savedRtf_;
    bool haveSavedRtf_ = false;
    std::unique_ptr<TStringList> pendingLines_;
};

void InitRichEditUnit();
void DoneRichEditUnit();
