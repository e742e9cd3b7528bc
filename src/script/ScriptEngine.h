#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "iface/MediaRef.h"

#include "iface/ScriptHost.h"
#include "platform/BreakKey.h"
#include "script/ScriptScanner.h"
#include "ui/DialogAnswers.h"

namespace tamber {

class Beeper;
class Clock;
class DynamicLibraryLoader;
class Launcher;
class MciCommands;
class Element;
class PlugInManager;
class SystemServices;

// Where trace lines go (the player prints them with --trace).
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void TraceLine(std::string_view line) = 0;
};

// The script engine of the process: the scanner shared by every handler, the ten globals, the
// trace list and the settings through which handlers reach the user and the platform. It is the
// ScriptHost the element base calls; Install() makes it the process's host.
class ScriptEngine : public ScriptHost {
public:
    static constexpr int kDoubleGlobals = 7;   // A to G
    static constexpr int kStringGlobals = 3;   // S, S1, S2
    static constexpr int kMaxTraceLines = 200;
    static constexpr int kMaxTraceLineLength = 126;

    using MessageBoxFunction = std::function<ui::MessageBoxResult(const ui::MessageBoxRequest&)>;
    using FileDialogFunction = std::function<std::string(const ui::FileDialogRequest&)>;

    struct Settings {
        Clock* clock = nullptr;             // time for the date, time and tick functions
        TraceSink* trace = nullptr;         // where the trace list is printed; null: no trace
        BreakKey* breakKey = nullptr;       // Ctrl+Break; null: never pressed
        // A handler running longer is ended as Ctrl+Break would; 0: no limit. Measured on the
        // watchdog clock (the real clock unless set), since a virtual clock stands still while
        // a script loops.
        double timeoutSeconds = 0;
        Clock* watchdogClock = nullptr;
        MessageBoxFunction messageBox;      // default: the window framework's message box
        FileDialogFunction fileDialog;      // default: the framework's open-file dialog
        std::string dataFolder;             // holds "zd/" of the string files
        // The platform's services for the built-in functions; null: the function does nothing.
        // Interactive runs: PosixLauncher, MciCommands over SdlMciWaveOutput, ToneBeeper,
        // SdlBreakKey (above). Headless runs: RecordingLauncher or none, MciCommands over
        // RecordingMciWaveOutput, CountingBeeper, ManualBreakKey set by the automation runner.
        Launcher* launcher = nullptr;
        // --no-launch: Launch starts nothing and says so on the errors stream.
        bool launchEnabled = true;
        MciCommands* mci = nullptr;
        Beeper* beeper = nullptr;
        std::function<void(bool on)> waitCursor;       // shows or hides the wait cursor
        std::ostream* errors = nullptr;     // the timeout notice; default std::cerr
        // Plug-ins: the player program's folder and the loader of shared libraries. Without both
        // no plug-in is loaded. plugInCall, when set, replaces the loaded plug-ins: it calls the
        // function of that name with two texts and answers 1 when one was found.
        std::string plugInFolder;
        SystemServices* system = nullptr;
        DynamicLibraryLoader* libraries = nullptr;
        std::function<int(const std::string& name, const std::string& first, const std::string& second,
            std::string& result)> plugInCall;
        // Opens the popups of a hot link's targets for the element (the Text runtime's part).
        std::function<void(Element& element)> spawnPopups;
    };

    ScriptEngine();
    ~ScriptEngine() override;

    // The engine of the process; Install() makes it the element base's host.
    static ScriptEngine& Process();
    void Install();

    Settings& GetSettings() { return m_settings; }

    // ScriptHost.
    int ExecuteEvent(Element& element, const EventCall& call) override;
    void EnsureEventStubs(Element& element) override;
    void RebuildTokens(Element& element) override;
    int CallFunction(Element& element, std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;
    // The first interface window to open loads the plug-ins; the last to close unloads them.
    void InterfaceWindowOpened() override;
    void InterfaceWindowClosed() override;

    // The loaded plug-ins, or null while no interface window is open.
    PlugInManager* PlugIns() { return m_plugIns.get(); }
    // Calls a plug-in function as "Name.plg ( a, b )" does; answers 1 when one was called.
    int CallPlugIn(const std::string& name, const std::string& first, const std::string& second,
        std::string& result);

    // Globals: "A" to "G" and "S", "S1", "S2" (case ignored).
    double DoubleGlobal(int index) const { return m_doubles[index]; }
    void SetDoubleGlobal(int index, double value) { m_doubles[index] = value; }
    const std::string& StringGlobal(int index) const { return m_strings[index]; }
    void SetStringGlobal(int index, std::string value);
    // The global's slot: 0-6 Doubles, 7-9 Strings; -1 for other names.
    static int GlobalSlot(std::string_view name);
    void ResetGlobals();

    ScriptScanner& SharedScanner() { return m_scanner; }
    // The trace list: at most 200 lines, oldest first.
    const std::deque<std::string>& TraceLines() const { return m_traceLines; }
    void AddTraceLine(std::string line);
    bool Tracing() const { return m_settings.trace != nullptr; }

    // Shows a message box through the settings; answers the pressed button.
    ui::MessageBoxResult ShowMessage(const ui::MessageBoxRequest& request);
    void BeginWaitCursor();
    void EndWaitCursor();
    int32_t WaitCursorCount() const { return m_waitCursor; }
    // The base of "Ticks": set by the Interface method "TimerStart".
    void SetTimerBase(uint32_t tick) override { m_timerBase = tick; }
    uint32_t TimerBase() const { return m_timerBase; }
    bool RandomSeeded() const { return m_randomSeeded; }
    void SetRandomSeeded() { m_randomSeeded = true; }
    bool InError() const override { return m_inError; }
    void SetInError(bool inError) { m_inError = inError; }
    // Nesting depth of running handlers.
    int32_t Depth() const { return m_depth; }

    // Hot link state while an event started by a hot link runs.
    struct HotLinkState {
        int32_t index = -1;
        int32_t mediaId = -1;
        Element* text = nullptr;
    };
    HotLinkState& HotLink() { return m_hotLink; }
    // Replaces the SpawnMedia placeholder by the first target of the current hot link whose
    // catalogue type fits expectedType (any when empty); the target is taken off the link.
    void ResolveSpawnMedia(MediaRef& media, std::string_view expectedType);
    // Targets of the current hot link: media ids or media reference strings, in order. The
    // Text runtime fills them when a hot link event starts.
    struct HotLinkTarget {
        int32_t mediaId = -1;     // an "MObj" target
        std::string name;         // an "MNam" target when mediaId is -1
    };
    std::vector<HotLinkTarget>& HotLinkTargets() { return m_hotLinkTargets; }

private:
    friend class Interpreter;

    Settings m_settings;
    ScriptScanner m_scanner;
    std::array<double, kDoubleGlobals> m_doubles {};
    std::array<std::string, kStringGlobals> m_strings;
    std::deque<std::string> m_traceLines;
    int32_t m_waitCursor = 0;
    uint32_t m_timerBase = 0;
    bool m_randomSeeded = false;
    bool m_inError = false;
    int32_t m_depth = 0;
    HotLinkState m_hotLink;
    std::vector<HotLinkTarget> m_hotLinkTargets;
    ScriptHost* m_previousHost = nullptr;
    std::unique_ptr<PlugInManager> m_plugIns;
    int32_t m_windows = 0;
    bool m_installed = false;
};

}  // namespace tamber
