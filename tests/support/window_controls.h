#pragma once

#include "model/editor_model.h"
#include "ui/form1.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"

#include <QLineEdit>
#include <QPushButton>
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
    // A button's module list set, then its channel list when one is given, as the program sets them.
    void setButton(int k, int module, int channel = -1) const
    {
        moduleList(k)->setPosition(module);
        if (channel >= 0)
            channelList(k)->setPosition(channel);
    }
    panel::EditorModel &editor() const { return form->editor(); }
};
