// A one-line, read-only rich-text box whose text always carries its own font as character
// format, so that copying puts the text on the clipboard as plain text, as HTML and as RTF,
// each naming the font.
#pragma once

#include <QTextEdit>

class TRichEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit TRichEdit(QWidget *parent = nullptr);

    // RTF for `text` in face `face` at `points`: the face in the font table, the size in half points.
    static QByteArray RtfFor(const QString &text, const QString &face, int points);

    QString Text() const;
    void setText(const QString &text);
    // Sets the face of the box's font; an empty name changes nothing.
    void setFontName(const QString &name);
    QString FontName() const;

    int SelStart() const;
    int SelLength() const;
    void setSelStart(int start);
    void setSelLength(int length);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ApplyFontToText();
};
