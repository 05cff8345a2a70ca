// A grid of text cells of one size, with a 1-pixel line after every column and row, scrolled
// by whole cells. It draws each cell's text unscaled from 2 pixels inside the cell's corner,
// clipped to the cell, straight from the face's file, so a missing character shows the font's
// own box and no other font stands in.
#pragma once

#include "platform/fontface.h"
#include "namedface.h"

#include <QAbstractScrollArea>
#include <QRawFont>
#include <QVector>

#include <optional>

class QMenu;
class QPainter;
class QRawFont;
namespace platform {
class FontTable;
}

class TStringGrid : public QAbstractScrollArea
{
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE setColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE setRowCount)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE setDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE setDefaultRowHeight)

public:
    // Cells larger than this are laid out and drawn at this size (the value itself is kept).
    static constexpr int MaxDrawnCellSize = 100000;
    // Fonts are drawn at most this large; a larger size typed in is kept but not rendered.
    static constexpr int MaxDrawnPointSize = 1000;

    explicit TStringGrid(QWidget *parent = nullptr);

    // Index of the cell along one axis that holds pixel `pos` of the viewport, counting from the
    // first visible cell; -1 when no cell is there. Each cell spans `size` pixels plus its line.
    static int cellIndexAt(int pos, int size, int firstVisible, int count);

    int ColCount() const { return m_cols; }
    int RowCount() const { return m_rows; }
    void setColCount(int cols);
    void setRowCount(int rows);
    int DefaultColWidth() const { return m_colWidth; }
    int DefaultRowHeight() const { return m_rowHeight; }
    void setDefaultColWidth(int width);
    void setDefaultRowHeight(int height);

    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString &text);

    // The chart font's face and size in points. An empty face name changes nothing. A face set
    // as the widget's font (as the form does) becomes the face name too; the widget itself then
    // keeps an installed family for anything Qt draws on it.
    QString FontName() const;
    void setFontName(const QString &name);
    int FontSize() const;
    void setFontSize(int points);
    // The font size in pixels the cells are drawn at.
    int drawPixelSize() const;
    // The font the cells are drawn with where the face's file cannot be read.
    QFont drawFont() const;
    // The face the cells are drawn with: its file and face index, and its family as the file
    // names it (empty when the file could not be loaded).
    platform::FontFace drawnFace() const { return m_face; }
    QString drawnFamily() const { return m_raw.familyName(); }

    // The selected (and current) cell.
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    void setSelection(int col, int row);

    // Scroll position: the first visible column and row.
    int LeftCol() const;
    int TopRow() const;
    void setTopRow(int row);
    void setLeftCol(int col);

    // Cell under a viewport point; false where no cell is.
    bool MouseToCell(const QPoint &pos, int *col, int *row) const;
    // A cell's rectangle in viewport coordinates (outside the viewport when scrolled away).
    QRect cellRect(int col, int row) const;
    // What a screen reader says for a cell: its character as the chart shows it, and its codes.
    QString accessibleCellName(int col, int row) const;

    // Opened at the pointer when the right button is released over the grid.
    void setPopupMenu(QMenu *menu) { m_popup = menu; }
    // Picks the current cell as Enter does and opens the menu at its centre, on its first item.
    void openMenuAtCurrentCell();
    // Where the cells find the files of their faces; without a table they are drawn with
    // drawFont(). Whenever the table changes, the chart is drawn again with the face its face
    // name stands for then, also when its face has left the table.
    void setFontTable(platform::FontTable *fonts);

signals:
    // Every press and every release of any button, in viewport coordinates.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    // Enter or Space, or openMenuAtCurrentCell(), picked the current cell; `pos` is its centre,
    // in viewport coordinates.
    void KeyPick(const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;

private:
    // Space between a cell's edges and its character.
    static constexpr int TextMargin = 2;

    bool isCell(int col, int row) const;
    void paintCell(QPainter &painter, int col, int row, int textTop, bool active) const;
    void paintFocusRect(QPainter &painter, const QRect &cell) const;
    void paintLines(QPainter &painter) const;
    int drawnColWidth() const;
    int drawnRowHeight() const;
    bool isActiveControl() const;
    void updateScrollBars();
    void updateFace();
    void resizeFace();
    void updateFaceIfTableChanged();
    void followFontTable();
    qreal ascent() const;
    void moveCurrent(int col, int row);
    void pickCurrentCell();
    void trackPointer(const QPoint &pos);
    void drawCellText(QPainter &painter, const QPoint &baseline, const QString &text) const;

    int m_cols = 5;
    int m_rows = 5;
    int m_colWidth = 64;
    int m_rowHeight = 24;
    int m_col = 0;
    int m_row = 0;
    std::optional<int> m_pointSize; // unset: the size of the font as set on the widget
    bool m_symbolFont = false;  // symbol-encoded: shows its own glyph for every code
    NamedFace m_faceName;
    platform::FontFace m_face;  // the face m_raw was loaded from
    QRawFont m_raw;
    int m_tableGeneration = -1;
    QVector<QString> m_cells;
    QMenu *m_popup = nullptr;
    platform::FontTable *m_fonts = nullptr;
};
