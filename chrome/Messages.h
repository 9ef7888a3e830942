// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one place every message box of KORVO goes through.
//
// Windows never construct a QMessageBox themselves: they call ShowMessage for
// an information box or ReportError for a failed action. Tests replace the
// presenter with SetMessagePresenter and record what would have been shown,
// so that no dialog ever blocks a test.
//
//   korvo::Guarded(this, [&] { RunStep(); });   // any exception -> one error box
#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace korvo {

// The application title, used as the caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("KORVO");

enum class MessageIcon { NoIcon, Information, Error };

struct MessageRequest {
    QWidget* owner = nullptr;
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::NoIcon;
};

using MessagePresenter = std::function<void(const MessageRequest&)>;

// Installs a presenter and returns the one it replaces. An empty presenter
// restores the default, a modal QMessageBox with an OK button.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// An information box: OK button, captioned "KORVO", no icon.
void ShowMessage(QWidget* owner, const QString& text);

// A box with its own caption and icon (the mass converter's help).
void ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon);

// The error report of a failed action: the exception's message followed by a
// full stop, captioned "KORVO", with an error icon. The stop is added only when
// the message's last character sorts after "." (a message that already ends in
// "." or ")" gets none).
void ReportError(QWidget* owner, const std::exception& error);
void ReportError(QWidget* owner, const QString& message);

// The text ReportError shows for a message.
QString ErrorReportText(const QString& message);

// Runs an event handler's body so that no exception reaches Qt's event loop:
// an exception ends the body at the failing point and is reported once.
// Returns true when the body ran to its end.
template <class Body> bool Guarded(QWidget* owner, Body&& body) {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        ReportError(owner, error);
    } catch (...) {
        ReportError(owner, QStringLiteral("Unexpected error"));
    }
    return false;
}

} // namespace korvo
