// Reads which faces a font file holds in a worker process, so that a file built to make the
// reading take unbounded time or memory costs the window nothing: the worker is kept ready
// (a common file is answered in a few milliseconds), and a reading that overruns the time
// limit ends the worker, which is started again, with the answer "no faces".
#pragma once

#include "platform/facequery.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class QProcess;

namespace platform {

class FaceReader : public QObject
{
    Q_OBJECT

public:
    // A reading that takes longer than this ends with "no faces".
    static constexpr int TimeLimitMs = 2000;
    // A worker that has not come up this long after a reading was asked for is ended as one
    // that overruns; the reading's own time counts from when the worker is ready.
    static constexpr int StartLimitMs = 20000;

    explicit FaceReader(QObject *parent = nullptr);
    // Ends the worker at once, whatever it is reading.
    ~FaceReader() override;

    // The program that serves as the worker when started with the argument
    // WorkerArgument; the program's own file in main(). Without one, files are read in this
    // process, unbounded. Applies to readers made afterwards.
    static void setWorkerProgram(const QString &program);
    static QString workerProgram();
    static constexpr const char *WorkerArgument = "--read-faces";

    // The first family name of each face of the file at `path` (an absolute path), empty for
    // a file that is not a font or whose reading overran. Waits at most `waitMs` for the
    // answer; without it by then, returns nothing and the answer comes through `answered`. A
    // reading of another file that is under way ends unanswered.
    std::optional<QStringList> read(const QString &path, int waitMs);
    // The same, waiting for the answer as long as the time limit allows.
    QStringList read(const QString &path) { return *read(path, TimeLimitMs * 2); }

signals:
    // The answer to a reading that `read` did not wait for.
    void answered(const QString &path, const QStringList &families);

private:
    void startWorker();
    void endWorker();
    std::optional<QStringList> waitForAnswer(int waitMs);
    int limit() const;
    void startClock();
    void takeOutput();
    void finishReading(const QStringList &families, bool keep);
    void overrun();
    void workerEnded();
    QString stampOf(const QString &path) const;

    QProcess *m_worker = nullptr;
    QByteArray m_output;
    QString m_reading;      // the path under way; empty when none
    QString m_readingStamp; // what the file was when its reading started
    QElapsedTimer m_started; // since the reading was asked for, or the worker came up for it
    bool m_ready = false;    // the worker has said it is ready
    bool m_noWorker = false; // the worker program cannot serve: files are read here
    bool m_waiting = false;  // read() waits for the answer
    bool m_answeredNow = false;
    QStringList m_answer;
    QTimer m_deadline;
    QHash<QString, QStringList> m_known; // answers by the file's stamp
};

} // namespace platform
