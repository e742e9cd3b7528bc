#include "script/ScriptEngine.h"

#include <cstdio>
#include <iostream>

#include "db/MediaDatabase.h"
#include "base/AsciiCase.h"
#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "platform/clock/RealClock.h"
#include "script/BuiltinFunctions.h"
#include "script/HandlerIndex.h"
#include "script/Interpreter.h"
#include "script/MediaReference.h"
#include "script/PlugInManager.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

namespace tamber {

namespace {

// Handlers nest when they raise events or call methods; past this depth an event runs no
// handler, so a script that raises its own event ends instead of exhausting the stack.
constexpr int32_t kMaxNesting = 128;

constexpr const char* kErrorCaption = "Script Error";
constexpr const char* kChildError =
    "Since this error occurred in a child interface, you will have to go to that interface to fix the error...";

const ScannerWord kOperators[] = {
    {"(", 1}, {")", 2}, {",", 3}, {".", 4}, {"{", 5}, {"}", 6}, {":", 7}, {"=", 8}, {"+", 9}, {"-", 10},
    {"*", 11}, {"/", 12}, {"^", 13}, {"&", 14}, {"|", 15}, {"!", 16}, {"==", 17}, {"<", 18}, {"<=", 19},
    {">", 20}, {">=", 21}, {"!=", 22}, {";", 23},
};

std::string FormatParameter(const ParamDef& param, const AttributeValue& value)
{
    char buffer[160];
    switch (param.type) {
    case ValueType::Double:
        std::snprintf(buffer, sizeof buffer, "%lf", value.Double());
        return buffer;
    case ValueType::Long:
    case ValueType::Color:
    case ValueType::Id:
        return std::to_string(value.Long());
    case ValueType::Short:
        return std::to_string(value.Short());
    case ValueType::Enum:
        return std::to_string(value.Enum());
    case ValueType::Byte:
    case ValueType::Boolean:
        return std::to_string(value.Byte());
    case ValueType::String:
    case ValueType::Font:
        return "\"" + value.String() + "\"";
    default:
        return {};
    }
}

bool FitsType(std::string_view catalogueType, std::string_view expected)
{
    static const std::pair<const char*, const char*> kFits[] = {
        {"GT", "Text"}, {"Text", "Text"}, {"BMP", "Graphic"}, {"Graphic", "Graphic"}, {"WAV", "Audio"},
        {"Audio", "Audio"}, {"AVI", "Video"}, {"Video", "Video"}, {"3D", "3d"}, {"Interface", "Interface"},
    };
    for (auto [type, fits] : kFits) {
        if (EqualFolded(type, catalogueType) && EqualFolded(fits, expected))
            return true;
    }
    return false;
}

}  // namespace

ScriptEngine::ScriptEngine() : m_scanner(kOperators, LineBreaks::AreSpace, Escapes::Off)
{
    static RealClock watchdog;
    m_settings.watchdogClock = &watchdog;
    m_settings.errors = &std::cerr;
    m_settings.messageBox = [](const ui::MessageBoxRequest& request) {
        return ui::ShowMessageBox(nullptr, request.text, request.caption, request.icon, request.buttons);
    };
    m_settings.fileDialog = [](const ui::FileDialogRequest& request) {
        return ui::ShowOpenFileDialog(nullptr, request);
    };
}

ScriptEngine::~ScriptEngine()
{
    if (m_installed)
        ScriptHost::Install(m_previousHost);
}

ScriptEngine& ScriptEngine::Process()
{
    static ScriptEngine engine;
    return engine;
}

void ScriptEngine::Install()
{
    if (m_installed)
        return;
    m_previousHost = ScriptHost::Install(this);
    m_installed = true;
}

int ScriptEngine::GlobalSlot(std::string_view name)
{
    // Every statement and operand asks: answer from the letters rather than the name list.
    if (name.empty() || name.size() > 2)
        return -1;
    char first = static_cast<char>(name[0] | 0x20);
    if (name.size() == 1) {
        if (first >= 'a' && first < 'a' + kDoubleGlobals)
            return first - 'a';
        return first == 's' ? kDoubleGlobals : -1;
    }
    if (first == 's' && (name[1] == '1' || name[1] == '2'))
        return kDoubleGlobals + (name[1] - '0');
    return -1;
}

void ScriptEngine::SetStringGlobal(int index, std::string value)
{
    if (value.size() > static_cast<size_t>(AttributeValue::kMaxStringLength))
        value.resize(AttributeValue::kMaxStringLength);
    m_strings[index] = std::move(value);
}

void ScriptEngine::ResetGlobals()
{
    m_doubles.fill(0);
    for (std::string& s : m_strings)
        s.clear();
}

void ScriptEngine::AddTraceLine(std::string line)
{
    if (line.size() > static_cast<size_t>(kMaxTraceLineLength))
        line.resize(kMaxTraceLineLength);
    if (m_settings.trace)
        m_settings.trace->TraceLine(line);
    m_traceLines.push_back(std::move(line));
    if (m_traceLines.size() > static_cast<size_t>(kMaxTraceLines))
        m_traceLines.pop_front();
}

ui::MessageBoxResult ScriptEngine::ShowMessage(const ui::MessageBoxRequest& request)
{
    if (m_settings.messageBox)
        return m_settings.messageBox(request);
    return ui::ButtonsOf(request.buttons).front();
}

void ScriptEngine::BeginWaitCursor()
{
    if (m_waitCursor++ == 0 && m_settings.waitCursor)
        m_settings.waitCursor(true);
}

void ScriptEngine::EndWaitCursor()
{
    if (m_waitCursor <= 0)
        return;
    if (--m_waitCursor == 0 && m_settings.waitCursor)
        m_settings.waitCursor(false);
}

void ScriptEngine::ResolveSpawnMedia(MediaRef& media, std::string_view expectedType)
{
    if (media.mediaId != ScriptValue::kSpawnMedia || m_hotLink.index < 0) {
        if (media.mediaId == ScriptValue::kSpawnMedia)
            media.mediaId = MediaRef::kNone;
        return;
    }
    media.mediaId = MediaRef::kNone;
    for (size_t i = 0; i < m_hotLinkTargets.size(); ++i) {
        const HotLinkTarget& target = m_hotLinkTargets[i];
        MediaRef candidate;
        candidate.database = media.database;
        if (target.mediaId >= 0)
            candidate.mediaId = target.mediaId;
        else
            StringToMedia(m_hotLink.text, target.name, candidate);
        MediaDatabase* db = Writable(candidate.database);
        EntryInfo info;
        if (!db || candidate.mediaId < 0 || !db->FindEntryById(static_cast<uint32_t>(candidate.mediaId), &info))
            continue;
        if (!expectedType.empty() && !FitsType(info.type, expectedType))
            continue;
        media = candidate;
        m_hotLinkTargets.erase(m_hotLinkTargets.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}

void ScriptEngine::InterfaceWindowOpened()
{
    if (m_windows++ > 0 || !m_settings.system || !m_settings.libraries)
        return;
    m_plugIns = std::make_unique<PlugInManager>(*m_settings.system, *m_settings.libraries, m_settings.plugInFolder);
    m_plugIns->Load();
}

void ScriptEngine::InterfaceWindowClosed()
{
    if (m_windows > 0 && --m_windows == 0)
        m_plugIns.reset();
}

int ScriptEngine::CallPlugIn(const std::string& name, const std::string& first, const std::string& second,
    std::string& result)
{
    if (m_settings.plugInCall)
        return m_settings.plugInCall(name, first, second, result);
    return m_plugIns ? m_plugIns->Call(-1, name, first, second, result) : 0;
}

void ScriptEngine::EnsureEventStubs(Element& element)
{
    HandlerIndex::EnsureEventStubs(element);
}

void ScriptEngine::RebuildTokens(Element& element)
{
    HandlerIndex::Rebuild(element.Script(), element.Tokens());
}

int ScriptEngine::CallFunction(Element& element, std::string_view name, std::span<const AttributeValue> params,
    AttributeValue& result)
{
    const BuiltinFunction* function = FindBuiltin(name);
    if (!function)
        return -1;
    function->run(*this, element, params, result);
    return 1;
}

int ScriptEngine::ExecuteEvent(Element& element, const EventCall& call)
{
    InterfaceModel* model = element.Parent();
    if (!model || model->GetMode() != InterfaceModel::Mode::Running)
        return 0;
    const EventDef* found = FindEvent(element.EventTable(), call.name);
    if (!found)
        found = FindEvent(Element::CommonEvents(), call.name);
    if (!found) {
        ShowMessage(ui::MessageBoxRequest {"Event \"" + std::string(call.name) + "\" not registered...",
            "ExecuteEvent", ui::MessageBoxIcon::Information, ui::MessageBoxButtons::Ok});
        return 0;
    }
    if (m_depth >= kMaxNesting)
        return 0;
    const EventDef event = *found;

    bool hotLink = call.hotLink >= 0;
    if (hotLink) {
        m_hotLink.index = call.hotLink;
        m_hotLink.mediaId = element.GetMedia().mediaId;
        m_hotLink.text = &element;
    }

    if (Tracing()) {
        std::string line;
        if (&element == model->Interface() && element.IsSelfRole())
            line = "Parent : ";
        else
            line = element.GetTypeName() + " " + std::to_string(element.GetId()) + " : ";
        line += event.name + "(";
        bool first = true;
        for (size_t i = 0; i < event.params.size() && i < call.params.size(); ++i) {
            const ParamDef& p = event.params[i];
            if (p.type == ValueType::Void)
                continue;
            line += first ? " " : ", ";
            first = false;
            line += p.name + " = " + FormatParameter(p, call.params[i]);
        }
        line += " )";
        AddTraceLine(line);
    }

    if (element.Tokens().Empty())
        RebuildTokens(element);
    int32_t header = HandlerIndex::FindHeader(element.Script(), event.name);
    int ran = 0;
    if (header >= 0) {
        if (m_depth == 0)
            m_scanner.Trim();
        ScriptScanner::State outer = m_scanner.SaveState();
        ++m_depth;
        Interpreter interpreter(*this, element, event, call.params);
        ScriptError error = interpreter.Run(header);
        --m_depth;
        m_scanner.RestoreState(outer);
        ran = 1;
        if (error != ScriptError::None && error != ScriptError::Stopped) {
            m_inError = true;
            ShowMessage(ui::MessageBoxRequest {ScriptErrorMessage(error), kErrorCaption, ui::MessageBoxIcon::Error,
                ui::MessageBoxButtons::Ok});
            InterfaceObject* top = model->Interface();
            if (top && !top->IsSelfRole()) {
                ShowMessage(ui::MessageBoxRequest {kChildError, kErrorCaption, ui::MessageBoxIcon::Error,
                    ui::MessageBoxButtons::Ok});
            }
            m_inError = false;
        }
        if (hotLink && element.SpawnPopups() && EqualFolded(event.name, "HotLinkClicked") && m_settings.spawnPopups)
            m_settings.spawnPopups(element);
    }
    if (hotLink) {
        m_hotLink = HotLinkState {};
        m_hotLinkTargets.clear();
    }
    return ran;
}

}  // namespace tamber
