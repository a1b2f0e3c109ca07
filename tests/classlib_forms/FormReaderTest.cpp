#include "classlib/FormReader.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FormTestComponents.h"

namespace {

class FormReader : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        FormLog().clear();
    }

    TTestItem* Item(const char* name) { return dynamic_cast<TTestItem*>(form.FindComponent(name)); }

    TTestForm form;
};

// The order of creation, parents, setters and Loaded, and the loading state
// each of them saw.
TEST_F(FormReader, ReadsInOrderWhileLoadingThenCallsLoaded)
{
    ReadFormText(&form,
                 "object Form1: TTestForm\n"
                 "  Caption = 'Okno'\n"
                 "  object Button1: TTestItem\n"
                 "    Left = 10\n"
                 "    Link = Inner\n"
                 "  end\n"
                 "  object Panel: TTestItem\n"
                 "    Left = 20\n"
                 "    object Inner: TTestItem\n"
                 "      Left = 30\n"
                 "    end\n"
                 "  end\n"
                 "end\n");

    const std::vector<std::string> expected = {
        "Form1.Caption loading",
        "Create",
        "Button1.Parent=Form1 loading",
        "Button1.Left=10 loading",
        "Create",
        "Panel.Parent=Form1 loading",
        "Panel.Left=20 loading",
        "Create",
        "Inner.Parent=Panel loading",
        "Inner.Left=30 loading",
        // References once everything exists, then Loaded, the root last.
        "Button1.Link=Inner loading",
        "Loaded Button1 loading",
        "Loaded Panel loading",
        "Loaded Inner loading",
        "Loaded Form1 loading",
    };
    EXPECT_EQ(FormLog(), expected);

    EXPECT_EQ(form.Name(), "Form1");
    ASSERT_EQ(form.ComponentCount(), 3);
    EXPECT_EQ(form.Components(0)->Name(), "Button1");
    EXPECT_EQ(form.Components(1)->Name(), "Panel");
    EXPECT_EQ(form.Components(2)->Name(), "Inner");
    EXPECT_EQ(Item("Inner")->Owner(), &form);
    EXPECT_EQ(Item("Inner")->Parent(), Item("Panel"));
    EXPECT_FALSE(form.IsLoading());
    for (int i = 0; i < form.ComponentCount(); ++i)
        EXPECT_FALSE(form.Components(i)->IsLoading()) << form.Components(i)->Name();

    // The form's fields of those names.
    EXPECT_EQ(form.Button1, Item("Button1"));
    EXPECT_EQ(form.Panel, Item("Panel"));
}

// Two forms of one class side by side: the second takes a name of its own.
TEST_F(FormReader, ASecondFormOfTheOwnerGetsAFreeName)
{
    const char* text = "object Form1: TTestForm\n  object Button1: TTestItem\n  end\nend\n";
    TComponent owner(nullptr);
    auto* first = new TTestForm(&owner);
    auto* second = new TTestForm(&owner);
    auto* third = new TTestForm(&owner);
    ReadFormText(first, text);
    ReadFormText(second, text);
    ReadFormText(third, text);
    EXPECT_EQ(first->Name(), "Form1");
    EXPECT_EQ(second->Name(), "Form1_1");
    EXPECT_EQ(third->Name(), "Form1_2");
    EXPECT_NE(third->Button1, nullptr);
}

// Loaded runs once every component is read: a reference to one written
// further down is set, and that one's properties too.
TEST_F(FormReader, LoadedSeesLaterComponentsFinished)
{
    ReadFormText(&form,
                 "object Form1: TTestForm\n"
                 "  ActiveItem = Last\n"
                 "  object First: TTestItem\n"
                 "    Link = Last\n"
                 "  end\n"
                 "  object Last: TTestItem\n"
                 "    Left = 77\n"
                 "    Link = Form1Item\n"
                 "  end\n"
                 "  object Form1Item: TTestItem\n"
                 "  end\n"
                 "end\n");
    TTestItem* first = Item("First");
    EXPECT_TRUE(first->LinkSetAtLoaded);
    EXPECT_EQ(first->LinkLeftAtLoaded, 77);
    EXPECT_EQ(first->Link(), Item("Last"));
    EXPECT_EQ(Item("Last")->Link(), Item("Form1Item"));
    EXPECT_EQ(form.ActiveItem, Item("Last"));
}

