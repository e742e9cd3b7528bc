#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tamber::ui::test {
namespace {

bool HaveCommand(const char* name)
{
    return std::system((std::string("command -v ") + name + " > /dev/null 2>&1").c_str()) == 0;
}

// Opens the gallery in a real SDL window on a virtual X server, clicks its OK push button with
// xdotool and expects the button's notice on the gallery's output.
TEST(XvfbWindow, ClickingARealPushButtonReachesItsOwner)
{
    if (!HaveCommand("xvfb-run") || !HaveCommand("xdotool"))
        GTEST_SKIP() << "xvfb-run or xdotool is not installed";
    namespace fs = std::filesystem;
    fs::path tool = fs::path(TAMBER_BINARY_DIR) / "tools" / "tamberlyne" / "tamberlyne";
    if (!fs::exists(tool))
        GTEST_SKIP() << "tamberlyne is not built";
    fs::path dir = fs::temp_directory_path() / ("tamber_xvfb_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir);
    fs::path script = dir / "click.sh", out = dir / "out.txt";
    std::ofstream(script) << "tool=\"$1\"; out=\"$2\"\n"
                             "\"$tool\" gallery --notices --screen 800x600 > \"$out\" 2>&1 &\n"
                             "pid=$!\n"
                             "wid=\"\"\n"
                             "for i in $(seq 1 100); do\n"
                             "  wid=$(xdotool search --name 'Tamber gallery' 2>/dev/null | head -1)\n"
                             "  [ -n \"$wid\" ] && grep -q 'OK button at' \"$out\" && break\n"
                             "  sleep 0.1\n"
                             "done\n"
                             "sleep 0.5\n"
                             "read -r _ _ _ x y < <(grep 'OK button at' \"$out\")\n"
                             "xdotool mousemove --window \"$wid\" \"$x\" \"$y\"\n"
                             "sleep 0.2\n"
                             "xdotool click --window \"$wid\" 1\n"
                             "for i in $(seq 1 50); do grep -q 'OK: Clicked' \"$out\" && break; sleep 0.1; done\n"
                             "kill $pid; wait $pid 2>/dev/null; exit 0\n";
    std::string command = "timeout 60 xvfb-run -a -s '-screen 0 1024x768x24' bash '" + script.string() + "' '" + tool.string() + "' '"
        + out.string() + "' > /dev/null 2>&1";
    std::system(command.c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    fs::remove_all(dir);
    EXPECT_NE(text.str().find("OK: Clicked"), std::string::npos) << text.str();
}

} // namespace
} // namespace tamber::ui::test
