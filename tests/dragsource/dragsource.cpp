// A separate X client that drags files: a small window at a fixed place on the screen which,
// when the left button is pressed on it and the pointer moves, starts dragging the files named on
// its command line (as file URLs, offering a copy). The test drives the pointer from outside.
//
//   dragsource [--x X] [--y Y] [--timeout MS] FILE...
//
// It writes "ready" on its standard output once the window is on the screen, "released <action>"
// when the button goes up over a window that takes (copy) or refuses (ignored) the drop, and
// "finished" when the drag is over: once the drop target reports that it has read the data, or
// right away when nothing took the drop. Then it exits. After the timeout it exits on its own
// with status 2, so it never outlives a test that went wrong.
#include <QApplication>
#include <QCommandLineParser>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

void Say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

class DragSource : public QWidget
{
public:
    explicit DragSource(const QStringList &files)
        : m_files(files)
    {
        setWindowTitle(QStringLiteral("dragsource"));
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::darkCyan);
        setPalette(pal);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QWidget::paintEvent(event);
        if (!m_readySaid) {
            m_readySaid = true;
            Say("ready");
        }
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_pressedAt = event->position().toPoint();
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_dragged || !(event->buttons() & Qt::LeftButton))
            return;
        if ((event->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragged = true;
        auto *data = new QMimeData;
        QList<QUrl> urls;
        for (const QString &file : m_files)
            urls << QUrl::fromLocalFile(file);
        data->setUrls(urls);
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        // The drag returns when the button is released, but the window that took the drop asks
        // for the data only afterwards: keep serving it until the drop target reports that it
        // has finished, which is when the platform lets the drag object go.
        connect(drag, &QObject::destroyed, this, [] {
            Say("finished");
            QTimer::singleShot(0, qApp, &QApplication::quit);
        });
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        Say(action == Qt::CopyAction ? "released copy" : "released ignored");
        // Nothing took the drop: there is nothing to wait for.
        if (action == Qt::IgnoreAction)
            QTimer::singleShot(0, qApp, &QApplication::quit);
    }

private:
    QStringList m_files;
    QPoint m_pressedAt;
    bool m_dragged = false;
    bool m_readySaid = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption xOption(QStringLiteral("x"), QStringLiteral("Window left edge."), QStringLiteral("X"),
                                     QStringLiteral("700"));
    const QCommandLineOption yOption(QStringLiteral("y"), QStringLiteral("Window top edge."), QStringLiteral("Y"),
                                     QStringLiteral("100"));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"), QStringLiteral("Exit after this many ms."),
                                           QStringLiteral("MS"), QStringLiteral("30000"));
    parser.addOptions({xOption, yOption, timeoutOption});
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to drag."));
    parser.process(app);

    // A hard exit: the timeout must also end a drag that is still running.
    QTimer::singleShot(parser.value(timeoutOption).toInt(), [] { std::_Exit(2); });

    DragSource window(parser.positionalArguments());
    window.setGeometry(parser.value(xOption).toInt(), parser.value(yOption).toInt(), 200, 100);
    window.show();
    return app.exec();
}