TEST_F(FormReader, BindsEventsToTheFormsHandlers)
{
    ReadFormText(&form,
                 "object Form1: TTestForm\n"
                 "  object Button1: TTestItem\n"
                 "    OnClick = ButtonClick\n"
                 "    OnMeasure = Measure\n"
                 "  end\n"
                 "  object Panel: TTestItem\n"
                 "    OnClick = panelclick\n"
                 "  end\n"
                 "end\n");
    form.Button1->OnClick(form.Button1);
    form.Panel->OnClick(form.Panel);
    int size = 0;
    form.Button1->OnMeasure(form.Button1, size);
    EXPECT_EQ(form.Clicks, (std::vector<std::string>{"ButtonClick Button1", "PanelClick Panel"}));
    EXPECT_EQ(size, 42);
    EXPECT_EQ(form.Button1->OnClick.Object(), &form);
}

TEST_F(FormReader, SetsValuesOfEveryKind)
{
    ReadFormText(&form,
                 "object Form1: TTestForm\n"
                 "  object Button1: TTestItem\n"
                 "    Left = -11\n"
                 "    Caption = 'It''s '#13#10'Zażółć'#$41 +\n"
                 "      ' gęślą jaźń'\n"
                 "    Visible = False\n"
                 "    Kind = tkThree\n"
                 "    Options = [toA, toC]\n"
                 "    Color = clRed\n"
                 "    Ratio = 36528.5\n"
                 "    Font.Name = 'Tahoma'\n"
                 "    Font.Size = $0A\n"
                 "    Font.Style = [fsBold]\n"
                 "    Lines.Strings = (\n"
                 "      'first line'\n"
                 "      ''\n"
                 "      'third' + ' line')\n"
                 "    Items = ('a' 'b')\n"
                 "  end\n"
                 "  object Panel: TTestItem\n"
                 "    Options = []\n"
                 "    Color = 13555641\n"
                 "    Ratio = -25E-1\n"
                 "    Lines.Strings = ()\n"
                 "  end\n"
                 "end\n");
    TTestItem* b = form.Button1;
    EXPECT_EQ(b->Left(), -11);
    EXPECT_EQ(b->Caption, "It's \r\nZażółćA gęślą jaźń");
    EXPECT_FALSE(b->Visible);
    EXPECT_EQ(b->Kind, tkThree);
    EXPECT_EQ(b->Options, toA | toC);
    EXPECT_EQ(b->Color, 0x0000FF);
    EXPECT_EQ(b->Ratio, 36528.5);
    EXPECT_EQ(b->Font()->Name, "Tahoma");
    EXPECT_EQ(b->Font()->Size, 10);
    EXPECT_EQ(b->Font()->Style, 1u);
    EXPECT_EQ(b->Lines()->Text(), "first line\r\n\r\nthird line\r\n");
    EXPECT_EQ(b->Items()->Text(), "a\r\nb\r\n");
    EXPECT_EQ(form.Panel->Options, 0u);
    EXPECT_EQ(form.Panel->Color, 13555641);
    EXPECT_EQ(form.Panel->Ratio, -2.5);
    EXPECT_EQ(form.Panel->Lines()->Count(), 0);
    // The string list went through the setter, while loading.
    EXPECT_NE(std::find(FormLog().begin(), FormLog().end(), "Button1.Lines=3 loading"), FormLog().end());
}

