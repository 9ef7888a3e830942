// SPDX-License-Identifier: GPL-3.0-or-later

#include "chrome/Messages.h"

#include "base/ErrorText.h"

#include <QMessageBox>
#include <utility>

namespace korvo {
namespace {

void PresentWithQt(const MessageRequest& request) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (request.icon == MessageIcon::Information)
        icon = QMessageBox::Information;
    else if (request.icon == MessageIcon::Error)
        icon = QMessageBox::Critical;
    QMessageBox box(icon, request.caption, request.text, QMessageBox::Ok, request.owner);
    box.exec();
}

MessagePresenter& Presenter() {
    static MessagePresenter presenter = PresentWithQt;
    return presenter;
}

} // namespace

MessagePresenter SetMessagePresenter(MessagePresenter presenter) {
    if (!presenter)
        presenter = PresentWithQt;
    return std::exchange(Presenter(), std::move(presenter));
}

void ShowMessage(QWidget* owner, const QString& text) {
    ShowMessage(owner, text, kApplicationTitle, MessageIcon::NoIcon);
}

void ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) {
    // Copied first: a presenter may replace itself while it runs.
    MessagePresenter presenter = Presenter();
    presenter(MessageRequest{owner, caption, text, icon});
}

QString ErrorReportText(const QString& message) {
    return QString::fromStdString(ErrorReportText(message.toStdString()));
}

void ReportError(QWidget* owner, const QString& message) {
    ShowMessage(owner, ErrorReportText(message), kApplicationTitle, MessageIcon::Error);
}

void ReportError(QWidget* owner, const std::exception& error) {
    ReportError(owner, QString::fromUtf8(error.what()));
}

} // namespace korvo
