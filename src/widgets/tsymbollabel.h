// A label for a caption in a symbol font, such as one large pictorial character.
//
// It sizes itself to its caption whenever its font changes, and reports a click (left button
// pressed and released over it). When none of the faces its font names (QFont::families) is
// installed, it draws the caption with a font file of its own instead (ownFontFile, usually a
// resource), so that the caption still shows pictures instead of a substitute face's plain
// letters. That file is read directly and never registered with the font database: it does
// not appear among the installed fonts, and no other widget can pick it up.
#pragma once

#include "clickablelabel.h"

#include <QRawFont>

class TSymbolLabel : public ClickableLabel
{
    Q_OBJECT
    Q_PROPERTY(QString ownFontFile READ ownFontFile WRITE setOwnFontFile)

public:
    explicit TSymbolLabel(QWidget *parent = nullptr);

    QString ownFontFile() const { return m_ownFontFile; }
    void setOwnFontFile(const QString &path);

    // True when the caption is drawn with the label's own font file, because none of the
    // faces its font names is installed.
    bool drawsWithOwnFont() const { return m_drawOwn; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void chooseFont();
    void fitToCaption();
    qreal fontPixelSize() const;
    QSize ownCaptionSize() const;

    QString m_ownFontFile;
    QByteArray m_ownFontData;
    QRawFont m_ownFont;
    bool m_drawOwn = false;
};