// Each item takes the properties written for it, the others keep their
// defaults; the collection's owner hears of the items once, when all are read.
TEST_F(FormReader, ReadsCollectionItemsInOrder)
{
    ReadFormText(&form,
                 "object Form1: TTestForm\n"
                 "  object Button1: TTestItem\n"
                 "    Entries = <\n"
                 "      item\n"
                 "        Caption = 'Zażółć'\n"
                 "        Width = 150\n"
                 "      end\n"
                 "      ITEM\n"
                 "        Kind = tkTwo\n"
                 "        Caption = 'gęślą' +\n"
                 "          ' jaźń'\n"
                 "      End\n"
                 "      item end>\n"
                 "    Left = 5\n"
                 "  end\n"
                 "  object Panel: TTestItem\n"
                 "    Entries = <>\n"
                 "  end\n"
                 "end\n");
    const TTestEntries* entries = form.Button1->Entries();
    ASSERT_EQ(entries->Count(), 3);
    const struct {
        const char* caption;
        int width;
        TItemKind kind;
    } expected[] = {{"Zażółć", 150, tkOne}, {"gęślą jaźń", 50, tkTwo}, {"", 50, tkOne}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries->Items(i)->Caption, expected[i].caption);
        EXPECT_EQ(entries->Items(i)->Width, expected[i].width);
        EXPECT_EQ(entries->Items(i)->Kind, expected[i].kind);
    }
    EXPECT_EQ(form.Button1->Left(), 5);
    EXPECT_EQ(form.Panel->Entries()->Count(), 0);

    std::vector<std::string> told;
    for (const std::string& line : FormLog())
        if (line.find(".Entries=") != std::string::npos)
            told.push_back(line);
    EXPECT_EQ(told, (std::vector<std::string>{"Button1.Entries=3 loading", "Panel.Entries=0 loading"}));
}

