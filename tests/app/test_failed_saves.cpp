// Save and Save As that cannot write: each says which file and why, leaves the old file as it
// was, keeps the map in the window and lets it be saved elsewhere.
#include "app_test_support.h"
#include "document/map_file.h"
#include "test_maps.h"
#include "window_snapshot.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/mount.h>
#include <unistd.h>

#include <QLineEdit>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Listing(const fs::path &folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What the system says when a new file is made in the folder, found out without the program:
// empty when it can be made.
std::string ReasonToCreateIn(const fs::path &folder)
{
    const fs::path probe = folder / ("probe-" + std::to_string(::getpid()));
    errno = 0;
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
        return {};
    }
    return std::strerror(errno);
}

// Puts the permissions of a folder back when the test ends, so the temporary folder can go.
class PermissionsBack
{
public:
    explicit PermissionsBack(fs::path folder)
        : folder_(std::move(folder))
    {}
    ~PermissionsBack()
    {
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
    }
    PermissionsBack(const PermissionsBack &) = delete;
    PermissionsBack &operator=(const PermissionsBack &) = delete;

private:
    fs::path folder_;
};

// A tmpfs of 64 KiB mounted on a folder for the test's life; only root can mount one.
class TinyDisk
{
public:
    explicit TinyDisk(fs::path folder)
        : folder_(std::move(folder))
    {
        fs::create_directory(folder_);
        errno = 0;
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k") == 0;
        reason_ = mounted_ ? std::string() : std::strerror(errno);
    }
    ~TinyDisk()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk &) = delete;
    TinyDisk &operator=(const TinyDisk &) = delete;

    bool Mounted() const { return mounted_; }
    const std::string &Reason() const { return reason_; }

private:
    fs::path folder_;
    bool mounted_ = false;
    std::string reason_;
};

// Fills the rest of the disk, then gives back `spare` bytes, fewer than a map needs.
bool FillDisk(const fs::path &file, off_t spare)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const std::vector<char> chunk(4096, 'f');
    off_t size = 0;
    for (;;) {
        const ssize_t written = ::write(fd, chunk.data(), chunk.size());
        if (written <= 0)
            break;
        size += written;
    }
    const bool full = errno == ENOSPC && ::ftruncate(fd, std::max<off_t>(0, size - spare)) == 0;
    ::close(fd);
    return full;
}

struct Scene
{
    // Opens a map of the given size from `path`.
    Scene(const std::string &path, int16_t width = 64, int16_t height = 48)
        : Path(path)
        , Map(MakeDocument(width, height, 3))
    {
        Window.OpenDocument(Map, Path);
        Window.SelectPosition(3);
        Bytes = ReadBytes(Path);
    }

    // Runs a save command that must fail and checks everything it must leave alone; `folder`,
    // when given, must hold the same files afterwards.
    template <typename Command>
    void Fails(Command command,
               const std::string &target,
               const std::string &reason,
               const fs::path &folder)
    {
        const WindowSnapshot before = TakeSnapshot(Window);
        const std::vector<std::string> listing =
            folder.empty() ? std::vector<std::string>() : Listing(folder);
        const std::size_t shown = Window.Messages->Shown.size();
        command();

        QCOMPARE(Window.Messages->Shown.size(), shown + 1);
        const ShownMessage &message = Window.Messages->Shown.back();
        QCOMPARE(message.Title, QStringLiteral("Error"));
        QCOMPARE(message.Icon, MessageIcon::Critical);
        QCOMPARE(message.Buttons, MessageButtons::Ok);
        QVERIFY2(message.Text.contains(Q(target)), qPrintable(message.Text));
        QVERIFY2(!reason.empty() && message.Text.contains(Q(reason)), qPrintable(message.Text));
        // The map, every panel and the name of the file it came from are as they were.
        const QString changed = SnapshotDifference(before, TakeSnapshot(Window));
        QVERIFY2(changed.isEmpty(), qPrintable(changed));
        // No half-written file or left-over temporary file.
        if (!folder.empty())
            QCOMPARE(Listing(folder), listing);
    }

    void SaveAsFails(const std::string &target, const std::string &reason, const fs::path &folder)
    {
        Fails(
            [&] {
                Window.Dialogs->Choose(Q(target), 2);
                Window.Window->mnuFileSaveAs_Click();
            },
            target, reason, folder);
    }

    // The old file is byte for byte as it was and the map can still be saved elsewhere.
    void OldFileKeptAndSavedElsewhere(const std::string &oldPath, const std::string &elsewhere)
    {
        QVERIFY(ReadBytes(oldPath) == Bytes);
        const MapDocument shown = Window.Window->Document();
        QVERIFY(shown == Map);
        Window.Dialogs->Choose(Q(elsewhere));
        Window.Window->mnuFileSaveAs_Click();
        QCOMPARE(Window.Messages->Shown.back().Text,
                 QStringLiteral("File '") + Q(elsewhere) + QStringLiteral("' saved successfully!"));
        QCOMPARE(Window.Child<QLineEdit>("Filename")->text(), Q(elsewhere));
        MapDocument reread;
        QVERIFY(ReadMapFile(elsewhere, reread).Ok());
        QVERIFY(reread == shown);
    }

    WindowUnderTest Window;
    std::string Path;
    MapDocument Map;
    std::vector<uint8_t> Bytes;
};

} // namespace

