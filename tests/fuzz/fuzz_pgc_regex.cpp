// Fuzz target for the component library's regular expressions and
// validators: arbitrary expressions and texts reach the engine's Parse and
// MatchString and the three validators. Errors must name a position inside
// the expression (or just past it), results a position inside the text, and
// the matcher's deque must stay within the state count plus its marker; the
// mask validators never raise and report positions inside their input, and
// the expression validator raises only the engine's error for an expression
// that its added anchors spoil (the empty one included).
#include "widgets/pages/pgc_paradox_validator.h"
#include "widgets/pages/pgc_picture_validator.h"
#include "widgets/pages/pgc_regex_engine.h"
#include "widgets/pages/pgc_regex_validator.h"

#include "platform/text_encoding.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t MaxExpression = 64;
constexpr std::size_t MaxText = 40;
constexpr int MaxTexts = 6;

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Bytes read one at a time; 0 once they run out.
struct TBytes {
    const uint8_t* At;
    const uint8_t* End;

    uint8_t Next() { return At < End ? *At++ : 0; }
    bool Empty() const { return At >= End; }
};

// Mostly the grammar's own characters, so that deep and valid expressions
// are common; now and then any 16-bit unit.
char16_t Unit(TBytes& bytes)
{
    static constexpr char16_t Alphabet[] = u"aaabbAB0-()[]*+?|^$\\.";
    const uint8_t byte = bytes.Next();
    if (byte < 0xF0) {
        return Alphabet[byte % (sizeof Alphabet / sizeof Alphabet[0] - 1)];
    }
    return static_cast<char16_t>(bytes.Next() | bytes.Next() << 8);
}

std::u16string Units(TBytes& bytes, std::size_t limit)
{
    std::u16string units;
    while (!bytes.Empty() && units.size() < limit) {
        const char16_t unit = Unit(bytes);
        if (unit == u'|') {
            break;
        }
        units.push_back(unit);
    }
    return units;
}

// An expression of the grammar chosen by the bytes: always valid.
class TGrammarExpression {
public:
    explicit TGrammarExpression(TBytes& bytes) : FBytes(bytes) {}

    std::u16string Expression(int depth)
    {
        std::u16string text = Term(depth);
        if (depth > 0 && FBytes.Next() % 5 == 0) {
            text += u'|' + Expression(depth - 1);
        }
        return text;
    }

private:
    std::u16string Term(int depth)
    {
        std::u16string text = Factor(depth);
        while (text.size() < MaxExpression && FBytes.Next() % 3 == 0) {
            text += Factor(depth);
        }
        return text;
    }

    std::u16string Factor(int depth)
    {
        std::u16string text = Atom(depth);
        static constexpr char16_t Operators[] = u"*+?";
        const uint8_t op = FBytes.Next() % 6;
        if (op < 3) {
            text += Operators[op];
        }
        return text;
    }

    std::u16string Atom(int depth)
    {
        switch (FBytes.Next() % 8) {
        case 4:
            return u".";
        case 5:
        case 6:
            return Class();
        case 7:
            if (depth > 0) {
                return u"(" + Expression(depth - 1) + u")";
            }
            return Literal();
        default:
            return Literal();
        }
    }

    std::u16string Literal()
    {
        static constexpr char16_t Literals[] = u"abAB0*-\u00e9\uFFFF";
        const char16_t c = Literals[FBytes.Next() % (sizeof Literals / sizeof Literals[0] - 1)];
        return c == u'*' || c == u'-' ? std::u16string{u'\\', c} : std::u16string(1, c);
    }

    std::u16string Class()
    {
        std::u16string text = FBytes.Next() % 3 == 0 ? u"[^" : u"[";
        for (int items = 1 + FBytes.Next() % 3; items > 0; --items) {
            text += Literal();
            if (FBytes.Next() % 3 == 0) {
                text += u'-' + Literal();
            }
        }
        return text + u"]";
    }

    TBytes& FBytes;
};

