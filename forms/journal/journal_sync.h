// Keeping the journal in step with other machines' through a shared folder:
// the folder watched, this machine's own file written a few seconds after
// the journal changes and at exit, the others merged when the journal
// opens, when the folder changes and when the user asks.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "forms/kit/error_report.h"

class QFileSystemWatcher;
class QTimer;

namespace journal {
class Journal;
}

namespace forms {

class JournalSync : public QObject {
public:
    // `journal`: the journal, nullptr while it can't be had. Whatever goes
    // wrong is said through `report`, naming the file; `brought` is called
    // after a merge that added, changed or deleted entries.
    JournalSync(std::function<journal::Journal*()> journal, ErrorReporter report,
                std::function<void()> brought, QObject* parent);
    ~JournalSync() override;

    // The folder, or empty for none: merges it at once and writes this
    // machine's file into it.
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }

    // «Синхронизировать сейчас»: merges every other file, then writes ours.
    void syncNow();
    // Writes this machine's file if the journal changed since it was last
    // written; what the timer and the exit call.
    void writeIfChanged();
    // For the «Синхронизация» dialog: each other machine's file, when it
    // was merged and how many entries it brought.
    QString statusText();

private:
    void merge();
    QString journalStamp() const;

    std::function<journal::Journal*()> journal_;
    ErrorReporter report_;
    std::function<void()> brought_;
    QString folder_;
    QString writtenStamp_;  // the journal's files as they were when ours was last written
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace forms
