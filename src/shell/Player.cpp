#include "shell/Player.h"

#include "shell/CommandLine.h"
#include "ui/MessageBox.h"
#include "ui/TWindow.h"

namespace tamber::shell {

namespace {

constexpr const char* kInterfaceType = "Interface";

// Shows the database's own messages (upgrades, under "MMDB") as message boxes.
class MessageBoxSink final : public MessageSink {
public:
    void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override
    {
        static constexpr ui::MessageBoxIcon kIcons[] = {
            ui::MessageBoxIcon::Information, ui::MessageBoxIcon::Warning, ui::MessageBoxIcon::Error};
        ui::ShowMessageBox(nullptr, text, caption, kIcons[static_cast<int>(kind)], ui::MessageBoxButtons::Ok);
    }
};

// The invisible window that exists from start until the start Interface is shown.
class ShellWindow final : public ui::TWindow {
};

}  // namespace

std::string StartupMessages::Format(const char* message, const std::string& name)
{
    std::string text = message;
    if (size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, name);
    return text;
}

Player::Player(ui::Application& app, FileSystem& files, SystemServices& system, StartWindowFactory windows)
    : m_app(app), m_files(files), m_system(system), m_windowFactory(std::move(windows)),
      m_messages(std::make_unique<MessageBoxSink>())
{
}

Player::~Player()
{
    TearDown();
}

int Player::Run(const std::vector<std::string>& words, const std::string& programPath)
{
    if (!Start(words, programPath)) {
        TearDown();
        return 0;
    }
    return Finish();
}

int Player::Start(const std::vector<std::string>& words, const std::string& programPath)
{
    m_shellWindow = std::make_unique<ShellWindow>();
    m_shellWindow->Create(nullptr, Visibility::Hidden);

    switch (CommandLine::DatabasePath(words, programPath, m_path)) {
    case CommandLine::PathResult::Ok:
        break;
    case CommandLine::PathResult::Empty:
        m_stage = StartupStage::NoPath;
        return 0;
    case CommandLine::PathResult::TooLong:
        // A path that does not fit the path buffer names no database the player can open.
        Message(StartupMessages::kNotFound);
        m_stage = StartupStage::OpenFailed;
        return 0;
    }
    if (!OpenDatabase())
        return 0;

    MemoryBlock interfaceBytes;
    if (!ReadStartInterface(interfaceBytes)) {
        m_database.reset();
        return 0;
    }
    // The splash media would be shown here.
    if (!CreateStartWindow(interfaceBytes)) {
        m_database.reset();
        return 0;
    }
    return 1;
}

int Player::OpenDatabase()
{
    m_database = std::make_unique<MediaDatabase>(m_files, &m_system, m_messages.get());
    FileStamp stamp;
    // The database open would create a missing file; the player only opens existing ones.
    bool exists = m_files.Stat(m_path, stamp) == 1;
    if (!exists || !m_database->Open(m_path, kPlayerPassword)) {
        bool wrongPassword = exists && m_database->WrongPassword();
        Message(wrongPassword ? StartupMessages::kWrongPassword : StartupMessages::kNotFound);
        m_database.reset();
        m_stage = StartupStage::OpenFailed;
        return 0;
    }
    return 1;
}

int Player::ReadStartInterface(MemoryBlock& bytes)
{
    MemoryBlock record;
    m_database->Records().ReadRecord(record, StartRecord::kRecordName, StartRecord::kRecordId);
    m_start = StartRecord::Parse(record);
    m_startName = m_start.NameForScreen(m_app.Screen().Width());

    EntryInfo info;
    int32_t parts = 0;
    EntryFields fields;
    fields.partCount = &parts;
    if (m_database->FindEntryByName(m_startName, kInterfaceType, &info, fields) != 1) {
        Message(StartupMessages::Format(StartupMessages::kNoInterface, m_startName));
        m_stage = StartupStage::NoInterface;
        return 0;
    }
    if (parts <= 0) {
        Message(StartupMessages::Format(StartupMessages::kExternalInterface, m_startName));
        m_stage = StartupStage::NoInterface;
        return 0;
    }
    if (m_database->ReadEntryPart(info, 0, nullptr, bytes) != 1) {
        // An unreadable part is as good as a missing Interface.
        Message(StartupMessages::Format(StartupMessages::kNoInterface, m_startName));
        m_stage = StartupStage::NoInterface;
        return 0;
    }
    return 1;
}

int Player::CreateStartWindow(const MemoryBlock& bytes)
{
    if (ui::PaletteHook* palettes = m_app.GetPaletteHook())
        palettes->ReleaseShared();
    m_window = m_windowFactory ? m_windowFactory() : nullptr;
    if (!m_window || !m_window->Create(*m_database, bytes, m_start.frameStyle, m_start.caption)) {
        m_window.reset();
        m_stage = StartupStage::NoWindow;
        return 0;
    }
    int32_t screenWidth = m_app.Screen().Width();
    int32_t screenHeight = m_app.Screen().Height();
    int32_t width = m_window->InterfaceWidth();
    int32_t height = m_window->InterfaceHeight();
    if (width == screenWidth || height == screenHeight) {
        m_window->MakeFullScreen();
    } else {
        m_window->Window().Move((screenWidth - width) / 2, (screenHeight - height) / 2);
        m_window->Window().SetCaption(m_start.caption);
    }
    m_window->RaiseOpened();
    return 1;
}

int Player::Finish()
{
    if (!m_window) {
        TearDown();
        return 0;
    }
    m_shellWindow.reset();
    m_window->Window().Show();
    m_app.SetPointerFilter(ui::PointerFilter::Off);
    m_app.SetQuitOnLastWindow(ui::QuitOnLast::Yes);
    int result = m_app.Run();
    m_stage = StartupStage::Ran;
    TearDown();
    return static_cast<int16_t>(result);
}

void Player::CloseStartWindow()
{
    if (m_window && m_window->Window().IsCreated())
        m_window->Window().PostMessage(ui::msg::kClose);
}

void Player::Message(const std::string& text)
{
    ui::ShowMessageBox(nullptr, text, StartupMessages::kCaption, ui::MessageBoxIcon::Information,
                       ui::MessageBoxButtons::Ok);
}

void Player::TearDown()
{
    m_window.reset();
    m_database.reset();
    m_shellWindow.reset();
}

}  // namespace tamber::shell
