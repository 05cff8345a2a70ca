// The windows under the Qt styles and palettes desktops bring: every caption reads against what
// is behind it and stays whole inside its control, and the list pictures are sharp at a
// screen's scale.
#include "fixedcolours.h"
#include "testsupport.h"
#include "unit1.h"
#include "unit2.h"

#include <QLineEdit>
#include <QListWidget>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtTest>

namespace {
// A dark colour scheme as desktop themes give one (light text on dark grounds).
QPalette DarkPalette()
{
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a));
    const QColor light(0xee, 0xee, 0xee);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        dark.setColor(role, light);
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// What a control shows of its text in `area`: the contrast of its strongest pixel with the most
// common colour there (the ground), and the box around the pixels that stand out from it.
struct Ink
{
    double contrast = 1;
    QRect box;
};
Ink InkIn(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb ground = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            ground = it.key();
        }
    }
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const double contrast = contrastRatio(QColor(image.pixel(x, y)), QColor(ground));
            ink.contrast = std::max(ink.contrast, contrast);
            if (contrast >= 2)
                ink.box |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// A control's picture (device pixels at scale 1) and the area its text is drawn in.
struct Caption
{
    QString name;
    QWidget *control;
    QRect area;
    QString text; // what must show whole; empty: only its contrast is measured
};
} // namespace

class TestThemes : public QObject
{
    Q_OBJECT

private slots:
    void captionsReadAndFit_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<bool>("dark"); // the style's own palette, or a dark scheme
        for (const QString style : {"Fusion", "Windows"}) {
            QTest::addRow("%s, light", qPrintable(style)) << style << false;
            QTest::addRow("%s, dark", qPrintable(style)) << style << true;
        }
        // adwaita-qt6 draws its controls in colours of its own, its light and its dark variant
        // each with its own palette (another palette under it leaves every box unreadable).
        for (const QString style : {"Adwaita", "Adwaita-Dark"}) {
            if (QStyleFactory::keys().contains(style, Qt::CaseInsensitive))
                QTest::addRow("%s", qPrintable(style)) << style << false;
        }
    }
    void captionsReadAndFit()
    {
        QFETCH(QString, style);
        QFETCH(bool, dark);
        QStyle *chosen = QStyleFactory::create(style);
        QVERIFY(chosen);
        QApplication::setStyle(chosen);
        QApplication::setPalette(dark ? DarkPalette() : chosen->standardPalette());
        testsupport::MainWindow form = testsupport::OpenMainWindow();
        QVERIFY(form);
        form->Button1Click();
        form->showPreview(testsupport::fontPath("broken/random.ttf")); // the verdict in the selector
        form->StringGrid1->setFocus(); // a focused box is drawn in the theme's selection colours
        QList<Caption> captions;
        auto inner = [](const QWidget *w, int by) { return w->rect().adjusted(by, by, -by, -by); };
        captions << Caption{"view button", form->Button1, inner(form->Button1, 3), form->Button1->text()};
        for (TSpinEdit *box : {form->SpinEdit1, form->SpinEdit2})
            captions << Caption{box->objectName(), box->editor(), inner(box->editor(), 3), box->Text()};
        QStyleOptionComboBox option;
        option.initFrom(form->ComboBox1);
        captions << Caption{"verdict", form->ComboBox1,
                            form->ComboBox1->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                     QStyle::SC_ComboBoxEditField, form->ComboBox1),
                            QString()};
        // An entry that is not selected: the selection is drawn in the theme's own pair.
        QListWidget *folders = form->DirectoryListBox1;
        folders->setMaximumHeight(QWIDGETSIZE_MAX);
        folders->resize(folders->width(), 200);
        folders->scrollToTop();
        captions << Caption{"folder list", folders->viewport(),
                            folders->visualItemRect(folders->item(0)).adjusted(20, 1, 0, -1), QString()};
        captions << Caption{"chart", form->StringGrid1->viewport(),
                            form->StringGrid1->cellRect(1, 2).adjusted(1, 1, -1, -1), QString()};
        QStringList faults = Measure(captions);
        // The About box as it shows: in front, active.
        TAboutBox about(form.get());
        about.Memo1->setPlainText(QStringLiteral("Tavoret for installed & uninstalled Fonts"));
        about.show();
        QApplication::setActiveWindow(&about);
        QTRY_VERIFY(about.isActiveWindow());
        captions.clear();
        for (QWidget *label : QList<QWidget *>{about.ProductName, about.Version})
            captions << Caption{label->objectName(), label, label->rect(), QString()};
        captions << Caption{"credits", about.Memo1->viewport(), inner(about.Memo1->viewport(), 2), QString()};
        captions << Caption{"OK", about.OKButton, inner(about.OKButton, 4), about.OKButton->text()};
        faults << Measure(captions);
        QApplication::setStyle(QStringLiteral("Fusion"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

private:
    // What is wrong with each caption: too little contrast, or not shown whole.
    static QStringList Measure(const QList<Caption> &captions)
    {
        QStringList faults;
        for (const Caption &caption : captions) {
            const QImage picture = caption.control->grab().toImage();
            const Ink ink = InkIn(picture, caption.area & picture.rect());
            if (ink.contrast < 4.5)
                faults << QStringLiteral("%1: contrast %2").arg(caption.name).arg(ink.contrast, 0, 'f', 2);
            const int whole = caption.control->fontMetrics().tightBoundingRect(caption.text).width();
            if (!caption.text.isEmpty() && ink.box.width() < whole - 3)
                faults << QStringLiteral("%1: %2 of %3 pixels shown").arg(caption.name).arg(ink.box.width()).arg(whole);
        }
        return faults;
    }

private slots:
    // The folder and drive pictures are drawn for the screen's scale, not stretched from a
    // small bitmap.
    void listPicturesAtScale_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
    }
    void listPicturesAtScale()
    {
        QFETCH(qreal, scale);
        testsupport::MainWindow form = testsupport::OpenMainWindow();
        QVERIFY(form);
        const QSize size(16, 16), device = size * scale;
        const QList<QIcon> icons{form->DirectoryListBox1->item(0)->icon(), form->DriveComboBox1->itemIcon(0)};
        for (const QIcon &icon : icons) {
            const QImage sharp = icon.pixmap(size, scale).toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage small = icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(sharp.size(), device);
            QVERIFY(sharp != small.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation));
            QVERIFY(sharp != small.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
