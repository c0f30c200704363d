#pragma once

#include "model/editor_model.h"
#include "ui/form1.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

// The main window under test, and its controls found by their names.
struct WindowControls {
    std::unique_ptr<panel::Form1> form;

    template<typename T = QWidget>
    T *control(const QString &name) const
    {
        T *w = form->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    panel::SelectionList *list(int n) const { return control<panel::SelectionList>(QStringLiteral("List%1").arg(n)); }
    panel::SelectionList *moduleList(int k) const { return list(2 * k + 1); }
    panel::SelectionList *channelList(int k) const { return list(2 * k + 2); }
    QLineEdit *text(int n) const { return control<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    QLineEdit *desig(int k) const { return text(k + 3); }
    panel::StatusBox *status() const { return control<panel::StatusBox>(QStringLiteral("Text1")); }
    panel::RuleCheckBox *check() const { return control<panel::RuleCheckBox>(QStringLiteral("Check1")); }
    // Types the text over what the box holds, as a user would: the box's own checks apply.
    static void type(QLineEdit *box, const QString &text)
    {
        box->selectAll();
        box->insert(text);
    }
    void click(const char *button) const { control<QPushButton>(QString::fromLatin1(button))->click(); }
    // Chooses a row as the user does: scrolled into view, then clicked. Nobody can click a hidden list.
    static void clickRow(panel::SelectionList *list, int row)
    {
        QVERIFY2(list->isVisible(), qPrintable(list->objectName() + QStringLiteral(" is hidden")));
        QVERIFY2(row >= 0 && row < list->count(), qPrintable(QStringLiteral("no row %1").arg(row)));
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Ticks or unticks the independent-lighting box as the user does.
    void clickCheckBox() const { QTest::mouseClick(check(), Qt::LeftButton); }
    // A button's module, then its channel when one is given, chosen in the editor as the program does.
    void setButton(int k, int module, int channel = -1) const
    {
        editor().setModulePosition(k, module);
        if (channel >= 0)
            editor().setChannelPosition(k, channel);
    }
    panel::EditorModel &editor() const { return form->editor(); }
};

namespace panel::test {

// A button as a line: its positions, whether its channel list and designation are shown, and the text.
inline QString buttonLine(int k, int module, int channel, bool channelShown, const QString &designation, bool shown)
{
    return QStringLiteral("SW%1 %2/%3 %4 [%5] %6")
        .arg(k + 1)
        .arg(module)
        .arg(channel)
        .arg(channelShown ? "channel" : "-")
        .arg(designation)
        .arg(shown ? "shown" : "hidden");
}

inline QString lightingLine(const QString &name, int box, int indicator, int backlight)
{
    return QStringLiteral("name [%1] box %2 indicator %3 back-light %4").arg(name).arg(box).arg(indicator).arg(backlight);
}

// The configuration as the window's controls show it.
inline QStringList shownBy(const WindowControls &w)
{
    QStringList state;
    for (int k = 0; k < kButtons; ++k) {
        state << buttonLine(k, w.moduleList(k)->position(), w.channelList(k)->position(),
                            w.channelList(k)->isVisibleTo(w.form.get()), w.desig(k)->text(),
                            w.desig(k)->isVisibleTo(w.form.get()));
    }
    return state << lightingLine(w.text(2)->text(), w.check()->state(), w.list(21)->position(), w.list(22)->position());
}

// The same, as the model holds it.
inline QStringList heldBy(const EditorModel &e)
{
    QStringList state;
    for (int k = 0; k < kButtons; ++k) {
        state << buttonLine(k, e.modulePosition(k), e.channelPosition(k), e.channelListShown(k), e.designation(k),
                            e.designationShown(k));
    }
    return state << lightingLine(e.panelName(), e.checkState(), e.indicatorPosition(), e.backlightPosition());
}

} // namespace panel::test
