#include "tstringgrid.h"
#include "chartcells.h"
#include "charset.h"
#include "platform/fonttable.h"
#include "interfacefonts.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QRawFont>
#include <QScrollBar>

#include <algorithm>

TStringGrid::TStringGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_cells(m_cols * m_rows)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setProperty("showsNamedFace", true);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

int TStringGrid::cellIndexAt(int pos, int size, int firstVisible, int count)
{
    if (pos < 0 || size < 1)
        return -1;
    const qint64 index = qint64(firstVisible) + pos / (qint64(size) + 1);
    return index < count ? int(index) : -1;
}

void TStringGrid::setColCount(int cols)
{
    m_cols = std::max(1, cols);
    m_cells.resize(m_cols * m_rows);
    updateScrollBars();
    viewport()->update();
}

void TStringGrid::setRowCount(int rows)
{
    m_rows = std::max(1, rows);
    m_cells.resize(m_cols * m_rows);
    updateScrollBars();
    viewport()->update();
}

void TStringGrid::setDefaultColWidth(int width)
{
    m_colWidth = width;
    updateScrollBars();
    viewport()->update();
}

void TStringGrid::setDefaultRowHeight(int height)
{
    m_rowHeight = height;
    updateScrollBars();
    viewport()->update();
}

int TStringGrid::drawnColWidth() const
{
    return std::clamp(m_colWidth, 1, MaxDrawnCellSize);
}

int TStringGrid::drawnRowHeight() const
{
    return std::clamp(m_rowHeight, 1, MaxDrawnCellSize);
}

QString TStringGrid::Cells(int col, int row) const
{
    if (!isCell(col, row))
        return QString();
    return m_cells.at(row * m_cols + col);
}

void TStringGrid::setCells(int col, int row, const QString &text)
{
    if (!isCell(col, row))
        return;
    m_cells[row * m_cols + col] = text;
    viewport()->update();
}

QString TStringGrid::FontName() const
{
    return m_faceName.nameFor(this);
}

void TStringGrid::setFontName(const QString &name)
{
    if (name.isEmpty())
        return;
    m_faceName.setName(name);
    updateFace();
    viewport()->update();
}

int TStringGrid::FontSize() const
{
    return m_pointSize.value_or(font().pointSize());
}

void TStringGrid::setFontSize(int points)
{
    m_pointSize = points;
    resizeFace();
    viewport()->update();
}

int TStringGrid::drawPixelSize() const
{
    const int points = std::clamp(FontSize(), 1, MaxDrawnPointSize);
    return std::max(1, qRound(points * logicalDpiY() / 72.0));
}

QFont TStringGrid::drawFont() const
{
    QFont f = font();
    f.setPixelSize(drawPixelSize());
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferAntialias));
    return f;
}

// Finds the file that draws the face name now and loads it, or only resizes the loaded face.
void TStringGrid::updateFace()
{
    const platform::FontFace face = m_fonts ? m_fonts->faceOf(FontName()) : platform::FontFace();
    m_tableGeneration = m_fonts ? m_fonts->generation() : -1;
    if (face != m_face || !m_raw.isValid()) {
        m_face = face;
        m_raw = platform::loadFace(face, drawPixelSize());
        m_symbolFont = m_raw.isValid() && platform::isSymbolCmap(m_raw.fontTable("cmap"));
    } else {
        resizeFace();
    }
}

// A new size needs no new face: the loaded one is scaled.
void TStringGrid::resizeFace()
{
    if (m_raw.isValid() && m_raw.pixelSize() != drawPixelSize())
        m_raw.setPixelSize(drawPixelSize());
}

// Fonts added, removed or installed since the face was found may change which file draws it.
void TStringGrid::updateFaceIfTableChanged()
{
    if (m_fonts && m_fonts->generation() != m_tableGeneration)
        updateFace();
}

// The face name may stand for another face now: the chart is drawn with that face at once.
void TStringGrid::followFontTable()
{
    const platform::FontFace drawn = m_face;
    updateFaceIfTableChanged();
    if (m_face != drawn)
        viewport()->update();
}

void TStringGrid::setFontTable(platform::FontTable *fonts)
{
    m_fonts = fonts;
    // Followed once the change is complete (a preview removes a face, adds one and may name
    // it): only the face the chart shows then is looked up.
    if (m_fonts) {
        m_fonts->setOnChange([grid = QPointer<TStringGrid>(this)] {
            if (grid)
                QMetaObject::invokeMethod(grid, &TStringGrid::followFontTable, Qt::QueuedConnection);
        });
    }
    updateFace();
    viewport()->update();
}

qreal TStringGrid::ascent() const
{
    return m_raw.isValid() ? m_raw.ascent() : QFontMetricsF(drawFont()).ascent();
}

bool TStringGrid::isCell(int col, int row) const
{
    return col >= 0 && col < m_cols && row >= 0 && row < m_rows;
}

