// Trovecart tests - data folders, attribute masks and the per-user folder names.
#include <QDir>

#include <gtest/gtest.h>

#include "common/app_folders.h"
#include "common/file_utils.h"
#include "common/folder_manager.h"
#include "support/event_loop.h"
#include "support/test_helpers.h"

namespace {

class TCurrentDirGuard {
public:
    explicit TCurrentDirGuard(const QString& path) : saved_(QDir::currentPath()) { QDir::setCurrent(path); }
    ~TCurrentDirGuard() { QDir::setCurrent(saved_); }

private:
    QString saved_;
};

TEST(FileAttributesTest, MaskAddsTheBitsOfTheFlags) {
    TFileAttributes attributes;
    EXPECT_EQ(attributes.Mask(), 32 + 8192); // archive, and not indexed
    attributes.SetIndexed(true);
    EXPECT_EQ(attributes.Mask(), 32);
    attributes.SetArchive(false);
    attributes.SetHidden(true);
    attributes.SetSystem(true);
    attributes.SetReadOnlyFolder(true);
    attributes.SetTemporary(true);
    EXPECT_EQ(attributes.Mask(), 2 + 4 + 1 + 256);

    // The program's own data folders: hidden, indexed and system on top of archive.
    TFileAttributes dataFolder;
    dataFolder.SetHidden(true);
    dataFolder.SetIndexed(true);
    dataFolder.SetSystem(true);
    EXPECT_EQ(dataFolder.Mask(), 38);
}

TEST(DirConfigItemTest, AbsolutePathsAreNotBelowTheWorkingFolder) {
    TDirConfigItem item;
    EXPECT_TRUE(item.InWorkDir());
    item.SetDir(QStringLiteral("/var/data"));
    EXPECT_FALSE(item.InWorkDir());
    item.SetDir(QStringLiteral("ErrorLogs"));
    EXPECT_TRUE(item.InWorkDir());
}

TEST(FolderManagerTest, ForceFolderCreatesParentsAndLogsEveryStep) {
    TTempFolder temp;
    TFolderManager manager;
    const QString deep = temp.Path() + QStringLiteral("a/b");
    manager.ForceFolder(deep);
    EXPECT_TRUE(FolderExists(deep));
    manager.ForceFolder(deep);
    EXPECT_EQ(manager.OutPutList(),
              QStringList({
                  QStringLiteral("Directory Created : ") + temp.Path() + QStringLiteral("a"),
                  QStringLiteral("Directory Created : ") + deep,
                  QStringLiteral("Directory Exists : ") + deep,
              }));

    WriteFile(temp.File(QStringLiteral("file")), "x");
    manager.ForceFolder(temp.File(QStringLiteral("file/sub")));
    EXPECT_EQ(manager.OutPutList().last(),
              QStringLiteral("Error Createing Directory : ") + temp.File(QStringLiteral("file/sub")));
}

TEST(FolderManagerTest, CreateFoldersResolvesRelativeEntriesAndKeepsHiddenFolders) {
    TTempFolder temp;
    TCurrentDirGuard current(temp.Path());
    QDir().mkdir(temp.File(QStringLiteral(".cache")));

    TFolderManager manager;
    manager.DirList().append(QStringLiteral("plain"));
    for (const QString& name : {QStringLiteral("ErrorLogs"), QStringLiteral(".cache")}) {
        TDirConfigItem& item = manager.AddDirEx(name);
        item.FileAttributes().SetHidden(true);
        item.FileAttributes().SetIndexed(true);
        item.FileAttributes().SetSystem(true);
    }
    manager.CreateFolders();

    EXPECT_TRUE(FolderExists(temp.File(QStringLiteral("plain"))));
    EXPECT_TRUE(FolderExists(temp.File(QStringLiteral("ErrorLogs"))));
    const QStringList log = manager.OutPutList();
    EXPECT_TRUE(log.contains(QStringLiteral("Setting Attributes : ErrorLogs")));
    // Already hidden: its attributes are left alone although the system bit is missing.
    EXPECT_FALSE(log.contains(QStringLiteral("Setting Attributes : .cache")));
    EXPECT_TRUE(log.contains(QStringLiteral("Directory Exists : ") + QDir::currentPath() +
                             QStringLiteral("/.cache")));
}

TEST(AppFoldersTest, DataFolderFollowsTheXdgRules) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/srv/data/");
    EXPECT_EQ(ApplicationDataFolder(), QStringLiteral("/srv/data"));
    qputenv("XDG_DATA_HOME", "relative/ignored");
    EXPECT_EQ(ApplicationDataFolder(), QDir::homePath() + QStringLiteral("/.local/share"));
    qputenv("XDG_DATA_HOME", "/srv/data");
    SetProgramDataSubfolderName(QStringLiteral("Corvalen/Trovecart"));
    EXPECT_EQ(ProgramDataFolder(), QStringLiteral("/srv/data/Corvalen/Trovecart/"));
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);

    // Tests are not traced, so the name carries no debug suffix.
    EXPECT_FALSE(RunningUnderDebugger());
    EXPECT_EQ(DefaultDataSubfolderName(), QStringLiteral("Corvalen/Trovecart"));
}

// Whatever the desktop could not open is reported, so that the user can open it by hand.
TEST(AppFoldersTest, OpeningWithTheShellReportsWhatCouldNotBeOpened) {
    EnsureCoreApplication();
    QObject context;
    QStringList failed;
    const auto open = [&](const char* opener, const QString& target) {
        SetShellOpener(QString::fromLatin1(opener));
        OpenWithShell(target, &context, [&failed, target] { failed << target; });
    };
    open("true", QStringLiteral("https://opened.test/"));
    open("false", QStringLiteral("https://refused.test/"));
    open("/no/such/opener", QStringLiteral("https://no-opener.test/"));
    open("true", QStringLiteral("   "));
    EXPECT_TRUE(WaitFor([&failed] { return failed.size() == 3; }, 10000));
    SpinEventLoop(100);
    failed.sort();
    EXPECT_EQ(failed, QStringList({QStringLiteral("   "), QStringLiteral("https://no-opener.test/"),
                                   QStringLiteral("https://refused.test/")}));
    SetShellOpener(QStringLiteral("xdg-open"));
}

} // namespace
