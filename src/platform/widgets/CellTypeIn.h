// Typing into a grid cell whose value is not text (a looked-up name): the first
// key, or the first text an input method commits, opens a line over the cell;
// Enter or Tab hands what was typed over, Esc or leaving the line drops it.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QLineEdit;

namespace kvl {

class DataGrid;

class CellTypeIn : public QObject
{
    Q_OBJECT
public:
    // `accepts` tells whether typing in the grid's current column opens the line.
    // Owned by the grid.
    CellTypeIn(DataGrid *grid, std::function<bool(int column)> accepts);

    // The line while it is open, else null.
    QLineEdit *line() const { return m_line; }

signals:
    // Enter or Tab in the line: the text typed (trimmed, not empty) and the key
    // that ended it; the line has closed and the grid has the focus again.
    void typed(const QString &text, int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void open(const QString &text);
    void finish(bool handOver, int key);

    DataGrid *m_grid;
    std::function<bool(int)> m_accepts;
    QPointer<QLineEdit> m_line;
};

} // namespace kvl
