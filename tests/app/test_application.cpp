// SPDX-License-Identifier: GPL-3.0-or-later

// The application object's last net: an exception that escapes an event
// handler is reported once and never crosses the event loop.
#include "app/Startup.h"
#include "chrome/Messages.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace korvo {
namespace {

class Throwing : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw std::runtime_error("fallo en un evento");
        return QObject::event(event);
    }
};

TEST(Application, ReportsAnExceptionThatEscapesAHandler) {
    int argc = 1;
    char name[] = "korvo_test";
    char* argv[] = {name, nullptr};
    TKorvoApplication application(argc, argv);
    std::vector<MessageRequest> shown;
    const MessagePresenter previous =
        SetMessagePresenter([&shown](const MessageRequest& request) { shown.push_back(request); });

    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    SetMessagePresenter(previous);

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("fallo en un evento."));
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(shown[0].caption, QStringLiteral("KORVO"));
}

} // namespace
} // namespace korvo
