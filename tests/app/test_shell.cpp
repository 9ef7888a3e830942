// SPDX-License-Identifier: GPL-3.0-or-later

// The application shell: the error report's stop rule, the eight windows, the
// main window's placement and menu, how each strip moves its window, and the
// about text.
#include "GuiTest.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit8.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit3.h"
#include "ballistics/Unit4.h"
#include "ballistics/Unit5.h"
#include "ballistics/Unit6.h"
#include "ballistics/Unit7.h"
#include "chrome/Controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <stdexcept>

namespace korvo {
namespace {

TEST(ErrorReport, AddsAStopOnlyAfterCharactersThatSortAfterIt) {
    test::Application();
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
        {"Proceso terminado.", "Proceso terminado."},
        {"Cannot create file \"/tmp/x\". Is a directory", "Cannot create file \"/tmp/x\". Is a directory."},
        {"valor (m)", "valor (m)"}, // ")" sorts before "."
        {"100", "100."},            // digits sort after "."
        {"fin-", "fin-"},           // "-" sorts before "."
        {"", ""},
    };
    for (const Case& c : cases) {
        test::RecordedMessages messages;
        ReportError(nullptr, std::runtime_error(c.message));
        ASSERT_EQ(messages.list.size(), 1u) << c.message;
        EXPECT_EQ(messages.list[0].text, QString::fromUtf8(c.shown)) << c.message;
        EXPECT_EQ(messages.list[0].caption, QStringLiteral("KORVO"));
        EXPECT_EQ(messages.list[0].icon, MessageIcon::Error);
    }
}

TEST(ErrorReport, GuardedReportsOnceAndStopsTheBody) {
    test::Application();
    test::RecordedMessages messages;
    int reached = 0;
    const bool completed = Guarded(nullptr, [&] {
        ++reached;
        throw std::runtime_error("fallo");
        ++reached;
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(reached, 1);
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("fallo."));
}

class Shell : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::Application();
        CreateWindows();
    }
    static void TearDownTestSuite() { DestroyWindows(); }
};

TEST_F(Shell, CreatesEveryWindowOnce) {
    const QWidget* windows[] = {Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8};
    for (const QWidget* window : windows) {
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->isVisible(), false) << window->objectName().toStdString();
    }
}

