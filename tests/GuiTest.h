// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Shared by the GUI tests: one application object for the whole test program,
// a presenter that records message boxes instead of showing them, a
// temporary current directory for tests that write files, and the program-wide
// window pointers set to a test's own windows.
#include "chrome/Chrome.h"
#include "chrome/Messages.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace korvo::test {

inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "korvo_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: windows made by the tests may outlive any local scope.
    static QApplication* application = [] {
        // Settings the windows keep (the manual's size) go to a test folder,
        // never to the user's own.
        QStandardPaths::setTestModeEnabled(true);
        auto* made = new QApplication(argc, argv);
        InstallFontSubstitutions();
        return made;
    }();
    return *application;
}

// Whether a field shows the start of a text wider than itself, as after Home:
// the cursor at 0 and drawn at the field's left edge once the field has laid
// its text out as it is drawn.
inline ::testing::AssertionResult ShowsItsStart(QLineEdit* field) {
    if (field->fontMetrics().horizontalAdvance(field->text()) <= field->width())
        return ::testing::AssertionFailure() << "the text fits its field";
    field->grab();
    const int left = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
    if (field->cursorPosition() != 0 || left >= 8)
        return ::testing::AssertionFailure() << "cursor " << field->cursorPosition() << " drawn at " << left;
    return ::testing::AssertionSuccess();
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

// Points program-wide window pointers (Form2, Form3, ...) at a test's windows
// and clears them, last set first, when it goes out of scope, also when the
// test ends at a failed assertion. Declared after the windows, it clears the
// pointers before the windows are destroyed.
//
//   TForm2 real;
//   TForm3 form;
//   test::WindowPointers pointers{Form2, real, Form3, form};
class WindowPointers {
public:
    template <class... Rest> explicit WindowPointers(Rest&... rest) { Set(rest...); }
    ~WindowPointers() {
        for (auto clear = clears_.rbegin(); clear != clears_.rend(); ++clear)
            (*clear)();
    }
    WindowPointers(const WindowPointers&) = delete;
    WindowPointers& operator=(const WindowPointers&) = delete;

private:
    void Set() {}
    template <class Window, class... Rest> void Set(Window*& pointer, Window& window, Rest&... rest) {
        pointer = &window;
        clears_.push_back([&pointer] { pointer = nullptr; });
        Set(rest...);
    }

    std::vector<std::function<void()>> clears_;
};

} // namespace korvo::test
