// The HTML mini-renderer: draws a small HTML-like markup into a rectangle of a
// canvas, or only measures it, or tells which link ("anchor") lies under a
// point. Every list box, label, list-view item and grid cell that shows
// formatted text goes through DrawHtmlText.
//
// Markup: <B> <I> <U> <S> <SUB> <SUP> and their closing tags, <BR>, <HR>,
// <P align>, </P>, <A href="...">, <FONT face color bgcolor size>,
// <BODY bgcolor>, <IND x="n">, <IMG src="..." align="top|middle">. Image
// sources: "idx:n" (an image of the caller's image list), "ssys:" and "lsys:"
// (the small or large shell icon of a path or of an icon number) and
// "file://path" (a bitmap file). There are no character entities: every "<"
// starts a tag. Blanks are never collapsed; a tab or a line end of the text
// (CR LF counting as one) shows as one blank, except that a line end where a
// line begins takes no room.
#pragma once

#include <string>

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"

// What the renderer understands. The default is the whole markup; the
// organizer's own list boxes draw with an older, smaller set, which is these
// switches turned off.
struct THtmlFeatures {
    // <S>, <SUB>, <SUP> and the closing S tags: strike-through, subscript and
    // superscript (and the room a line keeps for them).
    bool ScriptTags = true;
    // The align attribute of IMG ("top", "middle"), which raises the text of
    // the line.
    bool ImageAlign = true;
    // Stretch and Scale apply to images.
    bool ImageScale = true;
    // An image inside an anchor is a hit like the anchor's words.
    bool ImageAnchors = true;
    // An "idx:" number outside the image list takes no room; when off, every
    // "idx:" image takes the list's image size.
    bool ImageIndexChecked = true;
};

// Draws (or, with MeasureOnly, only measures) Html into Rect of Canvas,
// starting from the canvas's font and brush.
//   Images: the image list of "idx:" sources, or nullptr.
//   X, Y: the point to hit-test, in the canvas's coordinates.
//   HitTest: each line's second pass tests the words under the point
//     instead of drawing them (images inside anchors are tested either way).
//   MeasureOnly: nothing is drawn and every line is laid out, however far
//     it reaches below Rect; otherwise lines stop at Rect's bottom (the
//     first line is always drawn).
//   Stretch, Scale: images drawn and measured at their size times Scale.
//   URLColor: the font colour of anchors.
// Out: Anchor, the href of the anchor under the point (valid when the result
// is True); PlainText, the words without tags, a carriage return for each
// <BR>; XSize, the widest line; YSize, the height of the lines laid out (the
// height of "gh" for an empty markup).
// Result: the point lies on an anchor of a line that was drawn or tested.
// The canvas font is put back as it was; the brush colour and the text
// background mode are left as the markup set them. No markup makes it raise:
// what cannot be read (a size or an image number that is no number, a file
// that is no bitmap) is left out, as callers draw from paint handlers.
bool DrawHtmlText(TCanvas* Canvas, const std::string& Html, const TRect& Rect, TCustomImageList* Images, int X,
                  int Y, bool HitTest, bool MeasureOnly, bool Stretch, double Scale, TColor URLColor,
                  std::string& Anchor, std::string& PlainText, int& XSize, int& YSize);

// DrawHtmlText with a chosen set of features.
bool DrawHtmlTextWith(const THtmlFeatures& Features, TCanvas* Canvas, const std::string& Html, const TRect& Rect,
                      TCustomImageList* Images, int X, int Y, bool HitTest, bool MeasureOnly, bool Stretch,
                      double Scale, TColor URLColor, std::string& Anchor, std::string& PlainText, int& XSize,
                      int& YSize);

// True for an anchor the programs may hand to the shell: a web or mail link
// (http, https, ftp, mailto at the start, any letter case). The shell runs
// whatever another scheme names ("file:///...exe" starts the program).
bool IsWebOrMailLink(const std::string& Anchor);

// Text from elsewhere (a server's list, a cabinet's names) as markup that
// shows it as it is: the markup knows no character entities, so its "<" and
// ">" become the angle quotes "‹" and "›" and no tag of its own takes
// effect (an anchor would hand a click to the shell).
std::string TextAsHtml(std::string Text);

// The colour of a lower-case colour name such as "clred" or "clbtnface"; 0
// (black) for a name it does not know.
TColor ColorFromName(const std::string& Name);
// "#RRGGBB" as a colour (0x00BBGGRR); the first character is skipped
// unseen and missing digits count as 0.
TColor HtmlColorToColor(const std::string& Value);
// Two hexadecimal digits (digits and upper-case A to F) as a byte.
unsigned char HexPairToByte(char High, char Low);
// The 1-based position of Sub in S, letter case ignored; 0 when absent.
int UpperPos(const std::string& Sub, const std::string& S);

// Draws (when Draw is set) the icon of the system image list (Large: the
// large list, else the small one) with its top left at (X, Y). Source is an
// icon number, or a path: an existing file or folder gives its own icon,
// any other name the icon of its file type; an empty Source gives icon 0.
// Size receives the list's icon size in any case. With Stretch the icon is
// drawn at its size times Scale.
void DrawShellIcon(TCanvas* Canvas, int X, int Y, const std::string& Source, bool Large, bool Draw, bool Stretch,
                   double Scale, TSize& Size);

// Copies the whole bitmap into Rect of the canvas, stretched or shrunk to fit
// (StretchDIBits, SRCCOPY).
void DrawStretchedBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap);
