#include "shortcuts.h"

#include "unit1.h"

#include <QAction>
#include <QKeySequence>

namespace {

// An action on `owner` that its keys trigger in `context`.
QAction *addShortcut(QWidget *owner, const QList<QKeySequence> &keys, Qt::ShortcutContext context)
{
    auto *action = new QAction(owner);
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    owner->addAction(action);
    return action;
}

} // namespace

void addShortcuts(TForm1 &form)
{
    QObject::connect(addShortcut(&form, {QKeySequence(Qt::Key_F1)}, Qt::WindowShortcut),
                     &QAction::triggered, &form, &TForm1::Label1Click);

    TStringGrid *chart = form.StringGrid1;
    QObject::connect(addShortcut(chart, QKeySequence::keyBindings(QKeySequence::Copy), Qt::WidgetShortcut),
                     &QAction::triggered, &form, &TForm1::StringGrid1CopyKey);
    QObject::connect(addShortcut(chart, {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::ShiftModifier | Qt::Key_F10)},
                                 Qt::WidgetShortcut),
                     &QAction::triggered, chart, &TStringGrid::openMenuAtCurrentCell);
}
