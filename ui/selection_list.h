#pragma once

#include "model/codes.h"
#include "ui/rule_control.h"

#include <QListWidget>

namespace panel {

// A single-selection list showing the texts of a table's rows; the rules take the rows' item data from
// the table. Its position is the selected row, -1 when none. A row clicked, or chosen with the keyboard,
// runs the rule; focus alone selects nothing.
class SelectionList : public QListWidget, public RuleControl
{
    Q_OBJECT
public:
    explicit SelectionList(QWidget *parent = nullptr);

    template<typename Rows>
    void addRows(const Rows &rows)
    {
        for (const ListRow &row : rows)
            addItem(QString::fromLatin1(row.text));
    }

    int position() const;
    // Selects the row (-1 clears the selection) and runs nothing: the list shows a position chosen
    // in the editor.
    void showPosition(int row);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void runRuleIfMovedFrom(int before);

    int m_positionAtPress = -1;
    bool m_pressed = false;
};

} // namespace panel
