// Trovecart - single instance through shared memory and a local socket.
#include "common/application_instance.h"

#include <atomic>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSharedMemory>
#include <QtEndian>

#include "common/app_error.h"

namespace {

constexpr int kRecordSize = 8;
constexpr int kAnswerTimeoutMs = 1000;

std::atomic<bool> instanceExists{false};

struct TRecord {
    qint32 processId = 0;
    qint32 count = 0;
};

TRecord ReadRecord(const QSharedMemory& memory) {
    const auto* bytes = static_cast<const uchar*>(memory.constData());
    return {qFromLittleEndian<qint32>(bytes), qFromLittleEndian<qint32>(bytes + 4)};
}

void WriteRecord(QSharedMemory& memory, const TRecord& record) {
    auto* bytes = static_cast<uchar*>(memory.data());
    qToLittleEndian<qint32>(record.processId, bytes);
    qToLittleEndian<qint32>(record.count, bytes + 4);
}

} // namespace

struct TApplicationInstance::TShared {
    explicit TShared(const QString& name) : memory(name) {}
    QSharedMemory memory;
    std::unique_ptr<QLocalServer> server;
};

TApplicationInstance::TApplicationInstance(const QString& recordName)
    : recordName_(recordName.isEmpty() ? DefaultRecordName() : recordName) {
    if (instanceExists.exchange(true))
        throw EAppError(QStringLiteral("Only one copy of this component can be dropped on a application!"));
    shared_ = std::make_unique<TShared>(recordName_);
}

TApplicationInstance::~TApplicationInstance() {
    if (registered_ && shared_->memory.isAttached() && shared_->memory.lock()) {
        TRecord record = ReadRecord(shared_->memory);
        record.count = std::max(0, record.count - 1);
        WriteRecord(shared_->memory, record);
        shared_->memory.unlock();
    }
    if (shared_->server)
        shared_->server->close();
    shared_.reset();
    instanceExists = false;
}

QString TApplicationInstance::DefaultRecordName() {
    QString path = QCoreApplication::instance()
                       ? QCoreApplication::applicationFilePath()
                       : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return path.remove(QLatin1Char('/'));
}

QString TApplicationInstance::ServerNameFor(const QString& recordName) {
    // Socket paths are limited to about 100 bytes.
    constexpr int kLongest = 64;
    if (recordName.toUtf8().size() <= kLongest)
        return recordName;
    const QByteArray hash = QCryptographicHash::hash(recordName.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("trovecart-") + QString::fromLatin1(hash);
}

void TApplicationInstance::SetMaxInstances(int value) {
    if (value >= 1)
        maxInstances_ = value;
}

bool TApplicationInstance::OpenRecord() {
    QSharedMemory& memory = shared_->memory;
    if (memory.isAttached())
        return true;
    if (memory.create(kRecordSize)) {
        Register(1);
        return true;
    }
    if (memory.error() != QSharedMemory::AlreadyExists)
        throw EAppError(memory.errorString());
    return memory.attach();
}

void TApplicationInstance::Register(int count) {
    QSharedMemory& memory = shared_->memory;
    memory.lock();
    WriteRecord(memory, {static_cast<qint32>(::getpid()), count});
    memory.unlock();
    registered_ = true;
    Listen();
}

void TApplicationInstance::Listen() {
    const QString name = ServerNameFor(recordName_);
    shared_->server = std::make_unique<QLocalServer>();
    // The latest registered copy takes the name over, also from a crashed owner's stale socket.
    QLocalServer::removeServer(name);
    shared_->server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!shared_->server->listen(name))
        return;
    QLocalServer* server = shared_->server.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            socket->disconnectFromServer();
            socket->deleteLater();
        }
        if (OnRaiseRequest)
            OnRaiseRequest();
    });
}

bool TApplicationInstance::AskRunningCopyToRaise() const {
    QLocalSocket socket;
    socket.connectToServer(ServerNameFor(recordName_));
    if (!socket.waitForConnected(kAnswerTimeoutMs))
        return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(kAnswerTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool TApplicationInstance::IsInstanceLimitReached() {
    if (registered_)
        return false;
    if (!OpenRecord())
        return true;
    if (registered_)
        return false;

    QSharedMemory& memory = shared_->memory;
    memory.lock();
    const TRecord record = ReadRecord(memory);
    memory.unlock();
    if (record.count < maxInstances_) {
        Register(record.count + 1);
        return false;
    }
    if (AskRunningCopyToRaise())
        return true;
    // Nobody answers: the counted copies are gone and left the record behind.
    Register(1);
    return false;
}

int TApplicationInstance::InstanceCount() {
    if (!OpenRecord())
        return 0;
    QSharedMemory& memory = shared_->memory;
    memory.lock();
    const int count = ReadRecord(memory).count;
    memory.unlock();
    return count;
}
