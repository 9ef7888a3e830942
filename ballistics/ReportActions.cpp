// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/ReportActions.h"

#include "ballistics/core/SelfCheck.h"
#include "chrome/Messages.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace korvo {

QDialog* MakeCaseFieldsDialog(QWidget* window, RunCaseFields& caso) {
    auto* dialog = new QDialog(window);
    dialog->setObjectName(QStringLiteral("DatosExpediente"));
    dialog->setWindowTitle(QStringLiteral("Datos del Expediente"));
    auto* form = new QFormLayout(dialog);
    const auto field = [&](const char* name, const QString& label, const std::string& text) {
        auto* edit = new QLineEdit(QString::fromStdString(text), dialog);
        edit->setObjectName(QString::fromUtf8(name));
        form->addRow(label, edit);
        return edit;
    };
    QLineEdit* expediente = field("Expediente", QStringLiteral("&Expediente:"), caso.Expediente);
    QLineEdit* perito = field("Perito", QStringLiteral("&Perito:"), caso.Perito);
    QLineEdit* nota = field("Nota", QStringLiteral("&Nota:"), caso.Nota);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::accepted, dialog, [&caso, expediente, perito, nota] {
        caso = {expediente->text().trimmed().toStdString(), perito->text().trimmed().toStdString(),
                nota->text().trimmed().toStdString()};
    });
    return dialog;
}

void ShowSelfCheck(QWidget* window) {
    Guarded(window, [&] { ShowMessage(window, QString::fromStdString(SelfCheckText(RunSelfCheck()))); });
}

void AddReportActions(QWidget* window, QWidget* target, RunCaseFields& caso) {
    auto* fields = new QAction(QStringLiteral("Datos del Expediente..."), target);
    fields->setObjectName(QStringLiteral("DatosExpediente") + target->objectName());
    target->addAction(fields);
    QObject::connect(fields, &QAction::triggered, window, [window, &caso] {
        QDialog* dialog = MakeCaseFieldsDialog(window, caso);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
    auto* check = new QAction(QStringLiteral("Autocomprobación"), target);
    check->setObjectName(QStringLiteral("Autocomprobacion") + target->objectName());
    target->addAction(check);
    QObject::connect(check, &QAction::triggered, window, [window] { ShowSelfCheck(window); });
}

} // namespace korvo
