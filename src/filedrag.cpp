#include "filedrag.h"

#include "fontfiles.h"

#include "platform/filenames.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

TFileDrag::TFileDrag(QObject *owner)
    : QObject(owner)
{
    HookOwnerWindow();
    setEnableDrop(m_enableDrop);
}

TFileDrag::~TFileDrag()
{
    UnhookOwnerWindow();
    setEnableDrop(false);
}

void TFileDrag::setEnableDrop(bool enable)
{
    // Without a window to attach to, drops can never be accepted.
    m_enableDrop = enable && m_window;
    if (m_window)
        m_window->setAcceptDrops(m_enableDrop);
}

void TFileDrag::HookOwnerWindow()
{
    m_window = qobject_cast<QWidget *>(parent());
    if (m_window)
        m_window->installEventFilter(this);
    else
        m_enableDrop = false;
}

void TFileDrag::UnhookOwnerWindow()
{
    if (m_window)
        m_window->removeEventFilter(this);
}

bool TFileDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    // Like the platform, which offers drags only to windows that accept drops.
    if (!m_window->acceptDrops())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        drop->acceptProposedAction();
        ReadDroppedFiles(drop->mimeData());
        return true; // a drop is handled here and not passed on
    }
    default:
        return false; // everything else reaches the window unchanged
    }
}

void TFileDrag::ReadDroppedFiles(const QMimeData *data)
{
    QStringList names;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            names << platform::localFileName(url);
    }
    readNames(names);
}

void TFileDrag::readNames(const QStringList &names)
{
    m_nameWithPath.clear();
    m_nameOnly.clear();
    m_extension.clear();
    m_fileCount = int(names.size());
    for (const QString &name : names) {
        QString nameOnly, extension;
        fontfiles::splitName(name, &nameOnly, &extension);
        m_nameWithPath << name;
        m_nameOnly << nameOnly;
        m_extension << extension;
    }
    if (m_onDrop)
        m_onDrop(this);
}
