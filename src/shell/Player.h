#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/MediaDatabase.h"
#include "platform/FileSystem.h"
#include "platform/MessageSink.h"
#include "platform/SystemServices.h"
#include "shell/StartRecord.h"
#include "shell/StartWindow.h"
#include "ui/Application.h"

namespace tamber::shell {

// The caption of every start-up message box, and the messages.
struct StartupMessages {
    static constexpr const char* kCaption = "TamberPlayer";
    static constexpr const char* kNotFound = "The application could not find the database...";
    static constexpr const char* kWrongPassword = "Can't open the database without the correct password!";
    static constexpr const char* kNoInterface = "Couldn't find an Interface object named \"%s\"...";
    static constexpr const char* kExternalInterface = "The Interface object named \"%s\" must be internalized...";
    // The message with the name in place of %s.
    static std::string Format(const char* message, const std::string& name);
};

// Where start-up stopped.
enum class StartupStage : uint8_t {
    NotStarted,
    NoPath,          // no database path could be formed
    OpenFailed,      // message shown, program ends
    NoInterface,     // message shown, database closed
    NoWindow,        // the start Interface could not be shown
    Ran,             // the main loop ran and ended
};

// The player's main routine: finds and opens the database, reads "MMStart", shows the start
// Interface in a window placed by the start rules, runs the main loop and tears down again.
// Start-up failures are message boxes under the caption "TamberPlayer" with exit code 0.
class Player {
public:
    // The database opens with the player's password: databases meant for the player carry none.
    static constexpr const char* kPlayerPassword = "";

    Player(ui::Application& app, FileSystem& files, SystemServices& system, StartWindowFactory windows);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Runs start-up with the command line's words and the program's own file; answers the exit
    // code: the main loop's result sign-extended from 16 bits, 0 when start-up failed.
    int Run(const std::vector<std::string>& words, const std::string& programPath);

    // The pieces of Run, for tests and the start-up benchmark. Start answers 1 when the start
    // Interface window is ready to run; Finish runs the main loop and tears down.
    int Start(const std::vector<std::string>& words, const std::string& programPath);
    int Finish();

    StartupStage Stage() const { return m_stage; }
    const StartRecord& Settings() const { return m_start; }
    const std::string& DatabasePath() const { return m_path; }
    const std::string& StartName() const { return m_startName; }
    MediaDatabase* Database() { return m_database.get(); }
    StartWindow* Window() { return m_window.get(); }
    // Closes the start Interface window as its user would (the automation `quit`).
    void CloseStartWindow();

private:
    int OpenDatabase();
    int ReadStartInterface(MemoryBlock& bytes);
    int CreateStartWindow(const MemoryBlock& bytes);
    void Message(const std::string& text);
    void TearDown();

    ui::Application& m_app;
    FileSystem& m_files;
    SystemServices& m_system;
    StartWindowFactory m_windowFactory;
    std::unique_ptr<MessageSink> m_messages;
    std::unique_ptr<ui::TWindow> m_shellWindow;
    std::unique_ptr<MediaDatabase> m_database;
    std::unique_ptr<StartWindow> m_window;
    StartRecord m_start;
    std::string m_path;
    std::string m_startName;
    StartupStage m_stage = StartupStage::NotStarted;
};

}  // namespace tamber::shell