TEST_F(Shell, MainWindowCoversTheScreenWithItsPicturesAtTheRightEnd) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Korvatek"));
    EXPECT_EQ(Form1->geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_TRUE(Form1->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(Form1->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Form1->Minimizar->geometry(), QRect(screen.width() - 40, 3, 16, 15));
    EXPECT_EQ(Form1->Cerrar->geometry(), QRect(screen.width() - 20, 3, 16, 15));

    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    EXPECT_EQ(Form1->Titulo->geometry(), QRect(0, 0, screen.width(), 21));
    EXPECT_EQ(Form1->Status->geometry(), QRect(0, screen.height() - 22, screen.width(), 22));
    // The logo sits in the middle of the area between the strips.
    EXPECT_EQ(Form1->Image3->geometry(), QRect(0, 21, screen.width(), screen.height() - 43));
    EXPECT_EQ(Form1->Image3->alignment(), Qt::AlignCenter);
    Form1->hide();
}

TEST_F(Shell, MenuLabelsOpenTheirWindows) {
    Form1->show();
    QTest::mouseClick(Form1->Label2, Qt::LeftButton);
    EXPECT_TRUE(Form7->isVisible());
    Form7->close();
    QTest::mouseClick(Form1->Label3, Qt::LeftButton);
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_TRUE(Form2->isModal());
    Form2->close();
    QTest::mouseClick(Form1->Label4, Qt::LeftButton);
    EXPECT_TRUE(Form8->isVisible());
    Form8->close();
    EXPECT_FALSE(Form8->isVisible());
    Form1->hide();
}

// The whole road: main menu, a default run, then the results window.
TEST_F(Shell, FinishedRunOpensTheResults) {
    test::RecordedMessages messages;
    Form1->show();
    QTest::mouseClick(Form1->Label3, Qt::LeftButton);
    ASSERT_TRUE(Form2->isVisible());
    QTest::mouseClick(Form2->IniciarCalculos, Qt::LeftButton);
    while (Form2->Timer1->isActive())
        Form2->Timer1Timer();
    ASSERT_EQ(messages.list.size(), 1u);
    EXPECT_EQ(messages.list[0].text, QStringLiteral("Proceso Finalizado."));
    QTest::mouseClick(Form2->Resultados, Qt::LeftButton);
    ASSERT_TRUE(Form6->isVisible());
    EXPECT_EQ(Form6->TotalIteraciones->text(), QStringLiteral("3481"));
    EXPECT_EQ(Form6->HMax->text(), QStringLiteral("374.220 m."));
    Form6->close();
    Form2->LimpiarDatosClick();
    Form2->close();
    Form1->hide();
}

TEST_F(Shell, SalirAndCerrarCloseTheMainWindow) {
    for (TClickLabel* closer : {Form1->Label1, Form1->Cerrar}) {
        Form1->show();
        QSignalSpy closed(Form1, &TForm1::closed);
        QTest::mouseClick(closer, Qt::LeftButton);
        EXPECT_EQ(closed.count(), 1) << closer->objectName().toStdString();
        EXPECT_FALSE(Form1->isVisible());
    }
}

// The text a label shows: a label with a buddy shows its Alt letter's "&" as
// an underline, taking no width.
QString ShownText(const QLabel* label) {
    QString text = label->text();
    if (label->buddy())
        text.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    return text;
}

// Where a label's text lies in its parent, by its width and alignment.
QRect TextExtent(const QLabel* label) {
    const int width = QFontMetrics(label->font()).horizontalAdvance(ShownText(label));
    const QRect box = label->geometry();
    const Qt::Alignment alignment = label->alignment();
    const int left = alignment & Qt::AlignRight     ? box.right() + 1 - width
                     : alignment & Qt::AlignHCenter ? box.left() + (box.width() - width) / 2
                                                    : box.left();
    return QRect(left, box.top(), width, box.height());
}

bool IsControl(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractButton*>(widget);
}

// With the fonts the program installs: every caption reads in full and keeps
// two pixels clear of the controls beside it, and every control of a group lies
// inside the group's frame, below its caption.
TEST_F(Shell, CaptionsFitAndControlsStayInsideTheirFrames) {
    QWidget* windows[] = {Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8};
    for (QWidget* window : windows) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            const std::string name = window->objectName().toStdString() + ": " + label->text().toStdString();
            const QRect text = TextExtent(label);
            EXPECT_LE(text.width(), label->contentsRect().width()) << name;
            for (const QObject* child : label->parentWidget()->children()) {
                const auto* sibling = qobject_cast<const QWidget*>(child);
                if (sibling && sibling != label && IsControl(sibling)) {
                    const auto* other = qobject_cast<const QLabel*>(sibling);
                    EXPECT_FALSE(text.adjusted(-2, 0, 2, 0)
                                     .intersects(other ? TextExtent(other) : sibling->geometry()))
                        << name << " against " << sibling->objectName().toStdString();
                }
            }
        }
        for (const TGroupBox* group : window->findChildren<TGroupBox*>()) {
            const QRect inside = group->FrameRect().adjusted(1, 1, -1, -1);
            for (const QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const std::string name =
                    group->title().toStdString() + ": " + child->objectName().toStdString();
                EXPECT_TRUE(inside.contains(child->geometry())) << name;
                EXPECT_FALSE(group->CaptionRect().intersects(child->geometry())) << name;
            }
        }
    }
}