// A bad description: its error text, and nothing of it left in the form.
TEST_F(FormReader, BadDescriptionsNameLineComponentAndProperty)
{
    struct Case {
        const char* body;  // between "object Form1: TTestForm" and "end"
        const char* error;
    };
    const Case cases[] = {
        {"  object Button1: TTestItem\n    Captoin = 'x'\n  end\n",
         "Line 3: Error reading Button1.Captoin: Property Captoin does not exist in TTestItem"},
        {"  object Button1: TTestItem\n    Font.Colour = 1\n  end\n",
         "Line 3: Error reading Button1.Font.Colour: Property Colour does not exist in TItemFont"},
        {"  object Button1: TTestItem\n    Left.Size = 1\n  end\n",
         "Line 3: Error reading Button1.Left.Size: Property Left has no properties"},
        {"  object Button1: TNoSuchButton\n  end\n", "Line 2: Error reading Button1: Class TNoSuchButton not found"},
        {"  object Button1: TTestItem\n    Left = 'ten'\n  end\n", "Line 3: Error reading Button1.Left: Integer expected"},
        {"  object Button1: TTestItem\n    Caption = 12\n  end\n", "Line 3: Error reading Button1.Caption: String expected"},
        {"  object Button1: TTestItem\n    Left = 1.5\n  end\n",
         "Line 3: Error reading Button1.Left: Integer expected"},
        {"  object Button1: TTestItem\n    Ratio = 'half'\n  end\n",
         "Line 3: Error reading Button1.Ratio: Number expected"},
        {"  object Button1: TTestItem\n    Ratio = 1.\n  end\n", "Line 3: Error reading Button1.Ratio: Number expected"},
        {"  object Button1: TTestItem\n    Ratio = 1.5.2\n  end\n",
         "Line 3: Error reading Button1.Ratio: Number expected"},
        {"  object Button1: TTestItem\n    Kind = 1\n  end\n", "Line 3: Error reading Button1.Kind: Identifier expected"},
        {"  object Button1: TTestItem\n    Options = toA\n  end\n", "Line 3: Error reading Button1.Options: Set expected"},
        {"  object Button1: TTestItem\n    Lines = 'one'\n  end\n",
         "Line 3: Error reading Button1.Lines: List of strings expected"},
        {"  object Button1: TTestItem\n    Link = 'Panel'\n  end\n",
         "Line 3: Error reading Button1.Link: Component name expected"},
        {"  object Button1: TTestItem\n    OnClick = 'ButtonClick'\n  end\n",
         "Line 3: Error reading Button1.OnClick: Handler name expected"},
        {"  object Button1: TTestItem\n    Font = 'Tahoma'\n  end\n",
         "Line 3: Error reading Button1.Font: Property Font is an object: set its properties (Font.Name = ...)"},
        {"  object Button1: TTestItem\n    Left = 99999999999\n  end\n",
         "Line 3: Error reading Button1.Left: '99999999999' is not a valid integer value"},
        {"  object Button1: TTestItem\n    Kind = tkNine\n  end\n",
         "Line 3: Error reading Button1.Kind: Invalid value \"tkNine\" for property Kind"},
        {"  object Button1: TTestItem\n    Font.Style = [fsBold, fsBlod]\n  end\n",
         "Line 3: Error reading Button1.Font.Style: Invalid set member fsBlod for property Style"},
        {"  object Button1: TTestItem\n    Caption = 'Dalej >\n  end\n",
         "Line 3: Error reading Button1.Caption: Unterminated string"},
        {"  object Button1: TTestItem\n    Caption = 'a'#256\n  end\n",
         "Line 3: Error reading Button1.Caption: Character code out of range"},
        {"  object Button1: TTestItem\n    Caption = 'a' +\n  end\n",
         "Line 4: Error reading Button1.Caption: String expected"},
        {"  object Button1: TTestItem\n    Lines.Strings = (\n      'a'\n", "Line 5: Error reading Button1.Lines.Strings: String or ')' expected"},
        {"  object Button1: TTestItem\n    Options = [toA toB]\n  end\n",
         "Line 3: Error reading Button1.Options: ']' expected"},
        {"  object Button1: TTestItem\n    Left 10\n  end\n", "Line 3: Error reading Button1.Left: '=' expected"},
        {"  object Button1: TTestItem\n    Left = \n  end\n", "Line 3: Error reading Button1.Left: Property value expected"},
        {"  object Button1 TTestItem\n  end\n", "Line 2: Error reading Button1: ':' expected"},
        {"  object Button1: TTestItem\n    Left = 1\n", "Line 4: Error reading Form1: 'end' expected before the end of the text"},
        {"  object Button1: TTestItem\n  end\n  Caption = 'late'\n", "Line 4: Error reading Form1: 'end' expected"},
        {"  object Button1: TTestItem\n    OnClick = NoSuchClick\n  end\n",
         "Line 3: Error reading Button1.OnClick: Handler NoSuchClick not found in TTestForm"},
        {"  object Button1: TTestItem\n    OnClick = Measure\n  end\n",
         "Line 3: Error reading Button1.OnClick: Handler Measure does not fit event OnClick"},
        {"  object Button1: TTestItem\n    Link = Nobody\n  end\n",
         "Line 3: Error reading Button1.Link: Component Nobody not found for property Link"},
        {"  object Button1: TTestItem\n  end\n  object button1: TTestItem\n  end\n",
         "Line 4: Error reading button1: A component named button1 already exists"},
        {"  object Button1: TTestItem\n    Entries = <\n      item\n        Witdh = 1\n      end>\n  end\n",
         "Line 5: Error reading Button1.Entries[0].Witdh: Property Witdh does not exist in TTestEntry"},
        {"  object Button1: TTestItem\n    Entries = <\n      item\n      end\n      item\n        Kind = tkNine\n"
         "      end>\n  end\n",
         "Line 7: Error reading Button1.Entries[1].Kind: Invalid value \"tkNine\" for property Kind"},
        {"  object Button1: TTestItem\n    Entries = <\n      item\n        Width = 'wide'\n      end>\n  end\n",
         "Line 5: Error reading Button1.Entries[0].Width: Integer expected"},
        {"  object Button1: TTestItem\n    Font = <>\n  end\n",
         "Line 3: Error reading Button1.Font: Property Font is not a collection"},
        {"  object Button1: TTestItem\n    Entries = 3\n  end\n",
         "Line 3: Error reading Button1.Entries: Collection expected"},
        {"  object Button1: TTestItem\n    Left = <>\n  end\n", "Line 3: Error reading Button1.Left: Integer expected"},
        // The ">" forgotten: the object's "end" is no item.
        {"  object Button1: TTestItem\n    Entries = <\n      item\n      end\n  end\n",
         "Line 6: Error reading Button1.Entries: 'item' or '>' expected"},
        {"  object Button1: TTestItem\n    Entries = <\n      Caption = 'a'\n    >\n  end\n",
         "Line 4: Error reading Button1.Entries: 'item' or '>' expected"},
        // The form's field Panel holds a TTestItem.
        {"  object Panel: TOtherItem\n  end\n", "Line 2: Error reading Panel: Invalid property value: a TOtherItem"},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("object Form1: TTestForm\n") + c.body + "end\n";
        SCOPED_TRACE(text);
        try {
            ReadFormText(&form, text);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.error);
        }
        EXPECT_EQ(form.ComponentCount(), 0);
        EXPECT_EQ(form.Button1, nullptr);
        EXPECT_EQ(form.Panel, nullptr);
        EXPECT_FALSE(form.IsLoading());
    }
}

