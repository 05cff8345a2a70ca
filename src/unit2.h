// The About box: it slides down from above the screen, then lets its symbol pulse until OK is
// pressed. The whole animation runs inside the activation handler, which handles pending
// events itself at every step.
#pragma once

#include "ui_unit2.h"

#include <QDialog>
#include <QRect>
#include <QSize>

class TAboutBox : public QDialog, public Ui::TAboutBox
{
    Q_OBJECT

public:
    // Stores the new box in AboutBox before anything else, then builds the form and runs
    // FormCreate.
    explicit TAboutBox(QWidget *parent = nullptr);
    ~TAboutBox() override;

    void FormCreate();
    void FormActivate();
    void Label1Click();
    void OKButtonClick();
    void OKButtonMouseDown();
    void FormClose();

    // Places the box just above the screen, where its slide starts, unless the window system
    // places windows itself.
    void startAboveScreen();

public slots:
    // While the animation runs, a close request is only recorded; the box closes when the
    // animation has ended.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setDialogFrameAndFont();
    void offerSymbolFaces();
    void centreMemoLines();
    void centreOnScreen();
    void connectHandlers();
    void activateOnce();
    void slideIn();
    void pulseUntilStopped();
    void pauseBetweenPulseSteps();
    void setTop(int top);
    int outerHeight() const;
    int topAboveScreen() const;
    int centredTop(const QRect &screen) const;
    void setSymbolPointSize(int points);
    void setSymbolSize(int points);
    bool pulsingMustEnd() const;

    bool m_activationQueued = false;
    bool m_animating = false;
    // After the slide: the frame the box was centred with. A window manager that frames the box
    // only later changes it, and the box is centred again by its new outer height.
    bool m_slid = false;
    QSize m_frameWhenCentred;
    bool m_closeRecorded = false;
    int m_recordedResult = QDialog::Rejected;
    bool m_appQuitting = false;
};

// The box currently open (or last created); cleared when that box is destroyed.
extern TAboutBox *AboutBox;
// 1 once OK has been pressed: the pulsing ends at its next test. 0 while the symbol pulses.
extern int StopAnimation;

// Opens a new About box just above the top edge of the screen and shows it modally over
// `parent` (kept above it by the window system); returns when it has closed. The box releases
// itself afterwards.
void openAboutBox(QWidget *parent);
