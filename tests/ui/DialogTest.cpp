#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "UiTestSupport.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/PrintDialog.h"
#include "ui/ScriptedAnswers.h"

namespace tamber::ui::test {
namespace {

// Clicks the child of the topmost modal window whose caption is given, once the loop idles.
void ClickWhenIdle(UiHarness& h, std::string caption)
{
    h.app.SetIdleHandler([&h, caption, done = false]() mutable {
        TWindow* modal = h.app.TopModal();
        if (done || !modal)
            return IdleResult::Exhausted;
        for (TWindow* child : modal->Children()) {
            if (child->Caption() == caption) {
                gfx::Rect r = child->WindowRect();
                h.screen.PostEvent(MouseEvent(EventType::MouseMove, r.left + 5, r.top + 5));
                h.screen.PostEvent(MouseEvent(EventType::MouseDown, r.left + 5, r.top + 5));
                h.screen.PostEvent(MouseEvent(EventType::MouseUp, r.left + 5, r.top + 5));
                done = true;
                return IdleResult::Continue;
            }
        }
        return IdleResult::Exhausted;
    });
}

TEST(MessageBox, ButtonsNamesAndTheScriptedAnswers)
{
    EXPECT_EQ(ButtonsOf(MessageBoxButtons::YesNo), (std::vector<MessageBoxResult> { MessageBoxResult::Yes, MessageBoxResult::No }));
    MessageBoxResult r;
    EXPECT_EQ(ParseButtonName("cancel", r), 1);
    EXPECT_EQ(r, MessageBoxResult::Cancel);
    EXPECT_EQ(ParseButtonName("Maybe", r), 0);

    UiHarness h;
    std::ostringstream log;
    ScriptedAnswers answers(&log);
    h.app.SetDialogAnswers(&answers);
    EXPECT_EQ(answers.Answer("no"), 1);
    EXPECT_EQ(answers.Answer("Later"), 0);
    EXPECT_EQ(answers.Answer("Cancel"), 1);
    EXPECT_EQ(ShowMessageBox(nullptr, "Save changes?", "Editor", MessageBoxIcon::Question, MessageBoxButtons::YesNoCancel),
              MessageBoxResult::No);
    // An answer the box cannot give falls back to the default button.
    EXPECT_EQ(ShowMessageBox(nullptr, "Done.\nAll of it.", "Info", MessageBoxIcon::Information, MessageBoxButtons::Ok),
              MessageBoxResult::Ok);
    EXPECT_EQ(ShowMessageBox(nullptr, "Again?", "Q", MessageBoxIcon::Question, MessageBoxButtons::YesNo), MessageBoxResult::Yes);
    EXPECT_EQ(log.str(), "MessageBox [Editor] Save changes? -> No\n"
                         "MessageBox [Info] Done. All of it. -> OK\n"
                         "MessageBox [Q] Again? -> Yes\n");
    EXPECT_EQ(h.app.WindowCount(), 0) << "answered boxes show nothing";

    answers.Choose("/tmp/a.bmp");
    EXPECT_EQ(ShowOpenFileDialog(nullptr, FileDialogRequest {}), "/tmp/a.bmp");
    EXPECT_EQ(ShowOpenFileDialog(nullptr, FileDialogRequest {}), "") << "no choice cancels";
}

TEST(MessageBox, ModalBoxAnswersTheButtonPressed)
{
    UiHarness h;
    RecordingWindow owner;
    owner.Create(nullptr, "owner", gfx::Rect::FromSize(0, 0, 200, 200), Visibility::Shown);
    // Keyboard: Tab to No, Enter presses the focused button.
    h.QueueKey(key::kTab);
    h.QueueKey(key::kEnter);
    EXPECT_EQ(ShowMessageBox(&owner, "Quit?", "Q", MessageBoxIcon::Question, MessageBoxButtons::YesNo), MessageBoxResult::No);
    EXPECT_TRUE(h.app.ModalStack().empty());
    // Mouse.
    ClickWhenIdle(h, "Cancel");
    EXPECT_EQ(ShowMessageBox(&owner, "Really?", "W", MessageBoxIcon::Warning, MessageBoxButtons::OkCancel),
              MessageBoxResult::Cancel);
    // Escape answers Cancel; with nobody left to answer, the box closes as the close box would.
    h.app.SetIdleHandler(nullptr);
    h.QueueKey(key::kEscape);
    EXPECT_EQ(ShowMessageBox(&owner, "x", "E", MessageBoxIcon::Error, MessageBoxButtons::YesNoCancel), MessageBoxResult::Cancel);
    EXPECT_EQ(ShowMessageBox(&owner, "x", "E", MessageBoxIcon::Error, MessageBoxButtons::YesNo), MessageBoxResult::Yes);
    EXPECT_EQ(owner.Count(msg::kKeyDown), 0) << "keys went to the box, not its owner";
    EXPECT_EQ(h.app.WindowCount(), 1);
}

TEST(MessageBox, LongTextWrapsAndTheBoxGrows)
{
    UiHarness h;
    MessageBoxDialog small(MessageBoxRequest { "short", "c", MessageBoxIcon::Information, MessageBoxButtons::Ok });
    MessageBoxDialog big(MessageBoxRequest { std::string(200, 'w') + " and more words\nsecond line", "c",
        MessageBoxIcon::Information, MessageBoxButtons::Ok });
    ASSERT_EQ(small.Open(nullptr), 1);
    ASSERT_EQ(big.Open(nullptr), 1);
    EXPECT_LE(big.ClientWidth(), MessageBoxDialog::kMaxTextWidth + 3 * MessageBoxDialog::kMargin + MessageBoxDialog::kIconSize);
    EXPECT_EQ(big.ClientHeight(), small.ClientHeight() + 5 * 10 - MessageBoxDialog::kIconSize) << "five lines of ten pixels";
    EXPECT_EQ(small.RectInParent().left, (640 - small.RectInParent().Width()) / 2);
}

TEST(FileDialog, ListsFilteredFilesAndFoldersAndChoosesByName)
{
    EXPECT_TRUE(MatchesFilter("Photo.BMP", "*.bmp;*.dib"));
    EXPECT_TRUE(MatchesFilter("x.dib", "*.bmp; *.dib"));
    EXPECT_FALSE(MatchesFilter("x.bmpx", "*.bmp"));
    EXPECT_TRUE(MatchesFilter("README", "*.*"));
    EXPECT_TRUE(MatchesFilter("a1.txt", "a?.t*"));
    EXPECT_FALSE(MatchesFilter("anything", ""));

    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("tamber_filedialog_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    for (const char* name : { "b.bmp", "A.bmp", "notes.txt", ".hidden.bmp" })
        std::ofstream(dir / name) << "x";
    std::ofstream(dir / "sub" / "c.bmp") << "x";

    UiHarness h;
    FileDialogRequest request;
    request.caption = "Pick";
    request.filters = { { "Bitmaps", "*.bmp" }, { "Text", "*.txt" } };
    request.folder = dir.string();
    std::vector<std::string> files, folders;
    h.app.SetIdleHandler([&, step = 0]() mutable {
        auto* dialog = dynamic_cast<FileDialog*>(h.app.TopModal());
        if (!dialog)
            return IdleResult::Exhausted;
        if (step == 0) {
            for (int32_t i = 0; i < dialog->Files().Count(); ++i)
                files.push_back(dialog->Files().GetText(i));
            for (int32_t i = 0; i < dialog->Folders().Count(); ++i)
                folders.push_back(dialog->Folders().GetText(i));
            // Into the sub-folder with a double click, then type a name there.
            dialog->Folders().SetCurSel(1);
            dialog->Folders().SendMessage(msg::kDoubleClick, 0, PackPoint(gfx::Point { 5, 5 + 12 }));
            ++step;
            return IdleResult::Continue;
        }
        if (step == 1) {
            ++step;
            h.QueueKey('A', kModControl);
            for (char c : std::string("c.bmp"))
                h.QueueKey(c == '.' ? 0xBE : (c >= 'a' ? c - 32 : c), 0, static_cast<uint8_t>(c));
            h.QueueKey(key::kEnter);
            return IdleResult::Continue;
        }
        return IdleResult::Exhausted;
    });
    std::string chosen = ShowOpenFileDialog(nullptr, request);
    EXPECT_EQ(files, (std::vector<std::string> { "A.bmp", "b.bmp" }));
    EXPECT_EQ(folders, (std::vector<std::string> { "..", "[sub]" }));
    EXPECT_EQ(fs::path(chosen), fs::weakly_canonical(dir / "sub" / "c.bmp"));

    // Cancelled (nobody answers): an empty path.
    h.app.SetIdleHandler(nullptr);
    EXPECT_EQ(ShowOpenFileDialog(nullptr, request), "");
    fs::remove_all(dir);
}

TEST(PrintDialog, PageRangeCopiesAndCollate)
{
    UiHarness h;
    PrintSettings settings;
    settings.collate = false;
    h.app.SetIdleHandler([&, step = 0]() mutable {
        auto* dialog = dynamic_cast<PrintDialog*>(h.app.TopModal());
        if (!dialog || step > 0)
            return IdleResult::Exhausted;
        ++step;
        EXPECT_EQ(dialog->AllPages().CheckState(), 1);
        EXPECT_EQ(dialog->Collate().CheckState(), 0);
        dialog->From().SetFocus();
        dialog->From().SetText("3");
        dialog->To().SetText("99");
        dialog->Copies().SetFocus();
        h.QueueKey(key::kUp);
        h.QueueKey(key::kUp);
        dialog->Collate().Click();
        h.QueueKey(key::kEnter);
        return IdleResult::Continue;
    });
    ASSERT_EQ(ShowPrintDialog(nullptr, PrintRequest { 1, 12 }, settings), 1);
    EXPECT_FALSE(settings.allPages);
    EXPECT_EQ(settings.fromPage, 3);
    EXPECT_EQ(settings.toPage, 12) << "kept within the document";
    EXPECT_EQ(settings.copies, 3);
    EXPECT_TRUE(settings.collate);

    h.app.SetIdleHandler(nullptr);
    PrintSettings untouched;
    untouched.copies = 7;
    EXPECT_EQ(ShowPrintDialog(nullptr, PrintRequest {}, untouched), 0);
    EXPECT_EQ(untouched.copies, 7);
}

} // namespace
} // namespace tamber::ui::test
