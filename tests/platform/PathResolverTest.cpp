#include <gtest/gtest.h>

#include "platform/FakeSystemServices.h"
#include "platform/PathResolver.h"

using namespace tamber;

namespace {

struct Disc {
    FakeSystemServices system;
    Disc()
    {
        system.AddFile("/media/cdrom/Video/Intro.avi");
        system.AddFile("/media/cdrom/video/other.avi");
        system.AddFile("/home/u/title/app.mmd");
        system.AddFile("/home/u/title/Video/Intro.AVI");
        system.AddFile("/home/u/title/Map.bmp");
        system.AddFile("/home/u/Art/map.BMP");
        system.AddFile("/home/u/title/Sounds/theme.wav");
        system.AddDirectory("/home/u/title/Empty");
    }
};

}  // namespace

TEST(PathResolver, DriveLetterPathsTryMappingsThenTheDatabaseFolderThenTheFileName)
{
    Disc d;
    DriveMapping cdrom;
    ASSERT_EQ(PathResolver::ParseMapping("d=/media/cdrom", cdrom), 1);
    EXPECT_EQ(cdrom.letter, 'D');
    PathResolver mapped(d.system, { cdrom });
    PathResolver unmapped(d.system);
    const std::string base = "/home/u/title";

    EXPECT_EQ(mapped.Resolve("D:\\VIDEO\\INTRO.AVI", base), "/media/cdrom/Video/Intro.avi");
    EXPECT_EQ(mapped.Resolve("D:\\video\\other.AVI", base), "/media/cdrom/video/other.avi")
        << "an exact folder name wins over a case variant";
    EXPECT_EQ(mapped.Resolve("E:\\VIDEO\\INTRO.AVI", base), "/home/u/title/Video/Intro.AVI")
        << "another letter is not mapped";
    EXPECT_EQ(unmapped.Resolve("D:\\VIDEO\\INTRO.AVI", base), "/home/u/title/Video/Intro.AVI");
    EXPECT_EQ(unmapped.Resolve("C:\\WINDOWS\\TEMP\\MAP.BMP", base), "/home/u/title/Map.bmp");
    EXPECT_EQ(unmapped.Resolve("D:\\VIDEO\\OTHER.AVI", base), "") << "unresolved reads as missing";
    EXPECT_EQ(unmapped.Resolve("D:", base), "");
    EXPECT_EQ(unmapped.Resolve("D:\\VIDEO", base), "") << "a folder is not a file";

    // The mappings the player was given (--drive) travel with the system services.
    d.system.SetDriveMappings({cdrom});
    EXPECT_EQ(PathResolver(d.system).Resolve("D:\\VIDEO\\INTRO.AVI", base), "/media/cdrom/Video/Intro.avi");
}

TEST(PathResolver, RelativeAndRootedPaths)
{
    Disc d;
    PathResolver r(d.system);
    const std::string base = "/home/u/title";
    EXPECT_EQ(r.Resolve("..\\ART\\MAP.BMP", base), "/home/u/Art/map.BMP");
    EXPECT_EQ(r.Resolve("sounds\\.\\THEME.WAV", base), "/home/u/title/Sounds/theme.wav");
    EXPECT_EQ(r.Resolve("sounds/theme.wav", base), "/home/u/title/Sounds/theme.wav");
    EXPECT_EQ(r.Resolve("THEME.WAV", base), "") << "relative paths do not fall back to the name";
    EXPECT_EQ(r.Resolve("\\SOUNDS\\THEME.WAV", base), "/home/u/title/Sounds/theme.wav");
    EXPECT_EQ(r.Resolve("\\MEDIA\\CDROM\\VIDEO\\INTRO.AVI", base), "/media/cdrom/Video/Intro.avi");
    EXPECT_EQ(r.Resolve("\\ELSEWHERE\\MAP.BMP", base), "/home/u/title/Map.bmp");
    EXPECT_EQ(r.Resolve("", base), "");
    EXPECT_EQ(r.Resolve("Empty", base), "");
    EXPECT_EQ(r.Resolve("..\\..\\..\\..\\media\\cdrom\\video\\other.avi", base), "/media/cdrom/video/other.avi")
        << "climbing stops at the root";
}

TEST(PathResolver, MappingsAreParsedStrictly)
{
    DriveMapping m;
    EXPECT_EQ(PathResolver::ParseMapping("D=", m), 0);
    EXPECT_EQ(PathResolver::ParseMapping("DD=/x", m), 0);
    EXPECT_EQ(PathResolver::ParseMapping("1=/x", m), 0);
    ASSERT_EQ(PathResolver::ParseMapping("z=/mnt/z", m), 1);
    EXPECT_EQ(m.letter, 'Z');
    EXPECT_EQ(m.root, "/mnt/z");
}