TEST_F(FormReader, BadFrameOfTheDescription)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"object Form1: TOtherForm\nend\n", "Line 1: Error reading Form1: The description of a TOtherForm cannot be read into a TTestForm"},
        {"Form1: TTestForm\nend\n", "Line 1: 'object' expected"},
        {"object Form1: TTestForm\nend\nend\n", "Line 3: Error reading Form1: Text after the last 'end'"},
        {"", "Line 1: 'object' expected"},
        {"object Form1: TTestForm\n  object Button1: TTestItem\n    Lines.Strings = (\n      'a'\n",
         "Line 4: Error reading Button1.Lines.Strings: ')' expected"},
        {"object Form1: TTestForm\n  object Button1: TTestItem\n    Entries = <\n      item\n      end\n",
         "Line 5: Error reading Button1.Entries: '>' expected"},
        {"object Form1: TTestForm\n  object Button1: TTestItem\n    Entries = <\n      item\n        Width = 1\n",
         "Line 5: Error reading Button1.Entries[0]: 'end' expected before the end of the text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ReadFormText(&form, c.text);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.error);
        }
    }
}

// A failed reference is found after every component exists: the read is
// undone, and the form's fields set before do not point at freed ones.
TEST_F(FormReader, FailureAfterTheWholeReadUndoesIt)
{
    EXPECT_THROW(ReadFormText(&form,
                              "object Form1: TTestForm\n"
                              "  ActiveItem = Button1\n"
                              "  object Button1: TTestItem\n"
                              "  end\n"
                              "  object Panel: TTestItem\n"
                              "    Link = Nobody\n"
                              "  end\n"
                              "end\n"),
                 EReadError);
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.Button1, nullptr);
    EXPECT_EQ(form.Panel, nullptr);
    EXPECT_EQ(form.ActiveItem, nullptr);
    for (const std::string& line : FormLog())
        EXPECT_EQ(line.find("Loaded"), std::string::npos) << line;
}

// An error of a Loaded override is the component's own: it passes as it is,
// and no component is left loading.
TEST_F(FormReader, ErrorInLoadedPassesUnchanged)
{
    try {
        ReadFormText(&form,
                     "object Form1: TTestForm\n"
                     "  object Button1: TTestItem\n"
                     "    FailInLoaded = True\n"
                     "  end\n"
                     "  object Panel: TTestItem\n"
                     "  end\n"
                     "end\n");
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Loaded failed in Button1");
    }
    ASSERT_EQ(form.ComponentCount(), 2);
    EXPECT_FALSE(form.Panel->IsLoading());
    EXPECT_FALSE(form.IsLoading());
}

} // namespace
