// A one-line, read-only rich-text box with a face name of its own: copying puts its selection
// on the clipboard in the flavours of clipboardflavours.h, in that face at the box's size.
// The box shows its text in an installed family that stands for the face, so that Qt never
// has to search for a face it does not have (such as one under preview).
#pragma once

#include "namedface.h"

#include <QTextEdit>

class TRichEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit TRichEdit(QWidget *parent = nullptr);

    QString Text() const;
    void setText(const QString &text);
    // Sets the box's face; an empty name changes nothing. A face set as the widget's font (as
    // the form does) becomes the face name too.
    void setFontName(const QString &name);
    QString FontName() const;

    int SelLength() const;
    void setSelStart(int start);
    void setSelLength(int length);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyFontToText();

    NamedFace m_faceName;
};
