// Trovecart - limits how many copies of the program run at once.
#pragma once

#include <functional>
#include <memory>

#include <QString>

// Counts running copies in a named shared record of 8 bytes: bytes 0-3 the process id of the most
// recently registered copy, bytes 4-7 the number of running copies (little-endian int32). The most
// recently registered copy also listens on a local socket of the same name, through which a
// refused start asks it to come to the front. At most one object per process.
class TApplicationInstance {
public:
    // An empty name stands for the executable's full path with every '/' removed, so that the
    // same program started from two folders counts as two programs.
    explicit TApplicationInstance(const QString& recordName = QString());
    TApplicationInstance(const TApplicationInstance&) = delete;
    TApplicationInstance& operator=(const TApplicationInstance&) = delete;
    // A registered copy leaves the count; the last one removes the record.
    ~TApplicationInstance();

    int MaxInstances() const { return maxInstances_; }
    // Values below 1 are ignored.
    void SetMaxInstances(int value);

    // Registers this process, or refuses it after asking the running copy to come to the front;
    // true means the program must end at once. Counted copies that no longer answer (a crash
    // left the record behind) are forgotten and this process runs. Raises EAppError when the
    // record cannot be created at all.
    bool IsInstanceLimitReached();
    // The number of running copies; registers this process when the record did not exist.
    int InstanceCount();
    bool Registered() const { return registered_; }
    const QString& RecordName() const { return recordName_; }

    // Runs on the thread of the event loop when a refused start asks this copy to come forward.
    std::function<void()> OnRaiseRequest;

    static QString DefaultRecordName();
    // The local socket name for a record name; long names are shortened with a hash.
    static QString ServerNameFor(const QString& recordName);

private:
    struct TShared;

    bool OpenRecord();
    void Register(int count);
    void Listen();
    bool AskRunningCopyToRaise() const;

    QString recordName_;
    int maxInstances_ = 1;
    bool registered_ = false;
    std::unique_ptr<TShared> shared_;
};