// Sends a pointer motion straight to the strip, whatever its tracking.
void MovePointer(QWidget* strip, const QPoint& at, Qt::MouseButtons held) {
    QMouseEvent motion(QEvent::MouseMove, at, strip->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(strip, &motion);
}

// Which strip asks the window system for a move, and on what: a bare pointer
// motion never moves a window, or the window would chase the pointer.
TEST_F(Shell, StripsMoveTheirWindowsOnTheirOwnTrigger) {
    struct Case {
        QWidget* window;
        TTitleStrip* strip;
        int onPress;
        int onHeldMotion;
    };
    const Case cases[] = {
        {Form1, Form1->Titulo, 0, 0},
        {Form2, Form2->Titulo, 1, 0},
        {Form8, Form8->Titulo, 0, 1},
    };
    for (const Case& c : cases) {
        const std::string name = c.window->objectName().toStdString();
        c.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(c.window));
        QSignalSpy press(c.strip, &TTitleStrip::moveRequested);
        QTest::mousePress(c.strip, Qt::LeftButton, {}, QPoint(40, 10));
        QTest::mouseRelease(c.strip, Qt::LeftButton, {}, QPoint(40, 10));
        EXPECT_EQ(press.count(), c.onPress) << name;

        QSignalSpy bare(c.strip, &TTitleStrip::moveRequested);
        QTest::mouseMove(c.strip, QPoint(60, 12));
        MovePointer(c.strip, QPoint(80, 12), Qt::NoButton);
        MovePointer(c.strip, QPoint(90, 12), Qt::RightButton);
        EXPECT_EQ(bare.count(), 0) << name;

        QSignalSpy held(c.strip, &TTitleStrip::moveRequested);
        // Once per press: a later request could reach the window system after
        // the button is up.
        MovePointer(c.strip, QPoint(100, 12), Qt::LeftButton);
        MovePointer(c.strip, QPoint(110, 12), Qt::LeftButton);
        EXPECT_EQ(held.count(), c.onHeldMotion) << name;
        c.window->hide();
    }
}

TEST_F(Shell, AboutWindowShowsItsTextReadOnly) {
    const QStringList& lines = TForm8::Lines();
    ASSERT_EQ(lines.size(), 29);
    EXPECT_EQ(lines[0], QStringLiteral("K.O.R.V.O. v1.0"));
    EXPECT_EQ(lines[2], QStringLiteral("Programa diseñado y desarrollado por:"));
    // The listed blanks: after the title, the credits and each paragraph.
    for (int blank : {1, 6, 9, 13, 17, 20, 25})
        EXPECT_TRUE(lines[blank].isEmpty()) << blank;
    EXPECT_EQ(lines[11],
              QStringLiteral("reduciendo drásticamente  el tiempo que una persona de manera manual "));
    // Every line in its order; a paragraph's prose lines flow into one, the
    // title and the credit lines stay lines of their own.
    const QString shown = Form8->RichEdit1->toPlainText();
    EXPECT_EQ(QString(shown).remove(u'\n'), lines.join(QString()));
    const QStringList paragraphs = shown.split(u'\n');
    EXPECT_EQ(paragraphs.mid(0, 7), lines.mid(0, 7));
    EXPECT_EQ(paragraphs[7], lines[7] + lines[8]);
    EXPECT_EQ(paragraphs.size(), 18);

    EXPECT_TRUE(Form8->RichEdit1->isReadOnly());
    EXPECT_EQ(Form8->RichEdit1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Form8->RichEdit1->geometry(), QRect(203, 43, 436, 396));
    EXPECT_EQ(Form8->Image1->geometry(), QRect(7, 32, 189, 417));
}

// The text wraps at the box's width and the rest is reached with the wheel.
TEST_F(Shell, AboutTextWrapsAndScrolls) {
    Form8->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form8));
    QTextEdit* text = Form8->RichEdit1;
    EXPECT_LE(text->document()->size().width(), text->viewport()->width());
    int wrapped = 0;
    for (QTextBlock block = text->document()->firstBlock(); block.isValid(); block = block.next())
        wrapped += block.layout()->lineCount() > 1;
    EXPECT_GE(wrapped, 5);

    QScrollBar* bar = text->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    const QPointF inside(100, 100);
    QWheelEvent wheel(inside, text->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(text->viewport(), &wheel);
    EXPECT_GT(bar->value(), 0);
    bar->setValue(bar->maximum());
    EXPECT_EQ(text->cursorForPosition(QPoint(10, text->viewport()->height() - 5)).block(),
              text->document()->lastBlock());
    Form8->hide();
}

} // namespace
} // namespace korvo
