#include "ui/selection_list.h"

#include "model/codes.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace panel {

SelectionList::SelectionList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
}

int SelectionList::position() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.constFirst());
}

void SelectionList::showPosition(int row)
{
    if (row == position() && (row < 0 || currentRow() == row))
        return;
    if (row >= 0 && row < count()) {
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    } else {
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
}

// A click or a key never empties the list's selection: a choice always selects a row.
QItemSelectionModel::SelectionFlags SelectionList::selectionCommand(const QModelIndex &index,
                                                                    const QEvent *event) const
{
    QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        flags = index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
    return flags;
}

void SelectionList::mousePressEvent(QMouseEvent *event)
{
    if (!m_pressed) {
        m_pressed = true;
        m_positionAtPress = position();
    }
    QListWidget::mousePressEvent(event);
}

void SelectionList::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (!m_pressed)
        return;
    m_pressed = false;
    // A click on a row is a choice even when that row was already selected.
    const bool onSelectedRow = position() >= 0 && indexAt(event->position().toPoint()).row() == position();
    if (onSelectedRow && position() == m_positionAtPress)
        runRule();
    else
        runRuleIfMovedFrom(m_positionAtPress);
}

void SelectionList::keyPressEvent(QKeyEvent *event)
{
    const int before = position();
    QListWidget::keyPressEvent(event);
    runRuleIfMovedFrom(before);
}

void SelectionList::runRuleIfMovedFrom(int before)
{
    if (position() != before && position() >= 0)
        runRule();
}

} // namespace panel
