// Trovecart tests - the single-instance record, with the running copy played by the test itself.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSharedMemory>
#include <QUuid>
#include <QtEndian>

#include <gtest/gtest.h>

#include "common/app_error.h"
#include "common/application_instance.h"
#include "common/common_data_module.h"
#include "common/file_utils.h"
#include "support/event_loop.h"
#include "support/test_helpers.h"

namespace {

QString UniqueRecordName() {
    return QStringLiteral("trovecarttest") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// A record as a copy that registered earlier leaves it.
class TForeignRecord {
public:
    TForeignRecord(const QString& name, qint32 count) : memory_(name) {
        EXPECT_TRUE(memory_.create(8));
        auto* bytes = static_cast<uchar*>(memory_.data());
        qToLittleEndian<qint32>(4242, bytes);
        qToLittleEndian<qint32>(count, bytes + 4);
    }
    qint32 Count() const {
        return qFromLittleEndian<qint32>(static_cast<const uchar*>(memory_.constData()) + 4);
    }
    qint32 ProcessId() const {
        return qFromLittleEndian<qint32>(static_cast<const uchar*>(memory_.constData()));
    }

private:
    QSharedMemory memory_;
};

TEST(ApplicationInstanceTest, FirstCopyRegistersAndLeavesOnRelease) {
    EnsureCoreApplication();
    const QString name = UniqueRecordName();
    {
        TApplicationInstance instance(name);
        EXPECT_FALSE(instance.IsInstanceLimitReached());
        EXPECT_TRUE(instance.Registered());
        EXPECT_EQ(instance.InstanceCount(), 1);
        // One object per process.
        EXPECT_THROW(TApplicationInstance second(name), EAppError);
    }
    // The last copy's release removes the record: a new start counts from 1 again.
    TApplicationInstance again(name);
    EXPECT_FALSE(again.IsInstanceLimitReached());
    EXPECT_EQ(again.InstanceCount(), 1);
}

TEST(ApplicationInstanceTest, LimitReachedAsksTheRunningCopyToComeForward) {
    EnsureCoreApplication();
    const QString name = UniqueRecordName();
    TForeignRecord running(name, 1);
    QLocalServer server;
    QLocalServer::removeServer(TApplicationInstance::ServerNameFor(name));
    ASSERT_TRUE(server.listen(TApplicationInstance::ServerNameFor(name)));

    {
        TApplicationInstance instance(name);
        EXPECT_TRUE(instance.IsInstanceLimitReached());
        EXPECT_FALSE(instance.Registered());
    }
    QElapsedTimer timer;
    timer.start();
    while (!server.hasPendingConnections() && timer.elapsed() < 3000)
        server.waitForNewConnection(100);
    EXPECT_TRUE(server.hasPendingConnections());
    // A refused copy never counted, so its release leaves the count alone.
    EXPECT_EQ(running.Count(), 1);

    TApplicationInstance allowed(name);
    allowed.SetMaxInstances(2);
    allowed.SetMaxInstances(0);
    EXPECT_EQ(allowed.MaxInstances(), 2);
    EXPECT_FALSE(allowed.IsInstanceLimitReached());
    EXPECT_EQ(running.Count(), 2);
}

TEST(ApplicationInstanceTest, RecordLeftByACrashedCopyDoesNotBlockTheNextStart) {
    EnsureCoreApplication();
    const QString name = UniqueRecordName();
    TForeignRecord crashed(name, 1); // no copy listens any more
    QLocalServer::removeServer(TApplicationInstance::ServerNameFor(name));

    TApplicationInstance instance(name);
    EXPECT_FALSE(instance.IsInstanceLimitReached());
    EXPECT_TRUE(instance.Registered());
    EXPECT_EQ(crashed.Count(), 1);
    EXPECT_EQ(crashed.ProcessId(), static_cast<qint32>(QCoreApplication::applicationPid()));

    // This copy now answers later starts.
    bool raised = false;
    instance.OnRaiseRequest = [&] { raised = true; };
    QLocalSocket socket;
    socket.connectToServer(TApplicationInstance::ServerNameFor(name));
    ASSERT_TRUE(socket.waitForConnected(1000));
    EXPECT_TRUE(WaitFor([&raised] { return raised; }, 3000));
}

TEST(ApplicationInstanceTest, LongRecordNamesGiveShortSocketNames) {
    const QString longName(300, QLatin1Char('x'));
    EXPECT_LE(TApplicationInstance::ServerNameFor(longName).size(), 64);
    EXPECT_NE(TApplicationInstance::ServerNameFor(longName),
              TApplicationInstance::ServerNameFor(longName + "y"));
    EXPECT_EQ(TApplicationInstance::ServerNameFor(QStringLiteral("short")), QStringLiteral("short"));
}

TEST(CommonDataModuleTest, StartCreatesTheDataFoldersOrEndsASecondCopy) {
    EnsureCoreApplication();
    TTempFolder data;
    const QByteArray savedXdg = qgetenv("XDG_DATA_HOME");
    const QString savedCurrent = QDir::currentPath();
    qputenv("XDG_DATA_HOME", data.Path().toUtf8());
    const QString name = UniqueRecordName();
    {
        TDataModuleCommonMini module(name);
        ASSERT_TRUE(module.DataModuleCreate());
        const QString folder = data.Path() + QStringLiteral("Corvalen/Trovecart/");
        EXPECT_EQ(QDir::currentPath() + QLatin1Char('/'), folder);
        EXPECT_TRUE(FolderExists(folder + QStringLiteral("ErrorLogs")));
        EXPECT_TRUE(FolderExists(folder + QStringLiteral("ConfigData")));
        EXPECT_TRUE(
            module.FolderManager().OutPutList().contains(QStringLiteral("Setting Attributes : ConfigData")));
        EXPECT_TRUE(module.HelpFile().endsWith(QStringLiteral("/help.chm")));
    }
    {
        TForeignRecord running(name, 1);
        QLocalServer server;
        QLocalServer::removeServer(TApplicationInstance::ServerNameFor(name));
        ASSERT_TRUE(server.listen(TApplicationInstance::ServerNameFor(name)));
        TDataModuleCommonMini second(name);
        EXPECT_FALSE(second.DataModuleCreate());
    }
    QDir::setCurrent(savedCurrent);
    if (savedXdg.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedXdg);
}

} // namespace
