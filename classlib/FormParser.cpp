#include "classlib/FormParser.h"

namespace {

bool IsIdentStart(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
}

bool IsIdentChar(char ch)
{
    return IsIdentStart(ch) || (ch >= '0' && ch <= '9');
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool IsHexDigit(char ch)
{
    return IsDigit(ch) || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
}

// Keywords are ASCII, so a plain case fold is enough.
bool IsKeyword(const std::string& word, const char* keyword)
{
    size_t i = 0;
    for (; i < word.size() && keyword[i]; ++i) {
        char ch = word[i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != keyword[i])
            return false;
    }
    return i == word.size() && !keyword[i];
}

class TFormParser {
public:
    TFormParser(const std::string& text, const std::string& sourceName) : text_(text), source_(sourceName) {}

    TFormObject ParseRoot()
    {
        SkipBlanks();
        TFormObject root = ParseObject("");
        SkipBlanks();
        if (pos_ < text_.size())
            Fail(root.Name, "Text after the last 'end'");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& where, const std::string& message)
    {
        throw EReadError(FormErrorText(source_, line_, where, message));
    }

    // At the end of the text the line is that of its last word, not the
    // empty one after the last line break.
    [[noreturn]] void FailAtEnd(const std::string& where, const std::string& message)
    {
        size_t last = text_.find_last_not_of(" \t\r\n");
        line_ = 1;
        for (size_t i = 0; last != std::string::npos && i < last; ++i)
            if (text_[i] == '\n')
                ++line_;
        Fail(where, message);
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    void SkipBlanks()
    {
        while (!AtEnd()) {
            const char ch = text_[pos_];
            if (ch == '\n')
                ++line_;
            else if (ch != ' ' && ch != '\t' && ch != '\r')
                return;
            ++pos_;
        }
    }

    // An identifier at the current position, or "" when there is none.
    std::string Ident()
    {
        const size_t start = pos_;
        if (!IsIdentStart(Peek()))
            return std::string();
        while (IsIdentChar(Peek()))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    std::string ExpectIdent(const std::string& where)
    {
        SkipBlanks();
        std::string word = Ident();
        if (word.empty())
            Fail(where, "Identifier expected");
        return word;
    }

    void Expect(char ch, const std::string& where)
    {
        SkipBlanks();
        if (Peek() != ch)
            Fail(where, std::string("'") + ch + "' expected");
        ++pos_;
    }

    // object Name: TClass  properties  children  end
    TFormObject ParseObject(const std::string& enclosing)
    {
        TFormObject obj;
        obj.Line = line_;
        if (!IsKeyword(Ident(), "object"))
            Fail(enclosing, "'object' expected");
        obj.Name = ExpectIdent(enclosing);
        Expect(':', obj.Name);
        obj.ClassName = ExpectIdent(obj.Name);

        bool inChildren = false;
        for (;;) {
            SkipBlanks();
            if (AtEnd())
                FailAtEnd(obj.Name, "'end' expected before the end of the text");
            const size_t start = pos_;
            const int startLine = line_;
            const std::string word = Ident();
            if (IsKeyword(word, "end"))
                return obj;
            if (IsKeyword(word, "object")) {
                pos_ = start;
                obj.Children.push_back(ParseObject(obj.Name));
                inChildren = true;
                continue;
            }
            if (word.empty())
                Fail(obj.Name, "Property name expected");
            // Properties come before the children, as they are applied.
            if (inChildren)
                Fail(obj.Name, "'end' expected");
            obj.Props.push_back(ParseProperty(obj.Name, word, startLine));
        }
    }

    // Name = value, the name's first word already read; owner names the
    // object or collection item in error texts.
    TFormProperty ParseProperty(const std::string& owner, const std::string& word, int line)
    {
        TFormProperty prop;
        prop.Line = line;
        prop.Name = word;
        while (Peek() == '.') {
            ++pos_;
            const std::string part = Ident();
            if (part.empty())
                Fail(owner + "." + prop.Name, "Identifier expected");
            prop.Name += "." + part;
        }
        const std::string where = owner + "." + prop.Name;
        Expect('=', where);
        // The value starts on the line of its name.
        while (Peek() == ' ' || Peek() == '\t')
            ++pos_;
        if (AtEnd() || Peek() == '\n' || Peek() == '\r')
            Fail(where, "Property value expected");
        prop.Value = ParseValue(where);
        return prop;
    }

    // < item Name = value ... end ... >: the items of a collection, each
    // named by its index in error texts ("lv.Columns[1].Width").
    void ParseCollection(const std::string& where, TFormValue& value)
    {
        for (;;) {
            SkipBlanks();
            if (Peek() == '>')
                break;
            if (AtEnd())
                FailAtEnd(where, "'>' expected");
            TFormItem item;
            item.Line = line_;
            if (!IsKeyword(Ident(), "item"))
                Fail(where, "'item' or '>' expected");
            const std::string owner = where + "[" + std::to_string(value.CollectionItems.size()) + "]";
            for (;;) {
                SkipBlanks();
                if (AtEnd())
                    FailAtEnd(owner, "'end' expected before the end of the text");
                const int startLine = line_;
                const std::string word = Ident();
                if (IsKeyword(word, "end"))
                    break;
                if (word.empty())
                    Fail(owner, "Property name expected");
                item.Props.push_back(ParseProperty(owner, word, startLine));
            }
            value.CollectionItems.push_back(std::move(item));
        }
        ++pos_;
    }

    TFormValue ParseValue(const std::string& where)
    {
        TFormValue value;
        const char ch = Peek();
        if (ch == '\'' || ch == '#') {
            value.Kind = TFormValue::fvString;
            value.Text = ParseString(where);
        } else if (IsDigit(ch) || ch == '-' || ch == '$') {
            value.Kind = TFormValue::fvInteger;
            value.Text = ParseNumber(where, value.Kind);
        } else if (IsIdentStart(ch)) {
            value.Kind = TFormValue::fvIdent;
            value.Text = Ident();
        } else if (ch == '[') {
            value.Kind = TFormValue::fvSet;
            ++pos_;
            SkipBlanks();
            if (Peek() != ']') {
                for (;;) {
                    value.Items.push_back(ExpectIdent(where));
                    SkipBlanks();
                    if (Peek() != ',')
                        break;
                    ++pos_;
                }
            }
            Expect(']', where);
        } else if (ch == '(') {
            value.Kind = TFormValue::fvList;
            ++pos_;
            for (;;) {
                SkipBlanks();
                if (Peek() == ')')
                    break;
                if (AtEnd())
                    FailAtEnd(where, "')' expected");
                if (Peek() != '\'' && Peek() != '#')
                    Fail(where, "String or ')' expected");
                value.Items.push_back(ParseString(where));
            }
            ++pos_;
        } else if (ch == '<') {
            value.Kind = TFormValue::fvCollection;
            ++pos_;
            ParseCollection(where, value);
        } else {
            Fail(where, "Property value expected");
        }
        return value;
    }

    // An integer, or a decimal number with a fraction or an exponent
    // (kind becomes fvFloat): "36528.5", "-0.25", "1.5E-3".
    std::string ParseNumber(const std::string& where, TFormValue::TKind& kind)
    {
        const size_t start = pos_;
        if (Peek() == '-')
            ++pos_;
        if (Peek() == '$') {
            ++pos_;
            if (!IsHexDigit(Peek()))
                Fail(where, "Integer expected");
            while (IsHexDigit(Peek()))
                ++pos_;
        } else {
            if (!IsDigit(Peek()))
                Fail(where, "Integer expected");
            SkipDigits();
            if (Peek() == '.') {
                ++pos_;
                kind = TFormValue::fvFloat;
                if (!IsDigit(Peek()))
                    Fail(where, "Number expected");
                SkipDigits();
            }
            if (Peek() == 'E' || Peek() == 'e') {
                ++pos_;
                kind = TFormValue::fvFloat;
                if (Peek() == '+' || Peek() == '-')
                    ++pos_;
                if (!IsDigit(Peek()))
                    Fail(where, "Number expected");
                SkipDigits();
            }
        }
        if (IsIdentChar(Peek()) || Peek() == '.')
            Fail(where, kind == TFormValue::fvFloat ? "Number expected" : "Integer expected");
        return text_.substr(start, pos_ - start);
    }

    void SkipDigits()
    {
        while (IsDigit(Peek()))
            ++pos_;
    }

    // Quoted parts and character codes side by side make one string ('a'#13#10'b');
    // a "+" joins the next such run, also on the next line.
    std::string ParseString(const std::string& where)
    {
        std::string result;
        for (;;) {
            ParseStringRun(where, result);
            const size_t pos = pos_;
            const int line = line_;
            SkipBlanks();
            if (Peek() != '+') {
                pos_ = pos;
                line_ = line;
                return result;
            }
            ++pos_;
            SkipBlanks();
            if (Peek() != '\'' && Peek() != '#')
                Fail(where, "String expected");
        }
    }

    void ParseStringRun(const std::string& where, std::string& result)
    {
        for (;;) {
            if (Peek() == '\'') {
                ++pos_;
                for (;;) {
                    if (AtEnd() || Peek() == '\n' || Peek() == '\r')
                        Fail(where, "Unterminated string");
                    const char c = text_[pos_++];
                    if (c != '\'') {
                        result += c;
                    } else if (Peek() == '\'') {
                        result += '\'';
                        ++pos_;
                    } else {
                        break;
                    }
                }
            } else if (Peek() == '#') {
                ++pos_;
                unsigned code = 0;
                bool any = false;
                if (Peek() == '$') {
                    ++pos_;
                    while (IsHexDigit(Peek()) && code <= 0xFF) {
                        const char d = text_[pos_++];
                        code = code * 16 + (IsDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
                        any = true;
                    }
                } else {
                    while (IsDigit(Peek()) && code <= 0xFF) {
                        code = code * 10 + (text_[pos_++] - '0');
                        any = true;
                    }
                }
                if (!any)
                    Fail(where, "Character code expected");
                // The text is single-byte: a code above 255 has no character.
                if (code > 0xFF)
                    Fail(where, "Character code out of range");
                result += static_cast<char>(code);
            } else {
                return;
            }
        }
    }

    const std::string& text_;
    const std::string& source_;
    size_t pos_ = 0;
    int line_ = 1;
};

} // namespace

std::string FormErrorText(const std::string& sourceName, int line, const std::string& where,
                          const std::string& message)
{
    std::string text = sourceName.empty() ? "Line " : sourceName + ", line ";
    text += std::to_string(line) + ": ";
    if (!where.empty())
        text += "Error reading " + where + ": ";
    return text + message;
}

TFormObject ParseFormText(const std::string& text, const std::string& sourceName)
{
    return TFormParser(text, sourceName).ParseRoot();
}