void TStringGrid::setSelection(int col, int row)
{
    if (!isCell(col, row))
        return;
    const bool moved = col != m_col || row != m_row;
    m_col = col;
    m_row = row;
    viewport()->update();
    if (moved && QAccessible::isActive()) {
        // Screen readers announce the cell that became current.
        const int index = row * m_cols + col;
        QAccessibleEvent selection(this, QAccessible::Selection);
        selection.setChild(index);
        QAccessible::updateAccessibility(&selection);
        if (hasFocus()) {
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(index);
            QAccessible::updateAccessibility(&focus);
        }
    }
}

QRect TStringGrid::cellRect(int col, int row) const
{
    const qint64 w = drawnColWidth(), h = drawnRowHeight();
    const qint64 x = (qint64(col) - LeftCol()) * (w + 1), y = (qint64(row) - TopRow()) * (h + 1);
    return QRect(int(std::clamp<qint64>(x, -100000000, 100000000)),
                 int(std::clamp<qint64>(y, -100000000, 100000000)), int(w), int(h));
}

QString TStringGrid::accessibleCellName(int col, int row) const
{
    const QString text = Cells(col, row);
    if (text.isEmpty())
        return QString();
    const QChar character = text.front();
    const int code = charset::unicodeToAnsi(character);
    chart::Shown shown = chart::Shown::Glyph;
    if (m_symbolFont)
        shown = chart::Shown::Symbol;
    else if (m_raw.isValid() && !m_raw.supportsCharacter(character))
        shown = chart::Shown::Missing;
    return chart::cellName(character, code, shown);
}

int TStringGrid::LeftCol() const
{
    return horizontalScrollBar()->value();
}

int TStringGrid::TopRow() const
{
    return verticalScrollBar()->value();
}

void TStringGrid::setTopRow(int row)
{
    verticalScrollBar()->setValue(row);
}

void TStringGrid::setLeftCol(int col)
{
    horizontalScrollBar()->setValue(col);
}

bool TStringGrid::MouseToCell(const QPoint &pos, int *col, int *row) const
{
    const int c = cellIndexAt(pos.x(), drawnColWidth(), LeftCol(), m_cols);
    const int r = cellIndexAt(pos.y(), drawnRowHeight(), TopRow(), m_rows);
    if (c < 0 || r < 0)
        return false;
    *col = c;
    *row = r;
    return true;
}

bool TStringGrid::isActiveControl() const
{
    return window()->focusWidget() == this;
}

void TStringGrid::updateScrollBars()
{
    // A scroll bar is there exactly when the cells with their lines do not fit; its range lets
    // the last cell be scrolled fully into view.
    const QSize area = viewport()->size();
    const qint64 cellW = qint64(drawnColWidth()) + 1, cellH = qint64(drawnRowHeight()) + 1;
    const int fullCols = int(std::min<qint64>(m_cols, area.width() / cellW));
    const int fullRows = int(std::min<qint64>(m_rows, area.height() / cellH));
    horizontalScrollBar()->setRange(0, m_cols * cellW > area.width() ? m_cols - std::max(1, fullCols) : 0);
    verticalScrollBar()->setRange(0, m_rows * cellH > area.height() ? m_rows - std::max(1, fullRows) : 0);
    horizontalScrollBar()->setPageStep(std::max(1, fullCols));
    verticalScrollBar()->setPageStep(std::max(1, fullRows));
}

void TStringGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    updateFaceIfTableChanged();
    painter.setFont(drawFont());
    const QSize area = viewport()->size();
    const int textTop = TextMargin + qRound(ascent());
    const bool active = isActiveControl();
    for (int r = TopRow(); r < m_rows && cellRect(LeftCol(), r).top() < area.height(); ++r) {
        for (int c = LeftCol(); c < m_cols && cellRect(c, r).left() < area.width(); ++c)
            paintCell(painter, c, r, textTop, active);
    }
    paintLines(painter);
}

// One cell, its character's baseline `textTop` below its top: the current one highlighted while
// the chart is not the `active` control, and in the normal colours with a focus rectangle while
// it is.
void TStringGrid::paintCell(QPainter &painter, int col, int row, int textTop, bool active) const
{
    const QPalette &pal = palette();
    const QRect cell = cellRect(col, row);
    const bool current = col == m_col && row == m_row;
    const bool highlighted = current && !active;
    painter.fillRect(cell, pal.color(highlighted ? QPalette::Highlight : QPalette::Base));
    painter.setPen(pal.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    painter.save();
    painter.setClipRect(cell);
    const QString text = m_symbolFont ? chart::symbolText(Cells(col, row)) : Cells(col, row);
    drawCellText(painter, cell.topLeft() + QPoint(TextMargin, textTop), text);
    painter.restore();
    if (current && active)
        paintFocusRect(painter, cell);
}

// A dotted rectangle along the cell's edge, every other pixel in the text colour, drawn the
// same under every style (styles draw focus as a tinted fill or a solid frame, or only after
// a key press).
void TStringGrid::paintFocusRect(QPainter &painter, const QRect &cell) const
{
    QPen dots(palette().color(QPalette::Text), 0, Qt::CustomDashLine);
    dots.setDashPattern({1, 1});
    dots.setDashOffset(1); // starting with a dot in the top left corner
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.restore();
}

// The 1-pixel lines after every visible column and row, across the drawn cells.
void TStringGrid::paintLines(QPainter &painter) const
{
    const qint64 w = drawnColWidth(), h = drawnRowHeight();
    const QSize area = viewport()->size();
    painter.setPen(palette().color(QPalette::Mid));
    const int right = int(std::min<qint64>(area.width(), (m_cols - LeftCol()) * (w + 1))) - 1;
    const int bottom = int(std::min<qint64>(area.height(), (m_rows - TopRow()) * (h + 1))) - 1;
    for (qint64 x = w; x <= right; x += w + 1)
        painter.drawLine(int(x), 0, int(x), bottom);
    for (qint64 y = h; y <= bottom; y += h + 1)
        painter.drawLine(0, int(y), right, int(y));
}

// Glyphs are looked up in the face itself and drawn as they are: a character the face lacks
// shows its missing-glyph box, and format characters such as the soft hyphen show their glyph.
void TStringGrid::drawCellText(QPainter &painter, const QPoint &baseline, const QString &text) const
{
    const QRawFont &raw = m_raw;
    if (!raw.isValid()) {
        painter.drawText(baseline, text);
        return;
    }
    painter.drawGlyphRun(baseline, platform::glyphRunOf(raw, text));
}

void TStringGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TStringGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TStringGrid::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    // A face set as the widget's font keeps its name, and the widget an installed family.
    if (m_faceName.takeFontOf(this))
        return;
    updateFace();
    viewport()->update();
}

