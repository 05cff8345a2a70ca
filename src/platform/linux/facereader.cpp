#include "platform/facereader.h"

#include "platform/filenames.h"

#include <QProcess>

#include <sys/stat.h>

namespace platform {

namespace {
QString g_workerProgram;
// The worker says it is ready with this byte before it reads its first request.
constexpr char ReadyMark = '+';
// Answers kept; when there are more, they are all forgotten.
constexpr int KnownAnswers = 1024;

// Reads "<decimal>:" at `*at`; false when the text is not complete yet, or not a number.
bool takeNumber(const QByteArray &text, qsizetype *at, qint64 *number, bool *malformed)
{
    const qsizetype colon = text.indexOf(':', *at);
    if (colon < 0) {
        *malformed = text.size() - *at > 12;
        return false;
    }
    bool ok = false;
    *number = text.mid(*at, colon - *at).toLongLong(&ok);
    *malformed = !ok || *number < 0;
    *at = colon + 1;
    return ok && *number >= 0;
}

// One complete answer at the start of `text`: its families, and how many bytes it took.
std::optional<QStringList> takeAnswer(const QByteArray &text, qsizetype *used, bool *malformed)
{
    qsizetype at = 0;
    qint64 count = 0;
    if (!takeNumber(text, &at, &count, malformed))
        return std::nullopt;
    QStringList families;
    for (qint64 i = 0; i < count; ++i) {
        qint64 length = 0;
        if (!takeNumber(text, &at, &length, malformed) || at + length > text.size())
            return std::nullopt;
        families.append(QString::fromUtf8(text.mid(at, length)));
        at += length;
    }
    *used = at;
    return families;
}
} // namespace

FaceReader::FaceReader(QObject *parent) : QObject(parent)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &FaceReader::overrun);
    startWorker();
}

FaceReader::~FaceReader()
{
    endWorker();
}

void FaceReader::setWorkerProgram(const QString &program)
{
    g_workerProgram = program;
}

QString FaceReader::workerProgram()
{
    return g_workerProgram;
}

void FaceReader::startWorker()
{
    if (g_workerProgram.isEmpty() || m_noWorker)
        return;
    m_worker = new QProcess(this);
    m_worker->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_worker, &QProcess::readyReadStandardOutput, this, &FaceReader::takeOutput);
    connect(m_worker, &QProcess::finished, this, &FaceReader::workerEnded);
    connect(m_worker, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            workerEnded();
    });
    m_ready = false;
    m_output.clear();
    m_worker->start(g_workerProgram, {QLatin1String(WorkerArgument)});
}

void FaceReader::endWorker()
{
    if (!m_worker)
        return;
    m_worker->disconnect(this);
    m_worker->kill();
    m_worker->waitForFinished(TimeLimitMs);
    delete m_worker;
    m_worker = nullptr;
}

QString FaceReader::stampOf(const QString &path) const
{
    struct stat info;
    if (::stat(encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QString();
    return QStringLiteral("%1:%2:%3:%4.%5:")
               .arg(info.st_dev)
               .arg(info.st_ino)
               .arg(info.st_size)
               .arg(info.st_mtim.tv_sec)
               .arg(info.st_mtim.tv_nsec)
        + path;
}

std::optional<QStringList> FaceReader::read(const QString &path, int waitMs)
{
    const QString stamp = stampOf(path);
    if (stamp.isEmpty())
        return QStringList(); // no regular file: nothing to read
    const auto known = m_known.constFind(stamp);
    if (known != m_known.cend())
        return *known;
    if (!m_reading.isEmpty() && m_readingStamp != stamp) {
        // The reading under way is not wanted any more: end it with the worker.
        m_deadline.stop();
        m_reading.clear();
        endWorker();
    }
    if (m_reading.isEmpty()) {
        if (!m_worker)
            startWorker();
        if (!m_worker) {
            // No worker can be started: read here, unbounded, rather than show nothing.
            const QStringList families = faceFamiliesOfFile(path);
            m_known.insert(stamp, families);
            return families;
        }
        const QByteArray name = encodeName(path);
        m_worker->write(QByteArray::number(name.size()) + ':' + name);
        m_reading = path;
        m_readingStamp = stamp;
        startClock();
    }
    return waitForAnswer(waitMs);
}

// The file's reading is timed from when the worker is ready for it: a worker slow to come up
// (a cold start on a busy machine) must not cost a good file its verdict.
int FaceReader::limit() const
{
    return m_ready ? TimeLimitMs : StartLimitMs;
}

void FaceReader::startClock()
{
    m_started.start();
    m_deadline.start(limit());
}

std::optional<QStringList> FaceReader::waitForAnswer(int waitMs)
{
    m_waiting = true;
    m_answeredNow = false;
    // Starting the worker does not count against the caller's wait, only against the limit.
    QElapsedTimer waited;
    while (!m_answeredNow && m_worker && !m_reading.isEmpty()) {
        if (m_ready && !waited.isValid())
            waited.start();
        const qint64 toLimit = limit() - m_started.elapsed();
        const qint64 toWait = waited.isValid() ? waitMs - waited.elapsed() : toLimit;
        if (toLimit <= 0) {
            overrun();
            break;
        }
        if (toWait <= 0)
            break;
        // An answer, or the worker's end, is taken in here through the worker's signals.
        m_worker->waitForReadyRead(int(std::min(toLimit, toWait)));
    }
    m_waiting = false;
    if (!m_answeredNow)
        return std::nullopt;
    return m_answer;
}

void FaceReader::takeOutput()
{
    m_output += m_worker->readAllStandardOutput();
    if (!m_ready && m_output.startsWith(ReadyMark)) {
        m_ready = true;
        m_output.remove(0, 1);
        if (!m_reading.isEmpty())
            startClock(); // the reading starts now
    }
    if (!m_ready || m_reading.isEmpty())
        return;
    qsizetype used = 0;
    bool malformed = false;
    const std::optional<QStringList> answer = takeAnswer(m_output, &used, &malformed);
    if (malformed) {
        // Not the worker's language: start afresh.
        endWorker();
        startWorker();
        finishReading(QStringList(), false);
    } else if (answer) {
        m_output.remove(0, used);
        finishReading(*answer, true);
    }
}

void FaceReader::finishReading(const QStringList &families, bool keep)
{
    m_deadline.stop();
    const QString path = m_reading;
    if (keep) {
        if (m_known.size() >= KnownAnswers)
            m_known.clear();
        m_known.insert(m_readingStamp, families);
    }
    m_reading.clear();
    if (m_waiting) {
        m_answeredNow = true;
        m_answer = families;
    } else {
        emit answered(path, families);
    }
}

// The file keeps the worker busy past the limit: it is not a font the program takes.
void FaceReader::overrun()
{
    if (m_reading.isEmpty())
        return;
    endWorker();
    startWorker();
    finishReading(QStringList(), true);
}

// The worker ended by itself: on the file it was reading (a crash, or the memory limit), or
// unasked. One that had come up is replaced; one that never did is no worker (a program that
// cannot serve), and files are read here from then on.
void FaceReader::workerEnded()
{
    const bool cameUp = m_ready;
    if (m_worker) {
        m_worker->disconnect(this);
        m_worker->deleteLater();
        m_worker = nullptr;
    }
    m_ready = false;
    if (!cameUp)
        m_noWorker = true;
    else
        startWorker();
    if (!m_reading.isEmpty())
        finishReading(m_noWorker ? faceFamiliesOfFile(m_reading) : QStringList(), true);
}

} // namespace platform
