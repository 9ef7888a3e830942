#pragma once
// Shared by the GUI tests: one application object for the whole test program,
// a presenter that records message boxes instead of showing them, and a
// temporary current directory for tests that write files.
#include "app/Chrome.h"
#include "app/Messages.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <vector>

namespace korvo::test {

inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "korvo_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: windows made by the tests may outlive any local scope.
    static QApplication* application = [] {
        auto* made = new QApplication(argc, argv);
        InstallFontSubstitutions();
        return made;
    }();
    return *application;
}

// Where a field draws its cursor, in the field's coordinates, once it has laid
// its text out as it is drawn: near 0 when the field shows the text's start.
inline int CursorLeftAsDrawn(QLineEdit* field) {
    field->grab();
    return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
}

// Records every message box for its lifetime; restores the previous presenter.
class RecordedMessages {
public:
    RecordedMessages() {
        previous_ = SetMessagePresenter([this](const MessageRequest& request) { list.push_back(request); });
    }
    ~RecordedMessages() { SetMessagePresenter(previous_); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    std::vector<MessageRequest> list;

private:
    MessagePresenter previous_;
};

// Makes a fresh temporary directory the current one for its lifetime.
class TemporaryCurrentDirectory {
public:
    TemporaryCurrentDirectory() : previous_(QDir::currentPath()) { QDir::setCurrent(directory_.path()); }
    ~TemporaryCurrentDirectory() { QDir::setCurrent(previous_); }
    QString Path() const { return QDir(directory_.path()).canonicalPath(); }

private:
    QTemporaryDir directory_;
    QString previous_;
};

} // namespace korvo::test
