// A numeric entry box with up/down buttons that reports every change of its text and reads its
// value from the text, the way the chart's size boxes need it: no validation while typing, the
// range applied only by the arrow steps and when the box loses the keyboard focus.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

class TSpinEdit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int Value READ Value WRITE setValue)

public:
    explicit TSpinEdit(QWidget *parent = nullptr);

    // The whole text as a decimal number with an optional sign; `minimum` when it is not one
    // (empty, a lone sign, a fraction, out of the 32-bit range). Not clamped to the range.
    static int valueFromText(const QString &text, int minimum);

    int MinValue() const { return m_min; }
    int MaxValue() const { return m_max; }
    void setMinValue(int v) { m_min = v; }
    void setMaxValue(int v) { m_max = v; }

    int Value() const;
    void setValue(int value);
    QString Text() const;
    void setText(const QString &text);

    // Up/Down arrow keys and the spin buttons: one step, kept within the range.
    void stepBy(int delta);

    QLineEdit *editor() const { return m_edit; }

signals:
    // Every change of the text: keystrokes, steps and the correction on leaving the box.
    void Change();
    // The pointer moved over the entry area (not over the spin buttons).
    void EntryMouseMove();
    // A key the box does not take was pressed; the box beeped.
    void KeyRefused();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Steps on the arrow keys and beeps at keys the box does not take; true when the key is to
    // go on to the editor.
    bool passesToEditor(QKeyEvent *key);
    void refuse();
    void correctOnExit();

    QLineEdit *m_edit;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = 0;
    int m_max = 100;
};