class FailedSavesTest : public QObject
{
    Q_OBJECT

private slots:
    void saveAsIntoMissingFolder()
    {
        TempDir dir;
        Scene s(dir.File("good.swd"));
        const std::string target = dir.File("missing/x.swd");
        s.SaveAsFails(target, std::strerror(ENOENT), dir.Path());
        if (QTest::currentTestFailed())
            return;
        // A folder of the chosen name is not replaced by the map.
        const std::string folder = dir.File("taken.swd");
        fs::create_directory(folder);
        s.SaveAsFails(folder, "folder", dir.Path());
        if (QTest::currentTestFailed())
            return;
        QVERIFY(fs::is_directory(folder));
        s.OldFileKeptAndSavedElsewhere(s.Path, dir.File("rescued.swd"));
    }

    void saveAfterTheFolderHasGone()
    {
        TempDir dir;
        fs::create_directory(dir.Path() / "sub");
        Scene s(dir.File("sub/m.swd"));
        fs::rename(dir.Path() / "sub", dir.Path() / "moved");
        s.Fails([&] { s.Window.Window->mnuFileSave_Click(); }, s.Path, std::strerror(ENOENT),
                dir.Path());
        if (QTest::currentTestFailed())
            return;
        s.OldFileKeptAndSavedElsewhere(dir.File("moved/m.swd"), dir.File("rescued.wld"));
    }

    void newMapSavedIntoMissingFolderStaysUnnamed()
    {
        TempDir dir;
        WindowUnderTest t;
        t.Window->GenerateMap(64, 64, true);
        const WindowSnapshot before = TakeSnapshot(t);
        const std::string target = dir.File("missing/new.swd");
        t.Dialogs->Choose(Q(target));
        t.Window->mnuFileSave_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        QVERIFY(t.Messages->Shown[0].Text.contains(Q(target)));
        const QString changed = SnapshotDifference(before, TakeSnapshot(t));
        QVERIFY2(changed.isEmpty(), qPrintable(changed));
        QVERIFY(t.Child<QLineEdit>("Filename")->text().isEmpty());
        QVERIFY(fs::is_empty(dir.Path()));
    }

    void readOnlyFolder()
    {
        if (::geteuid() == 0)
            QSKIP("running as root, which writes into read-only folders; see the /proc case");
        TempDir dir;
        const fs::path folder = dir.Path() / "locked";
        fs::create_directory(folder);
        const PermissionsBack back(folder);
        Scene s((folder / "m.swd").string());
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec
                                    | fs::perms::group_read | fs::perms::group_exec
                                    | fs::perms::others_read | fs::perms::others_exec);
        const std::string reason = ReasonToCreateIn(folder);
        QCOMPARE(reason, std::string(std::strerror(EACCES)));

        s.Fails([&] { s.Window.Window->mnuFileSave_Click(); }, s.Path, reason, folder);
        if (QTest::currentTestFailed())
            return;
        s.SaveAsFails((folder / "other.swd").string(), reason, folder);
        if (QTest::currentTestFailed())
            return;
        s.OldFileKeptAndSavedElsewhere(s.Path, dir.File("rescued.swd"));
    }

    void foldersNoOneMayWriteInto()
    {
        TempDir dir;
        Scene s(dir.File("good.swd"));
        for (const char *folder : {"/proc", "/sys"}) {
            const std::string reason = ReasonToCreateIn(folder);
            if (reason.empty())
                continue; // this system lets it be written
            const std::string target =
                std::string(folder) + "/trelvik-" + std::to_string(::getpid()) + ".swd";
            // These folders' listings change as processes come and go: only the target is
            // looked for.
            s.SaveAsFails(target, reason, {});
            if (QTest::currentTestFailed())
                return;
            QVERIFY(!fs::exists(target));
        }
        s.OldFileKeptAndSavedElsewhere(s.Path, dir.File("rescued.swd"));
    }

    void fullDisk()
    {
        if (!fs::exists("/dev/full"))
            QSKIP("this system has no /dev/full");
        TempDir dir;
        // The map's own name has no extension, so the name "/dev/full", chosen under "All
        // files", is taken as it is.
        Scene s(dir.File("plain"));
        const std::string reason = std::strerror(ENOSPC);
        s.SaveAsFails("/dev/full", reason, dir.Path());
        const bool strayFile = fs::exists("/dev/full.swd");
        if (strayFile)
            fs::remove("/dev/full.swd");
        QVERIFY(!strayFile);
        if (QTest::currentTestFailed())
            return;

        // Through a link, the device is written in place and the link stays a link.
        const std::string link = dir.File("full.swd");
        fs::create_symlink("/dev/full", link);
        s.SaveAsFails(link, reason, dir.Path());
        if (QTest::currentTestFailed())
            return;
        QVERIFY(fs::is_symlink(link));
        QCOMPARE(fs::read_symlink(link), fs::path("/dev/full"));
        s.OldFileKeptAndSavedElsewhere(s.Path, dir.File("rescued.swd"));
    }

    void tinyDiskRunsFull()
    {
        TempDir dir;
        const fs::path folder = dir.Path() / "tiny";
        const TinyDisk disk(folder);
        if (!disk.Mounted())
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here: ") + Q(disk.Reason())));
        // 32 x 32 points make a file of about 17 KB; 8 KB stay free, so the write starts and
        // then runs out of room.
        Scene s((folder / "m.swd").string(), 32, 32);
        QVERIFY(FillDisk(folder / "filler", 8192));
        const std::string reason = std::strerror(ENOSPC);

        s.Fails([&] { s.Window.Window->mnuFileSave_Click(); }, s.Path, reason, folder);
        if (QTest::currentTestFailed())
            return;
        s.SaveAsFails((folder / "other.swd").string(), reason, folder);
        if (QTest::currentTestFailed())
            return;
        s.OldFileKeptAndSavedElsewhere(s.Path, dir.File("rescued.swd"));
    }
};

QTEST_MAIN(FailedSavesTest)
#include "test_failed_saves.moc"
