// The shared folder: watched, merged, this machine's file kept up to date.
#include "forms/journal/journal_sync.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLocale>
#include <QTimer>

#include <exception>

#include "journal/journal.h"

namespace forms {

namespace {

// At most one write of our file in this many milliseconds: each is a whole
// copy of the journal.
constexpr int kWriteEveryMs = 5000;

}  // namespace

JournalSync::JournalSync(std::function<journal::Journal*()> journal, ErrorReporter report,
                         std::function<void()> brought, QObject* parent)
    : QObject(parent),
      journal_(std::move(journal)),
      report_(std::move(report)),
      brought_(std::move(brought)) {
    watcher_ = new QFileSystemWatcher(this);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { merge(); });
    timer_ = new QTimer(this);
    timer_->setInterval(kWriteEveryMs);
    connect(timer_, &QTimer::timeout, this, [this] { writeIfChanged(); });
}

JournalSync::~JournalSync() = default;

void JournalSync::setFolder(const QString& folder) {
    if (!folder_.isEmpty())
        watcher_->removePath(folder_);
    folder_ = folder;
    writtenStamp_.clear();
    if (folder_.isEmpty()) {
        timer_->stop();
        return;
    }
    watcher_->addPath(folder_);
    timer_->start();
    syncNow();
}

void JournalSync::syncNow() {
    merge();
    writeIfChanged();
}

// Journal.db and its log change with every write, whoever makes it: this
// window, the journal window, another running copy.
QString JournalSync::journalStamp() const {
    QString stamp;
    for (const char* name : {"Journal.db", "Journal.db-wal"}) {
        const QFileInfo info(QString::fromLatin1(name));
        stamp += QString::number(info.size()) + QLatin1Char(':') +
                 QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char(';');
    }
    return stamp;
}

void JournalSync::writeIfChanged() {
    if (folder_.isEmpty())
        return;
    journal::Journal* kept = journal_();
    if (!kept)
        return;
    const QString stamp = journalStamp();
    if (stamp == writtenStamp_)
        return;
    try {
        kept->WriteOwnCopy(folder_.toStdString());
        writtenStamp_ = journalStamp();
    } catch (const std::exception& e) {
        report_(QString::fromUtf8(e.what()));
    }
}

void JournalSync::merge() {
    if (folder_.isEmpty())
        return;
    journal::Journal* kept = journal_();
    if (!kept)
        return;
    try {
        // A merge that brings nothing still notes what it read; that is no
        // change for the other machines, and writing our file for it would
        // have each machine answer the other's file with its own for ever.
        const bool written = journalStamp() == writtenStamp_;
        const journal::MergeReport report = kept->MergeFolder(folder_.toStdString());
        if (written && report.brought == 0)
            writtenStamp_ = journalStamp();
        for (const std::string& message : report.messages)
            report_(QString::fromStdString(message));
        if (report.brought > 0 && brought_)
            brought_();
    } catch (const std::exception& e) {
        report_(QString::fromUtf8(e.what()));
    }
}

QString JournalSync::statusText() {
    if (folder_.isEmpty())
        return QStringLiteral("Журнал не синхронизируется.");
    QString text = QStringLiteral("Папка: %1").arg(folder_);
    journal::Journal* kept = journal_();
    if (!kept)
        return text;
    try {
        const std::vector<journal::PeerFile> peers = kept->PeerFiles();
        if (peers.empty())
            text += QStringLiteral("\nФайлов других компьютеров в ней пока нет.");
        for (const journal::PeerFile& peer : peers) {
            text += QStringLiteral("\n%1: ").arg(QString::fromStdString(peer.name));
            if (!peer.problem.empty())
                text += QString::fromStdString(peer.problem);
            else if (!peer.mergedAt)
                text += QStringLiteral("ещё не объединён");
            else
                text += QStringLiteral("объединён %1, записей: %2")
                            .arg(QLocale(QLocale::Russian)
                                     .toString(QDateTime::fromMSecsSinceEpoch(peer.mergedAt),
                                               QStringLiteral("d MMMM yyyy, HH:mm")))
                            .arg(peer.brought);
        }
    } catch (const std::exception& e) {
        text += QStringLiteral("\n") + QString::fromUtf8(e.what());
    }
    return text;
}

}  // namespace forms