void TStringGrid::moveCurrent(int col, int row)
{
    col = std::clamp(col, 0, m_cols - 1);
    row = std::clamp(row, 0, m_rows - 1);
    setSelection(col, row);
    // Keep the current cell in view.
    const int visibleCols = horizontalScrollBar()->pageStep();
    const int visibleRows = verticalScrollBar()->pageStep();
    if (col < LeftCol())
        setLeftCol(col);
    else if (col >= LeftCol() + visibleCols)
        setLeftCol(col - visibleCols + 1);
    if (row < TopRow())
        setTopRow(row);
    else if (row >= TopRow() + visibleRows)
        setTopRow(row - visibleRows + 1);
}

void TStringGrid::trackPointer(const QPoint &pos)
{
    // While the left button is held the current cell follows the pointer; beyond the edges the
    // grid scrolls one cell towards it.
    const QRect area = viewport()->rect();
    int col = m_col, row = m_row;
    if (pos.x() < 0)
        col = LeftCol() - 1;
    else if (pos.x() >= area.width())
        col = LeftCol() + horizontalScrollBar()->pageStep();
    else if (const int c = cellIndexAt(pos.x(), drawnColWidth(), LeftCol(), m_cols); c >= 0)
        col = c;
    if (pos.y() < 0)
        row = TopRow() - 1;
    else if (pos.y() >= area.height())
        row = TopRow() + verticalScrollBar()->pageStep();
    else if (const int r = cellIndexAt(pos.y(), drawnRowHeight(), TopRow(), m_rows); r >= 0)
        row = r;
    moveCurrent(col, row);
}

void TStringGrid::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    int col, row;
    if (event->button() == Qt::LeftButton && MouseToCell(event->position().toPoint(), &col, &row))
        setSelection(col, row);
    emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TStringGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        trackPointer(event->position().toPoint());
}

void TStringGrid::mouseReleaseEvent(QMouseEvent *event)
{
    emit MouseUp(event->button(), event->modifiers(), event->position().toPoint());
    if (event->button() == Qt::RightButton && m_popup)
        m_popup->popup(event->globalPosition().toPoint());
}

void TStringGrid::keyPressEvent(QKeyEvent *event)
{
    const int page = verticalScrollBar()->pageStep();
    switch (event->key()) {
    case Qt::Key_Left: moveCurrent(m_col - 1, m_row); break;
    case Qt::Key_Right: moveCurrent(m_col + 1, m_row); break;
    case Qt::Key_Up: moveCurrent(m_col, m_row - 1); break;
    case Qt::Key_Down: moveCurrent(m_col, m_row + 1); break;
    case Qt::Key_PageUp: moveCurrent(m_col, m_row - page); break;
    case Qt::Key_PageDown: moveCurrent(m_col, m_row + page); break;
    case Qt::Key_Home:
        moveCurrent(0, event->modifiers() & Qt::ControlModifier ? 0 : m_row);
        break;
    case Qt::Key_End:
        moveCurrent(m_cols - 1, event->modifiers() & Qt::ControlModifier ? m_rows - 1 : m_row);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        pickCurrentCell();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

// The keyboard's pick of the current cell, which is scrolled into view first.
void TStringGrid::pickCurrentCell()
{
    moveCurrent(m_col, m_row);
    emit KeyPick(cellRect(m_col, m_row).center());
}

// Opened from the keyboard, the menu starts on its first item, which a screen reader names.
void TStringGrid::openMenuAtCurrentCell()
{
    pickCurrentCell();
    if (!m_popup)
        return;
    m_popup->popup(viewport()->mapToGlobal(cellRect(m_col, m_row).center()));
    m_popup->setActiveAction(m_popup->actions().value(0));
}

void TStringGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TStringGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
