#include "media/CanvasReader.h"

#include "base/AsciiCase.h"

namespace tamber {

namespace {

using namespace CanvasKeyword;

bool NameIs(const CanvasToken& token, std::string_view name)
{
    return token.kind == CanvasToken::Kind::Word && EqualFolded(token.text, name);
}

enum class Section { None, Object, Deleted, Command, EventGroup };

} // namespace

bool CanvasReader::Fail(const std::string& what)
{
    if (m_error.empty())
        m_error = what + " (at byte " + std::to_string(m_tokens.Position()) + ")";
    return false;
}

int CanvasReader::Refuse(const std::string& what)
{
    Fail(what);
    return 0;
}

bool CanvasReader::Expect(int32_t keyword, const char* what)
{
    return m_tokens.Next().Is(keyword) || Fail(std::string("expected ") + what);
}

bool CanvasReader::ReadNumber(int32_t& value, const char* what)
{
    return m_tokens.Next().Number(value) || Fail(std::string("expected a number for ") + what);
}

int CanvasReader::Read(std::string_view text, CanvasContent& out)
{
    m_tokens = CanvasTokenizer(text);
    m_error.clear();
    out = CanvasContent {};
    if (!Expect(kCanvas, "CANVAS") || !Expect(kListOpen, "(") || !ReadNumber(out.width, "the width")
        || !ReadNumber(out.height, "the height") || !Expect(kListClose, ")") || !Expect(kBlockOpen, "{"))
        return 0;
    Section last = Section::None;
    for (;;) {
        const CanvasToken token = m_tokens.Next();
        if (token.Is(kBlockClose))
            return 1;
        if (token.Is(kObject) || token.Is(kDeleted)) {
            const Section section = token.Is(kObject) ? Section::Object : Section::Deleted;
            if (last != Section::None && !(last == Section::Object || last == Section::Deleted))
                return Refuse(token.text + " after the commands");
            if (last == section)
                return Refuse(token.text + " twice in a row");
            if (!ReadObjects(out, section == Section::Object ? out.live : out.deleted))
                return 0;
            last = section;
        } else if (token.Is(kCommand)) {
            if (last != Section::Object && last != Section::Deleted)
                return Refuse("COMMAND not after OBJECT or DELETED");
            if (!ReadCommands(out.commands))
                return 0;
            last = Section::Command;
        } else if (token.Is(kEventGroup)) {
            if (last == Section::None || last == Section::EventGroup)
                return Refuse("EVENTGROUP not after OBJECT, DELETED or COMMAND");
            if (!ReadEventGroups(out.eventGroups))
                return 0;
            last = Section::EventGroup;
        } else {
            return Refuse(token.kind == CanvasToken::Kind::End
                    ? "the canvas is not closed"
                    : "unexpected \"" + token.text + "\" where a section starts");
        }
    }
}

bool CanvasReader::ReadKeywordBlock(int32_t first, int32_t last, const char* what,
    const std::function<bool(int32_t keyword)>& readItem)
{
    if (!Expect(kBlockOpen, "{"))
        return false;
    for (;;) {
        const CanvasToken token = m_tokens.Next();
        if (token.Is(kBlockClose))
            return true;
        if (token.kind != CanvasToken::Kind::Word || token.keyword < first || token.keyword > last)
            return Fail(std::string("expected ") + what);
        if (!readItem(token.keyword))
            return false;
    }
}

bool CanvasReader::ReadObjects(CanvasContent& content, std::vector<CanvasObject*>& into)
{
    return ReadKeywordBlock(kFirstObjectType, kLastObjectType, "an object type", [&](int32_t keyword) {
        auto object = std::make_unique<CanvasObject>();
        if (!ReadObject(keyword, *object))
            return false;
        into.push_back(object.get());
        content.objects.push_back(std::move(object));
        return true;
    });
}

bool CanvasReader::ReadObject(int32_t keyword, CanvasObject& object)
{
    object.type = static_cast<CanvasObjectType>(keyword - kFirstObjectType);
    if (!ReadNumber(object.id, "the object id") || !Expect(kBlockOpen, "{"))
        return false;
    CanvasAttributes attributes;
    CanvasToken token = m_tokens.Next();
    if (object.type == CanvasObjectType::Eraser) {
        const int32_t shapes[] = { kPolygon, kRect, kRoundRect, kOval };
        for (int32_t shape = 0; shape < 4; ++shape) {
            if (token.Is(shapes[shape])) {
                object.eraserShape = static_cast<EraserShape>(shape);
                token = m_tokens.Next();
                break;
            }
        }
    }
    for (;; token = m_tokens.Next()) {
        int32_t member = 0;
        if (token.Is(kBlockClose))
            break;
        if (token.Is(kListOpen)) {
            std::vector<int32_t> numbers;
            if (!m_tokens.PointNumbers(numbers))
                return Fail("the point list is not closed");
            for (size_t i = 0; i + 1 < numbers.size(); i += 2)
                object.points.push_back(gfx::Point { numbers[i], numbers[i + 1] });
            break;
        }
        if (object.type == CanvasObjectType::Group && token.Number(member)) {
            object.memberIds.push_back(member);
            continue;
        }
        if (!ReadAttribute(token, attributes, &object))
            return false;
    }
    object.Apply(attributes);
    return true;
}

bool CanvasReader::ReadBound(gfx::Rect& bound)
{
    int32_t v[4] = {};
    if (!Expect(kListOpen, "( after Bound"))
        return false;
    for (int32_t& n : v) {
        if (!ReadNumber(n, "Bound"))
            return false;
    }
    bound = gfx::Rect { ClampCoordinate(v[0]), ClampCoordinate(v[1]),
        ClampCoordinate(int64_t { v[0] } + v[2]), ClampCoordinate(int64_t { v[1] } + v[3]) };
    return Expect(kListClose, ") after Bound");
}

bool CanvasReader::ReadFont(CanvasFont& font)
{
    if (!Expect(kListOpen, "( after Font"))
        return false;
    const CanvasToken face = m_tokens.Next();
    if (face.kind != CanvasToken::Kind::String)
        return Fail("expected the font's face name");
    font.face = face.text.substr(0, CanvasFont::kMaxFaceLength);
    if (!ReadNumber(font.size, "the font size"))
        return false;
    font.style = 0;
    for (;;) {
        const CanvasToken token = m_tokens.Next();
        if (token.Is(kListClose))
            return true;
        if (token.kind != CanvasToken::Kind::Word || token.keyword < kBold || token.keyword > kStrikeOut)
            return Fail("expected a font style");
        font.style |= 1u << (token.keyword - kBold);
    }
}

bool CanvasReader::ReadAttribute(const CanvasToken& name, CanvasAttributes& a, CanvasObject* object)
{
    int32_t n = 0;
    if (NameIs(name, "LineWidth")) {
        if (!ReadNumber(n, "LineWidth"))
            return false;
        a.lineWidth = n;
    } else if (NameIs(name, "ForeColor")) {
        if (!ReadNumber(n, "ForeColor"))
            return false;
        a.foreColor = static_cast<uint32_t>(n);
    } else if (NameIs(name, "FillColor")) {
        if (!ReadNumber(n, "FillColor"))
            return false;
        a.fillColor = static_cast<uint32_t>(n);
    } else if (name.Is(kFont)) {
        CanvasFont font;
        if (!ReadFont(font))
            return false;
        a.font = font;
    } else if (NameIs(name, "Transparency")) {
        if (!ReadNumber(n, "Transparency"))
            return false;
        a.transparency = n;
    } else if (NameIs(name, "KeyColor")) {
        if (!ReadNumber(n, "KeyColor"))
            return false;
        a.keyColor = static_cast<uint32_t>(n);
    } else if (object != nullptr && NameIs(name, "Parent")) {
        return ReadNumber(object->parent, "Parent");
    } else if (object != nullptr && NameIs(name, "Bound")) {
        return ReadBound(object->bound);
    } else if (object != nullptr && (NameIs(name, "Content") || NameIs(name, "FileName"))) {
        const CanvasToken value = m_tokens.Next();
        if (value.kind != CanvasToken::Kind::String)
            return Fail("expected a quoted string after " + name.text);
        if (NameIs(name, "Content"))
            object->content = UnescapeCanvasString(value.text);
        else
            object->fileName = value.text.substr(0, CanvasObject::kMaxFileNameLength);
    } else {
        return Fail(name.kind == CanvasToken::Kind::End ? "the object is not closed"
                                                        : "unknown attribute \"" + name.text + "\"");
    }
    return true;
}

bool CanvasReader::ReadCommands(std::vector<CanvasCommand>& into)
{
    return ReadKeywordBlock(kFirstCommand, kLastCommand, "a command", [&](int32_t keyword) {
        CanvasCommand command;
        if (!ReadCommand(keyword, command))
            return false;
        into.push_back(command);
        return true;
    });
}

bool CanvasReader::ReadPoint(gfx::Point& point)
{
    if (!Expect(kListOpen, "( before a point") || !ReadNumber(point.x, "x") || !ReadNumber(point.y, "y"))
        return false;
    point = gfx::Point { ClampCoordinate(point.x), ClampCoordinate(point.y) };
    return Expect(kListClose, ") after a point");
}

bool CanvasReader::ReadCommand(int32_t keyword, CanvasCommand& c)
{
    c.type = static_cast<CanvasCommandType>(keyword - kFirstCommand);
    if (!Expect(kListOpen, "( after the command"))
        return false;
    switch (c.type) {
    case CanvasCommandType::Add:
    case CanvasCommandType::Remove:
    case CanvasCommandType::Swap:
        if (!ReadNumber(c.id, "the object id"))
            return false;
        break;
    case CanvasCommandType::Move:
    case CanvasCommandType::MoveTo:
        if (!ReadNumber(c.id, "the object id") || !ReadPoint(c.point))
            return false;
        break;
    case CanvasCommandType::Resize:
        if (!ReadNumber(c.id, "the object id") || !ReadNumber(c.second, "the handle") || !ReadPoint(c.point))
            return false;
        break;
    case CanvasCommandType::ToTop:
    case CanvasCommandType::AddInGroup:
    case CanvasCommandType::SetOrder:
        if (!ReadNumber(c.id, "the first operand") || !ReadNumber(c.second, "the second operand"))
            return false;
        break;
    case CanvasCommandType::MacroBegin:
    case CanvasCommandType::MacroEnd:
        break;
    case CanvasCommandType::Attribute: {
        if (!ReadNumber(c.id, "the object id"))
            return false;
        for (;;) {
            const CanvasToken token = m_tokens.Next();
            if (token.Is(kListClose))
                return true;
            if (!ReadAttribute(token, c.attributes, nullptr))
                return false;
        }
    }
    }
    return Expect(kListClose, ") after the operands");
}

bool CanvasReader::ReadEventGroups(std::vector<CanvasEventGroup>& into)
{
    return ReadKeywordBlock(kEvent, kEvent, "EVENT", [&](int32_t) {
        const CanvasToken name = m_tokens.Next();
        if (name.kind != CanvasToken::Kind::String)
            return Fail("expected the event group's quoted name");
        if (name.text.empty())
            return Fail("an event group without a name");
        CanvasEventGroup group;
        group.name = name.text.substr(0, CanvasEventGroup::kMaxNameLength);
        const CanvasToken flag = m_tokens.Next();
        if (flag.kind != CanvasToken::Kind::Word || flag.keyword >= kListOpen)
            return Fail("expected the event group's flag");
        group.flag = NameIs(flag, "TRUE");
        if (!ReadCommands(group.commands))
            return false;
        into.push_back(std::move(group));
        return true;
    });
}

} // namespace tamber
