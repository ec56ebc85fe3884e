// Trovecart tests - a loopback FTP server per test and a driver that runs a publish worker.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QProcess>
#include <QString>

#include "common/folder_walker.h"
#include "support/event_loop.h"
#include "support/hostile_ftp_server.h"
#include "support/test_helpers.h"

class TBaseThread;

// pyftpdlib on 127.0.0.1, a free port and a temporary root; killed by the destructor.
class TFtpTestServer {
public:
    struct TFaults {
        bool RefuseDelete = false;
        bool RefuseMkd = false;
        // Close the control connection after every Nth completed upload (0: never).
        int DropAfterStores = 0;
        // Offer LIST only.
        bool NoMlsd = false;
    };

    explicit TFtpTestServer(const TFaults& faults);
    TFtpTestServer() : TFtpTestServer(TFaults()) {}
    ~TFtpTestServer();

    int Port() const { return port_; }
    // The server's root folder; ends with '/'.
    QString Root() const { return root_.Path(); }
    static QString User() { return QStringLiteral("publisher"); }
    static QString Password() { return QStringLiteral("s3cret"); }

    // The server's log so far, and how often a text occurs in it.
    QString Log() const;
    int CountInLog(const QString& text) const;

private:
    TTempFolder root_;
    TTempFolder logFolder_;
    QProcess process_;
    int port_ = 0;
};

struct TStatusReport {
    QString Action;
    int Percent = 0;
    bool Busy = false;
    bool Failed = false;
    QString ErrorText;
    // For results: "Copied", "Error", or the text of a TPublishResult.
    QString Outcome;
};

struct TPublishRecord {
    std::vector<TStatusReport> Status;
    // File percent and speed (bytes per second) of every progress report.
    std::vector<int> FilePercents;
    std::vector<double> Speeds;
    qint64 TotalFiles = -1;
    qint64 DoneFiles = -1;
    bool Terminated = false;

    // The reports with busy false, in order.
    std::vector<TStatusReport> Results() const;
    const TStatusReport* ResultFor(const QString& action) const;
    // Each result's outcome by its action with the prefix taken off.
    std::map<QString, QString> Outcomes(const QString& actionPrefix) const;
};

// Starts the worker and runs the event loop until its OnTerminate (at most timeoutMs, then the
// worker is asked to stop). onStatus runs in the receiving thread after each status report.
TPublishRecord RunPublish(TBaseThread* thread,
                          const std::function<void(TBaseThread*, const TStatusReport&)>& onStatus = {},
                          int timeoutMs = 60000);

// The entry filter a shop's publish run gives its worker: everything but "Thumb.png".
bool AllButThumbPng(const QString& name);
// A filter for `thread` that asks it to stop at the first entry its walk meets for which
// `isStopEntry` is true, from the worker's own thread: a stop asked for by a report handler lands
// after a file that depends on timing, this one at a known place. That entry is still sent when
// `sendIt` is true (its transfer then fails as cancelled); the others go by AllButThumbPng.
TNameFilter StopAtEntry(TBaseThread* thread, TNameFilter isStopEntry, bool sendIt);

// Writes a file of `size` bytes with a recognisable pattern.
QByteArray PatternBytes(qint64 size, char seed = 'a');
