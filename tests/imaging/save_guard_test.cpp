// A save writes the new file beside the old one and moves it into place only when it is
// complete: whatever stops it after the data is made leaves the old file as it was and
// nothing else behind, and the old file's bytes are never written over.
#include "ImageFixtures.h"

#include <windows.h>

#include <functional>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace save_guard_test {

using namespace imaging;
using namespace imaging_test;

namespace {

const int kWritableFormats[] = {kFormatPcx, kFormatBmp, kFormatGif, kFormatTif, kFormatJpeg};

// A reader's handle on a file, closed at the end of the scope.
class OpenFile {
public:
    OpenFile(const std::string& path, DWORD sharing)
        : m_handle(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr))
    {
    }
    ~OpenFile()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

// Each case stops a save after its encoder has made the data: a cancel answered to the
// last report before the file is written, or a replacement the system refuses because a
// reader holds the old file without sharing its deletion.
TEST(SaveGuards, AFailureAfterTheDataIsMadeLeavesTheOldFileAndNothingElse)
{
    TestBitmap image;
    MakeBitmap(image, 40, 30, 24, PhotoLike);
    const Bytes old{'o', 'l', 'd'};
    struct Case { std::string why; int format; int expected; std::function<int(const std::string&, int)> save; };
    std::vector<Case> cases;
    for (int format : kWritableFormats) {
        cases.push_back({"cancel answered at 95, format " + std::to_string(format), format, kErrorCancelled,
                         [&](const std::string& path, int f) {
                             StatusRecorder recorder(95);
                             return L_SaveBitmap(path.c_str(), &image.handle, f, 0, 0, nullptr);
                         }});
    }
    cases.push_back({"the old file held open without delete sharing", kFormatPcx, kErrorFileWrite,
                     [&](const std::string& path, int f) {
                         const OpenFile reader(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
                         EXPECT_TRUE(reader.IsOpen());
                         return L_SaveBitmap(path.c_str(), &image.handle, f, 0, 0, nullptr);
                     }});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        const std::string path = folder.Path("kept.img");
        WriteBytes(path, old);
        EXPECT_EQ(c.expected, c.save(path, c.format));
        EXPECT_EQ(old, ReadBytes(path));
        EXPECT_EQ(std::vector<std::string>{"kept.img"}, folder.FileNames());
    }
}

// The old file's bytes are never rewritten: a save that failed part-way through writing
// them would leave neither image. The platform's writes cannot be made to fail here, so
// the old bytes are watched through a second name of the same file (a hard link), which
// keeps them whole while the saved name gets the whole new image.
TEST(SaveGuards, TheOldFilesBytesAreReplacedNeverRewritten)
{
    TestBitmap image;
    MakeBitmap(image, 40, 30, 24, PhotoLike);
    const Bytes old(5000, 'o');
    for (int format : kWritableFormats) {
        SCOPED_TRACE(format);
        ScratchFolder folder;
        const std::string path = folder.Path("replaced.img"), otherName = folder.Path("other name.img");
        WriteBytes(path, old);
        ASSERT_TRUE(CreateHardLinkA(otherName.c_str(), path.c_str(), nullptr));
        ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, format, 0, 0, nullptr));
        EXPECT_EQ(old, ReadBytes(otherName));
        TestBitmap loaded;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
        EXPECT_EQ(image.handle.width, loaded.handle.width);
        EXPECT_EQ(image.handle.height, loaded.handle.height);
    }
}

} // namespace

} // namespace save_guard_test