void CheckMatches(qel::TPg32RegexEngine& engine, TBytes& bytes)
{
    for (int count = 0; count < MaxTexts && !bytes.Empty(); ++count) {
        const std::u16string text = Units(bytes, MaxText);
        const std::int32_t position = engine.MatchString(text);
        Require(position >= 0 && position <= static_cast<std::int32_t>(text.size()));
        Require(!engine.AnchorStart() || position <= 1);
        Require(engine.PeakQueued() <= engine.Table().size() + 1);
    }
}

// The position at the end of a validator's error text; 0 when there is none.
std::size_t ReportedPosition(const std::string& message)
{
    const std::size_t digits = message.find_last_not_of("0123456789");
    return digits + 1 < message.size() ? std::stoul(message.substr(digits + 1)) : 0;
}

void CheckMaskValidator(qel::TPg32BaseValidator& validator, const std::u16string& mask, const std::u16string& input)
{
    std::string message;
    validator.OnValidationError = [&](plat::TObject*, const std::string& text) { message = text; };
    validator.SetMask(plat::Utf16ToUtf8(mask));
    validator.SetInput(plat::Utf16ToUtf8(input));
    const std::size_t length = plat::Utf8ToUtf16(validator.Input()).size();
    const bool valid = validator.IsValid();
    const std::size_t position = ReportedPosition(message);
    Require(valid ? message.empty() : position >= 1 && position <= length);
}

// Masks, expressions and inputs for the validators, from the same bytes.
void CheckValidators(const std::u16string& expression, TBytes& bytes)
{
    const std::u16string input = Units(bytes, MaxText);
    qel::TPg32OrMaskValidator picture(nullptr);
    CheckMaskValidator(picture, expression, input);
    qel::TPg32ParadoxValidator editMask(nullptr);
    CheckMaskValidator(editMask, expression, input);

    qel::TPg32RegExValidator regex(nullptr);
    regex.SetExpression(plat::Utf16ToUtf8(expression));
    const bool kept = regex.Expression() == plat::Utf16ToUtf8(expression);
    Require(kept == (regex.ExprErrorPos() == 0));
    Require(regex.ExprErrorPos() <= static_cast<std::int32_t>(expression.size()) + 1);
    regex.SetInput(plat::Utf16ToUtf8(input));
    bool valid = false;
    try {
        valid = regex.IsValid();
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        Require(!input.empty() && message.rfind("The regex was invalid at position ", 0) == 0);
        const std::size_t position = ReportedPosition(message);
        Require(position >= 1 && position <= plat::Utf8ToUtf16(regex.Expression()).size() + 3);
        return;
    }
    Require(valid == (regex.ErrorCode() == 0));
    Require(regex.ErrorCode() == (input.empty() ? 2 : valid ? 0 : 3));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TBytes bytes{data, data + size};
    const uint8_t flags = bytes.Next();
    std::u16string expression;
    if ((flags & 2) != 0) {
        expression = (flags & 4) != 0 ? u"^" : u"";
        expression += TGrammarExpression(bytes).Expression(3);
        expression += (flags & 8) != 0 ? u"$" : u"";
    } else {
        expression = Units(bytes, MaxExpression);
    }

    CheckValidators(expression, bytes);
    qel::TPg32RegexEngine engine(expression);
    engine.SetIgnoreCase((flags & 1) != 0);
    std::int32_t position = -1;
    qel::TPg32RegexError error = qel::recNone;
    if (engine.Parse(position, error)) {
        Require(position == 0 && error == qel::recNone && !engine.Table().empty());
        CheckMatches(engine, bytes);
        return 0;
    }
    Require((flags & 2) == 0);
    Require(position >= 1 && position <= static_cast<std::int32_t>(expression.size()) + 1);
    Require(error != qel::recNone && error == engine.ErrorCode() && engine.Table().empty());
    try {
        engine.MatchString(u"a");
        Require(false);
    } catch (const std::runtime_error& e) {
        Require(std::string(e.what()) == "The regex was invalid at position " + std::to_string(position));
    }
    return 0;
}
