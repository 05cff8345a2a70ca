// A separate X client that drags files: `dragsource X Y FILE...` shows a 200x100 window at X,Y;
// when the left button is pressed on it and the pointer moves, it drags the files as file URLs,
// offering a copy. The test drives the pointer from outside.
//
// It writes "ready" once the window is on the screen, "released copy" or "released ignored" when
// the button goes up, and "finished" when the drag is over, then exits. After 30 s it exits on its
// own with status 2, so it never outlives a test that went wrong.
#include <QApplication>
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
    QStringList files;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_readySaid)
            Say("ready");
        m_readySaid = true;
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_dragged || !(event->buttons() & Qt::LeftButton))
            return;
        m_dragged = true;
        auto *data = new QMimeData;
        QList<QUrl> urls;
        for (const QString &file : files)
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
        if (action == Qt::IgnoreAction) // nothing took the drop: there is nothing to wait for
            QTimer::singleShot(0, qApp, &QApplication::quit);
    }

private:
    bool m_dragged = false;
    bool m_readySaid = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 1;
    // A hard exit: the timeout must also end a drag that is still running.
    QTimer::singleShot(30000, [] { std::_Exit(2); });
    DragSource window;
    window.files = args.mid(3);
    window.setGeometry(args.at(1).toInt(), args.at(2).toInt(), 200, 100);
    window.show();
    return app.exec();
}
