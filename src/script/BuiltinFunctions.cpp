#include "script/BuiltinFunctions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "db/FullTextIndex.h"
#include "db/FullTextRecordStore.h"
#include "db/MediaDatabase.h"
#include "db/RecordFile.h"
#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "platform/Beeper.h"
#include "platform/Launcher.h"
#include "platform/MciCommands.h"
#include "platform/clock/RealClock.h"
#include "script/MediaReference.h"
#include "script/ScriptCast.h"
#include "script/ScriptEngine.h"

namespace tamber {

namespace {

using Args = std::span<const AttributeValue>;
using V = ValueType;

constexpr double kDegreesToRadians = 0.017453292522222223;  // 3.141592654 / 180
constexpr double kRadiansToDegrees = 57.29577950560105;     // 180 / 3.141592654
constexpr double kAngleStep = 0.000001;
constexpr const char* kStringFolder = "zd";
constexpr int64_t kGeneratorRange = 32768;

constexpr const char* kMonthNames[12] = {"January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December"};

ParamDef P(V type, const char* name)
{
    return ParamDef {type, name};
}

MethodDef Def(const char* name, V result, ParamDef a = {}, ParamDef b = {}, ParamDef c = {}, ParamDef d = {})
{
    return MethodDef {name, {a, b, c, d}, result};
}

std::string Text(Args args, size_t i)
{
    return i < args.size() ? args[i].String() : std::string();
}

int32_t Long(Args args, size_t i)
{
    return i < args.size() ? args[i].Long() : 0;
}

double Number(Args args, size_t i)
{
    return i < args.size() ? args[i].Double() : 0;
}

bool Flag(Args args, size_t i)
{
    return i < args.size() && args[i].Boolean();
}

int32_t ToLong(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return 0;
    return static_cast<int32_t>(value);
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return text;
}

Clock& ClockOf(ScriptEngine& engine)
{
    static RealClock real;
    Clock* clock = engine.GetSettings().clock;
    return clock ? *clock : real;
}

std::string Format2(const char* format, int a, int b, int c = 0)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

// The medium a reference string names, with its entry; false when there is none.
bool LookUp(Element& element, const std::string& text, MediaDatabase*& db, EntryInfo& info)
{
    MediaRef media;
    StringToMedia(&element, text, media);
    db = Writable(media.database);
    return db && media.mediaId >= 0 && db->FindEntryById(static_cast<uint32_t>(media.mediaId), &info);
}

InterfaceObject* TopInterface(Element& element)
{
    InterfaceModel* model = element.Parent();
    return model ? model->Interface() : nullptr;
}

const MediaDatabase* TopDatabase(Element& element)
{
    InterfaceObject* top = TopInterface(element);
    if (top && top->Database())
        return top->Database();
    return element.Database();
}

// A string file name: a plain name in the string folder, never a path.
bool SafeFileName(const std::string& name)
{
    return !name.empty() && name.find_first_of("/\\:") == std::string::npos && name.find("..") == std::string::npos;
}

std::string StringFilePath(ScriptEngine& engine, const std::string& name)
{
    return engine.GetSettings().dataFolder + "/" + kStringFolder + "/" + name;
}

// Each function, in table order.
void Beep(ScriptEngine& e, Element&, Args, AttributeValue&)
{
    if (e.GetSettings().beeper)
        e.GetSettings().beeper->Beep();
}

void Chr(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    char c = static_cast<char>(a.empty() ? 0 : a[0].Byte());
    r.SetString(std::string_view(&c, c ? 1 : 0));
}

void Contains(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetBoolean(Lower(Text(a, 0)).find(Lower(Text(a, 1))) != std::string::npos);
}

void HomeDirectory(ScriptEngine&, Element& el, Args, AttributeValue& r)
{
    const MediaDatabase* db = TopDatabase(el);
    r.SetString(db ? db->DatabaseFolder() + "/" : std::string());
}

void Launch(ScriptEngine& e, Element& el, Args a, AttributeValue&)
{
    const ScriptEngine::Settings& settings = e.GetSettings();
    std::string command = Text(a, 0);
    if (!settings.launchEnabled) {
        if (settings.errors)
            *settings.errors << "tamber: Launch refused (--no-launch): " << command << "\n";
        return;
    }
    if (!settings.launcher)
        return;
    size_t blank = command.find(' ');
    std::string program = command.substr(0, blank);
    std::string arguments = blank == std::string::npos ? std::string() : command.substr(blank + 1);
    const MediaDatabase* db = TopDatabase(el);
    std::string folder = db ? db->DatabaseFolder() : std::string();
    if (program.find(':') != std::string::npos || program.find('/') != std::string::npos) {
        size_t slash = program.find_last_of("/\\");
        folder = slash == std::string::npos ? folder : program.substr(0, slash);
    }
    settings.launcher->Launch(program, arguments, folder);
}

void Left(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    std::string s = Text(a, 0);
    int32_t n = Long(a, 1);
    if (n >= 0 && static_cast<int32_t>(s.size()) > n)
        s.resize(n);
    r.SetString(s);
}

void Length(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetLong(static_cast<int32_t>(Text(a, 0).size()));
}

void LowerCase(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetString(Lower(Text(a, 0)));
}

void MciCommand(ScriptEngine& e, Element& el, Args a, AttributeValue&)
{
    MciCommands* mci = e.GetSettings().mci;
    if (!mci)
        return;
    // File names in commands are relative to the title's own folder.
    const MediaDatabase* db = TopDatabase(el);
    mci->SetBaseFolder(db ? db->DatabaseFolder() : std::string());
    // "play ... wait" passes the script's time (virtual in headless runs).
    mci->SetClock(e.GetSettings().clock);
    mci->Execute(Text(a, 0));
}

void MediaField(ScriptEngine&, Element& el, Args a, AttributeValue& r)
{
    MediaDatabase* db = nullptr;
    EntryInfo info;
    std::string value;
    if (LookUp(el, Text(a, 0), db, info)) {
        FullTextRecordStore store(db->Records());
        FullTextIndex index(store);
        index.MediaField(static_cast<int32_t>(info.id), Text(a, 1), value);
    }
    r.SetString(value);
}

void MediaName(ScriptEngine&, Element& el, Args a, AttributeValue& r)
{
    MediaDatabase* db = nullptr;
    EntryInfo info;
    r.SetString(LookUp(el, Text(a, 0), db, info) ? info.name : std::string());
}

void MediaPath(ScriptEngine&, Element& el, Args a, AttributeValue& r)
{
    MediaDatabase* db = nullptr;
    EntryInfo info;
    std::string path;
    if (LookUp(el, Text(a, 0), db, info)) {
        if (!db->ExternalPath(info, 0, nullptr, path) || path.empty()) {
            path.clear();
            std::vector<int32_t> holders = db->Folders().FoldersOf(info.id);
            std::vector<std::string> names;
            for (int32_t folder = holders.empty() ? 0 : holders.front(); folder >= 0 && names.size() < 64;
                 folder = db->FolderParent(folder)) {
                std::string name;
                db->FolderName(folder, name);
                names.push_back(name);
            }
            for (auto it = names.rbegin(); it != names.rend(); ++it)
                path += *it + "\\";
        }
    }
    r.SetString(path);
}

void MediaType(ScriptEngine&, Element& el, Args a, AttributeValue& r)
{
    MediaDatabase* db = nullptr;
    EntryInfo info;
    r.SetString(LookUp(el, Text(a, 0), db, info) ? info.type : std::string());
}

void Mid(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    std::string s = Text(a, 0);
    int32_t start = Long(a, 1);
    int32_t n = Long(a, 2);
    if (start >= 0 && start < static_cast<int32_t>(s.size())) {
        s = s.substr(start);
        if (n >= 0 && static_cast<int32_t>(s.size()) > n)
            s.resize(n);
    }
    r.SetString(s);
}

void Preload(ScriptEngine&, Element& el, Args a, AttributeValue&)
{
    MediaDatabase* db = nullptr;
    EntryInfo info;
    if (LookUp(el, Text(a, 0), db, info))
        db->PrefetchEntry(info);
}

void Preset(ScriptEngine&, Element& el, Args a, AttributeValue&)
{
    // The database file is opened per operation, so positioning it ahead is a lookup of where
    // the first part starts.
    MediaDatabase* db = nullptr;
    EntryInfo info;
    if (LookUp(el, Text(a, 0), db, info)) {
        std::string path;
        int64_t offset = 0;
        int32_t length = 0;
        db->PartPosition(info, 0, nullptr, path, offset, length);
    }
}

void Quit(ScriptEngine&, Element& el, Args, AttributeValue&)
{
    if (InterfaceObject* top = TopInterface(el)) {
        AttributeValue ignored;
        top->CallMethod("Close", {}, ignored);
    }
}

void RestoreCursor(ScriptEngine& e, Element&, Args, AttributeValue&)
{
    e.EndWaitCursor();
}

void Right(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    std::string s = Text(a, 0);
    int32_t n = Long(a, 1);
    if (n >= 0 && static_cast<int32_t>(s.size()) > n)
        s = s.substr(s.size() - n);
    r.SetString(s);
}

void Str(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetString(FormatScriptNumber(Number(a, 0)));
}

void Ticks(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetLong(static_cast<int32_t>(ClockOf(e).TickCount() - e.TimerBase()));
}

void UpperCase(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetString(Upper(Text(a, 0)));
}

void Val(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    double value = 0;
    if (!ParseScriptNumber(Text(a, 0), value))
        value = 0;
    r.SetDouble(value);
}

void WaitCursor(ScriptEngine& e, Element&, Args, AttributeValue&)
{
    e.BeginWaitCursor();
}

void Word(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetString(WordOf(Text(a, 0), Long(a, 1)));
}

void ASin(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    double x = Number(a, 0);
    r.SetDouble(x < -1 || x > 1 ? 0 : std::asin(x));
}

void ACos(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    double x = Number(a, 0);
    r.SetDouble(x < -1 || x > 1 ? 0 : std::acos(x));
}

void ATan(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(std::atan(Number(a, 0)));
}

double Angle(Args a)
{
    return Number(a, 0) * (Flag(a, 1) ? 1.0 : kDegreesToRadians);
}

void Sin(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(std::sin(Angle(a)));
}

void Cos(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(std::cos(Angle(a)));
}

void Tan(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(std::tan(Angle(a)));
}

void Random(ScriptEngine& e, Element&, Args a, AttributeValue& r)
{
    int32_t maximum = Long(a, 0);
    if (maximum < 1) {
        r.SetLong(0);
        return;
    }
    Clock& clock = ClockOf(e);
    if (!e.RandomSeeded()) {
        std::srand(static_cast<unsigned>(clock.LocalSeconds()));
        e.SetRandomSeeded();
    }
    int64_t base = clock.TickCount() % static_cast<uint32_t>(maximum);
    // Draws come from the classic 15-bit generator range; a maximum beyond it takes the first.
    int64_t draw = std::rand() % kGeneratorRange;
    while (maximum <= kGeneratorRange && draw >= maximum)
        draw = std::rand() % kGeneratorRange;
    int64_t result = (base + draw) % maximum;
    r.SetLong(static_cast<int32_t>(result < 0 ? result + maximum : result));
}

void RadToAngle(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(RadiansToAngle(Number(a, 0)));
}

void AngleToRad(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(Number(a, 0) * kDegreesToRadians);
}

void Ln(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(std::log(Number(a, 0)));
}

void Log(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(std::log10(Number(a, 0)));
}

void Exp(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetDouble(std::exp(Number(a, 0)));
}

void Round(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetLong(ToLong(RoundAwayFromZero(Number(a, 0))));
}

void Truncate(ScriptEngine&, Element&, Args a, AttributeValue& r)
{
    r.SetLong(ToLong(std::trunc(Number(a, 0))));
}

void LoadString(ScriptEngine& e, Element&, Args a, AttributeValue& r)
{
    r.SetString("");
    std::string file = Text(a, 0);
    std::string name = Text(a, 1);
    if (!SafeFileName(file) || name.empty() || e.GetSettings().dataFolder.empty())
        return;
    std::string path = StringFilePath(e, file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return;
    RecordFile records;
    if (!records.Open(path, {}, OpenPolicy::ReadOnly))
        return;
    uint32_t id = 0;
    int32_t length = 0;
    MemoryBlock block;
    if (records.NthRecord(name, 0, id, length) && records.ReadRecord(block, name, id))
        r.SetString(block.ReadCString(0));
}

void SaveString(ScriptEngine& e, Element&, Args a, AttributeValue&)
{
    std::string file = Text(a, 0);
    std::string name = Text(a, 1);
    if (!SafeFileName(file) || name.empty() || e.GetSettings().dataFolder.empty())
        return;
    std::error_code ec;
    std::filesystem::create_directories(e.GetSettings().dataFolder + "/" + kStringFolder, ec);
    RecordFile records;
    if (!records.Open(StringFilePath(e, file), {}, OpenPolicy::CreateIfMissing) || records.IsReadOnly())
        return;
    uint32_t id = 0;
    int32_t length = 0;
    while (records.NthRecord(name, 0, id, length)) {
        if (!records.DeleteRecord(name, id))
            break;
    }
    MemoryBlock block;
    block.AppendString(Text(a, 2), Nul::Include);
    records.WriteRecord(block, name, records.NextRecordId(name), 0);
}

void MessageBox(ScriptEngine& e, Element&, Args a, AttributeValue& r)
{
    int32_t type = Long(a, 2);
    bool cancel = Flag(a, 3);
    if (type < 0 || type > 3) {
        r.SetString("");
        return;
    }
    ui::MessageBoxRequest request;
    request.text = Text(a, 0);
    request.caption = Text(a, 1);
    request.icon = static_cast<ui::MessageBoxIcon>(type);
    if (type == 1)
        request.buttons = cancel ? ui::MessageBoxButtons::YesNoCancel : ui::MessageBoxButtons::YesNo;
    else
        request.buttons = cancel ? ui::MessageBoxButtons::OkCancel : ui::MessageBoxButtons::Ok;
    switch (e.ShowMessage(request)) {
    case ui::MessageBoxResult::Ok: r.SetString("OK"); break;
    case ui::MessageBoxResult::Cancel: r.SetString("Cancel"); break;
    case ui::MessageBoxResult::Yes: r.SetString("Yes"); break;
    case ui::MessageBoxResult::No: r.SetString("No"); break;
    }
}

void FileDialog(ScriptEngine& e, Element&, Args a, AttributeValue& r)
{
    ui::FileDialogRequest request;
    request.caption = Text(a, 0);
    std::string filter = Text(a, 1);
    std::string extension = Text(a, 2);
    if (filter.empty()) {
        request.filters.push_back(ui::FileFilter {"All Files", "*.*"});
        request.initialName = "*.*";
    } else {
        request.filters.push_back(ui::FileFilter {filter, extension});
        request.initialName = extension.empty() ? "*.*" : extension;
    }
    const auto& show = e.GetSettings().fileDialog;
    r.SetString(show ? show(request) : std::string());
}

void GetDate(ScriptEngine& e, Element&, Args a, AttributeValue& r)
{
    LocalTime now = ClockOf(e).Now();
    int month = std::clamp(now.month, 1, 12);
    if (!Flag(a, 0)) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%s %d, %d", kMonthNames[month - 1], now.day, now.year);
        r.SetString(buffer);
        return;
    }
    // The numeric form shows the years since 1900, as it always did.
    const char* format = Flag(a, 1) ? "%.2d/%.2d/%d" : "%d/%d/%d";
    r.SetString(Format2(format, month, now.day, now.year - 1900));
}

void GetDateMonth(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetLong(ClockOf(e).Now().month);
}

void GetDateMonthName(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetString(kMonthNames[std::clamp(ClockOf(e).Now().month, 1, 12) - 1]);
}

void GetDateDay(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetLong(ClockOf(e).Now().day);
}

void GetDateYear(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetLong(ClockOf(e).Now().year);
}

void GetTime(ScriptEngine& e, Element&, Args a, AttributeValue& r)
{
    LocalTime now = ClockOf(e).Now();
    bool seconds = Flag(a, 0);
    bool clock24 = Flag(a, 1);
    int hour = now.hour;
    const char* suffix = "";
    if (!clock24) {
        suffix = hour >= 12 ? " PM" : " AM";
        hour = hour % 12 == 0 ? 12 : hour % 12;
    }
    std::string text = seconds ? Format2("%.2d:%.2d:%.2d", hour, now.minute, now.second)
                               : Format2("%.2d:%.2d", hour, now.minute);
    r.SetString(text + suffix);
}

void GetTimeHour(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetLong(ClockOf(e).Now().hour);
}

void GetTimeMin(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetLong(ClockOf(e).Now().minute);
}

void GetTimeSec(ScriptEngine& e, Element&, Args, AttributeValue& r)
{
    r.SetLong(ClockOf(e).Now().second);
}

}  // namespace

std::string WordOf(std::string_view text, int32_t wordNumber)
{
    if (wordNumber < 1 || text.empty())
        return {};
    int32_t current = 1;
    size_t start = 0;
    size_t i = 0;
    for (;;) {
        if (i == text.size() || text[i] == ' ') {
            if (current == wordNumber)
                return std::string(text.substr(start, i - start));
            if (i == text.size())
                return {};
            while (i < text.size() && text[i] == ' ')
                ++i;
            start = i;
            ++current;
            if (i == text.size())
                return current == wordNumber ? std::string() : std::string();
            continue;
        }
        ++i;
    }
}

double RoundAwayFromZero(double value)
{
    double whole = std::trunc(value);
    double fraction = value - whole;
    if (value >= 0 && fraction >= 0.5)
        whole += 1;
    else if (value < 0 && fraction <= -0.5)
        whole -= 1;
    return whole;
}

double RadiansToAngle(double radians)
{
    double angle = radians * kRadiansToDegrees;
    double remainder = std::fmod(angle, kAngleStep);
    angle -= remainder;
    if (remainder > 0 && remainder >= kAngleStep / 2)
        angle += kAngleStep;
    else if (remainder < 0 && remainder <= -kAngleStep / 2)
        angle -= kAngleStep;
    return angle;
}

const std::vector<BuiltinFunction>& BuiltinFunctions()
{
    static const std::vector<BuiltinFunction> kTable = {
        {Def("Beep", V::Void), Beep},
        {Def("Chr", V::String, P(V::Byte, "Character")), Chr},
        {Def("Contains", V::Boolean, P(V::String, "Str"), P(V::String, "Contains")), Contains},
        {Def("HomeDirectory", V::String), HomeDirectory},
        {Def("Launch", V::Void, P(V::String, "Command")), Launch},
        {Def("Left", V::String, P(V::String, "Str"), P(V::Long, "NumChars")), Left},
        {Def("Length", V::Long, P(V::String, "Str")), Length},
        {Def("LowerCase", V::String, P(V::String, "Str")), LowerCase},
        {Def("MCICommand", V::Void, P(V::String, "Command")), MciCommand},
        {Def("MediaField", V::String, P(V::String, "NameOrID"), P(V::String, "FieldName")), MediaField},
        {Def("MediaName", V::String, P(V::String, "NameOrID")), MediaName},
        {Def("MediaPath", V::String, P(V::String, "NameOrID")), MediaPath},
        {Def("MediaType", V::String, P(V::String, "NameOrID")), MediaType},
        {Def("Mid", V::String, P(V::String, "Str"), P(V::Long, "Start"), P(V::Long, "NumChars")), Mid},
        {Def("Preload", V::Void, P(V::String, "String Media")), Preload},
        {Def("Preset", V::Void, P(V::String, "String Media")), Preset},
        {Def("Quit", V::Void), Quit},
        {Def("RestoreCursor", V::Void), RestoreCursor},
        {Def("Right", V::String, P(V::String, "Str"), P(V::Long, "NumChars")), Right},
        {Def("Str", V::String, P(V::Double, "Val")), Str},
        {Def("Ticks", V::Long), Ticks},
        {Def("UpperCase", V::String, P(V::String, "Str")), UpperCase},
        {Def("Val", V::Double, P(V::String, "Str")), Val},
        {Def("WaitCursor", V::Void), WaitCursor},
        {Def("Word", V::String, P(V::String, "Str"), P(V::Long, "WordNum")), Word},
        {Def("ASin", V::Double, P(V::Double, "Angle")), ASin},
        {Def("ACos", V::Double, P(V::Double, "Angle")), ACos},
        {Def("ATan", V::Double, P(V::Double, "Angle")), ATan},
        {Def("Sin", V::Double, P(V::Double, "Angle"), P(V::Boolean, "Radian")), Sin},
        {Def("Cos", V::Double, P(V::Double, "Angle"), P(V::Boolean, "Radian")), Cos},
        {Def("Tan", V::Double, P(V::Double, "Angle"), P(V::Boolean, "Radian")), Tan},
        {Def("Random", V::Long, P(V::Long, "Maximum")), Random},
        {Def("RadToAngle", V::Double, P(V::Double, "Radian")), RadToAngle},
        {Def("AngleToRad", V::Double, P(V::Double, "Angle")), AngleToRad},
        {Def("Ln", V::Double, P(V::Double, "Val")), Ln},
        {Def("Log", V::Double, P(V::Double, "Val")), Log},
        {Def("Exp", V::Double, P(V::Double, "Val")), Exp},
        {Def("Round", V::Long, P(V::Double, "Val")), Round},
        {Def("Truncate", V::Long, P(V::Double, "Val")), Truncate},
        {Def("LoadString", V::String, P(V::String, "FileName"), P(V::String, "Name")), LoadString},
        {Def("SaveString", V::Void, P(V::String, "FileName"), P(V::String, "Name"), P(V::String, "String Data")),
            SaveString},
        {Def("MessageBox", V::String, P(V::String, "Message"), P(V::String, "Caption"),
             P(V::Long, "Info-0;Ques-1;Warn-2;Error-3"), P(V::Boolean, "Cancel Button")),
            MessageBox},
        {Def("FileDialog", V::String, P(V::String, "Caption"), P(V::String, "Filter"), P(V::String, "Extention")),
            FileDialog},
        {Def("GetDate", V::String, P(V::Boolean, "DigitMonth"), P(V::Boolean, "2DigitDay")), GetDate},
        {Def("GetDateMonth", V::Long), GetDateMonth},
        {Def("GetDateMonthName", V::String), GetDateMonthName},
        {Def("GetDateDay", V::Long), GetDateDay},
        {Def("GetDateYear", V::Long), GetDateYear},
        {Def("GetTime", V::String, P(V::Boolean, "DisplaySecond"), P(V::Boolean, "24Hour")), GetTime},
        {Def("GetTimeHour", V::Long), GetTimeHour},
        {Def("GetTimeMin", V::Long), GetTimeMin},
        {Def("GetTimeSec", V::Long), GetTimeSec},
    };
    return kTable;
}

const BuiltinFunction* FindBuiltin(std::string_view name)
{
    for (const BuiltinFunction& f : BuiltinFunctions()) {
        if (NamesEqual(f.definition.name, name))
            return &f;
    }
    return nullptr;
}

const MethodDef* FindBuiltinFunction(std::string_view name)
{
    const BuiltinFunction* f = FindBuiltin(name);
    return f ? &f->definition : nullptr;
}

}  // namespace tamber
