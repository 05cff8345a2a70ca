// A non-visual drop target: attached to its owner's window, it reads the names of files dropped
// there into three parallel lists (full name, name part, extension) and then reports the drop.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

using TNotifyEvent = std::function<void(QObject *Sender)>;
Q_DECLARE_METATYPE(TNotifyEvent)

class TFileDrag : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList NameWithPath READ NameWithPath)
    Q_PROPERTY(QStringList NameOnly READ NameOnly)
    Q_PROPERTY(QStringList Extension READ Extension)
    Q_PROPERTY(int FileCount READ FileCount)
    Q_PROPERTY(bool EnableDrop READ EnableDrop WRITE setEnableDrop)
    Q_PROPERTY(TNotifyEvent OnDrop READ OnDrop WRITE setOnDrop)

public:
    explicit TFileDrag(QObject *owner);
    ~TFileDrag() override;


    QStringList NameWithPath() const { return m_nameWithPath; }
    QStringList NameOnly() const { return m_nameOnly; }
    QStringList Extension() const { return m_extension; }
    int FileCount() const { return m_fileCount; }
    bool EnableDrop() const { return m_enableDrop; }
    void setEnableDrop(bool enable);
    TNotifyEvent OnDrop() const { return m_onDrop; }
    void setOnDrop(const TNotifyEvent &handler) { m_onDrop = handler; }

    // Takes these names as one drop: fills the lists, then fires OnDrop.
    void readNames(const QStringList &names);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void HookOwnerWindow();
    void UnhookOwnerWindow();
    void ReadDroppedFiles(const QMimeData *data);

    QStringList m_nameWithPath;
    QStringList m_nameOnly;
    QStringList m_extension;
    int m_fileCount = 0;
    bool m_enableDrop = false;
    TNotifyEvent m_onDrop;
    QPointer<QWidget> m_window;
};
