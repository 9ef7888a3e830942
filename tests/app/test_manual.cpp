// SPDX-License-Identifier: GPL-3.0-or-later

// The manual built into the program: it lists every message the code can show,
// its pictures are in the program and have the sizes of their windows, and F1
// opens it at the section of the window it is pressed in.
#include "GuiTest.h"
#include "app/MessageScan.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit8.h"
#include "ballistics/CaseAnalysisWindow.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit3.h"
#include "ballistics/Unit4.h"
#include "ballistics/Unit5.h"
#include "ballistics/Unit6.h"
#include "ballistics/Unit7.h"
#include "ballistics/core/Calculators.h"
#include "chrome/HelpWindow.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSizeGrip>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <set>

namespace korvo {
namespace {

QString ManualHtml() {
    QFile file(QStringLiteral(":/docs/manual.html"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "the manual is not in the program's resources";
    return QString::fromUtf8(file.readAll());
}

// The plain text of the manual's list of messages, blanks collapsed.
std::string MessageList() {
    const QString html = ManualHtml();
    const qsizetype begin = html.indexOf(QStringLiteral("name=\"mensajes\""));
    EXPECT_GE(begin, 0) << "the manual has no section \"mensajes\"";
    const qsizetype end = html.indexOf(QStringLiteral("<h2"), begin);
    QTextDocument list;
    list.setHtml(html.mid(begin, end < 0 ? -1 : end - begin).prepend(u'<'));
    return test::CollapseBlanks(list.toPlainText().toStdString());
}

std::vector<test::FoundMessage> ProgramMessages() {
    test::MessageScanner scanner;
    // The program's sources; tests, benchmarks and the build-time tools show no message boxes.
    scanner.AddTree(KORVO_SOURCE_DIR, {"tests", "bench", "build", "docs", "cmake", "scripts"},
                    {"Screenshot.cpp", "IconTool.cpp"});
    return scanner.Collect();
}

TEST(Manual, ListsEveryMessageTheProgramCanShow) {
    test::Application();
    const std::vector<test::FoundMessage> found = ProgramMessages();
    const std::string list = MessageList();
    std::set<std::string> pieces;
    for (const test::FoundMessage& message : found) {
        pieces.insert(message.piece);
        EXPECT_NE(list.find(message.piece), std::string::npos)
            << message.where << ": the manual's list of messages lacks «" << message.piece << "»";
    }
    // The help boxes are built line by line; the manual names each by its first line.
    for (std::string (*help)() : {&AyudaDensidadAire, &AyudaCoeficienteArrastre, &AyudaRadioProyectil,
                                  &AyudaValorPi, &AyudaConvertirPeso}) {
        const std::string text = help();
        // Up to its first comma: the mass converter's help is named by its opening words.
        const std::size_t comma = text.find(',');
        const std::string first =
            text.substr(0, std::min(text.find('\n'), comma == std::string::npos ? comma : comma + 1));
        ASSERT_FALSE(first.empty());
        EXPECT_NE(list.find(first), std::string::npos)
            << "the manual's list lacks the help box «" << first << "»";
    }
    // The scan itself must see the messages of every part of the program.
    for (const char* known :
         {"Proceso Finalizado.", "Archivo Generado Exitosamente", "' is not a valid floating point value",
          "' is not a valid integer value", "Result file name not present", "Expression contains no data",
          "Error writing output file", "Unexpected error"})
        EXPECT_EQ(pieces.count(known), 1u) << "the scan missed «" << known << "»";
}

TEST(Manual, TheScanFindsANewMessageInEveryForm) {
    test::MessageScanner scanner;
    scanner.AddSource("new.cpp", R"(
        inline constexpr const char* kNuevo = "Texto nuevo";
        inline constexpr const char* SNuevoEvaluador = "Evaluador %s nuevo";
        std::string LoadMessage(int number) { switch (number) { case 34099: return "Entrada numerada"; } }
        void F() {
            // throw std::runtime_error("solo un comentario");
            ShowMessage(this, QStringLiteral("Aviso nuevo"));
            throw std::runtime_error("'" + text + "' con %s hueco; " + std::to_string(n));
            throw std::runtime_error(kNuevo + name);
            RaiseMessage(34099, {name});
        })");
    std::set<std::string> pieces;
    for (const test::FoundMessage& message : scanner.Collect())
        pieces.insert(message.piece);
    const std::set<std::string> expected{"Texto nuevo", "Evaluador", "nuevo",           "Aviso nuevo",
                                         "' con",       "hueco;",    "Entrada numerada"};
    EXPECT_EQ(pieces, expected);
}

// A reader types the manual's numbers into fields that, under es_ES, refuse
// "0.01": its prose writes the decimal comma. What is typed literally (command
// lines, messages, a text under a "." setting) stands in <code>, as typed; the
// version name "v1.0" is the about window's own text.
TEST(Manual, ProseWritesNumbersWithTheDecimalComma) {
    test::Application();
    QString prose = ManualHtml();
    prose.remove(QRegularExpression(QStringLiteral("<code>.*?</code>"),
                                    QRegularExpression::DotMatchesEverythingOption));
    prose.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    prose.remove(QStringLiteral("K.O.R.V.O. v1.0"));
    const QRegularExpression dotted(QStringLiteral(".{0,30}\\d\\.\\d.{0,30}"));
    for (auto it = dotted.globalMatch(prose); it.hasNext();)
        ADD_FAILURE() << "a number with a decimal point: «" << it.next().captured().toStdString() << "»";
    // The convention itself is said, with the way to type under a "." setting.
    EXPECT_TRUE(ManualHtml().contains(QStringLiteral("escríbalos con punto")));
}

// The manual's pictures are in the program and have the sizes of the windows
// they show, so a window that changes its size cannot keep an old picture.
TEST(Manual, PicturesAreBuiltInAndHaveTheirWindowsSizes) {
    test::Application();
    CreateWindows();
    const struct {
        const char* file;
        QWidget* window;
    } pictures[] = {{"main-window.png", Form1},        {"real-trajectory.png", Form2},
                    {"drag-constant.png", Form3},      {"mass-converter.png", Form4},
                    {"velocity-converter.png", Form5}, {"results.png", Form6},
                    {"ideal-trajectory.png", Form7},   {"about.png", Form8}};
    const QString html = ManualHtml();
    for (const auto& picture : pictures) {
        const QString name = QString::fromLatin1(picture.file);
        EXPECT_TRUE(html.contains(QStringLiteral("src=\"%1\"").arg(name))) << picture.file;
        const QImage image(QStringLiteral(":/docs/") + name);
        ASSERT_FALSE(image.isNull()) << picture.file << " is not in the program";
        EXPECT_EQ(image.size(), picture.window->size()) << picture.file << ": run scripts/manual-pictures";
        // And sharp on a screen that doubles its pixels.
        const QImage doubled(QStringLiteral(":/docs/") + QString(name).replace(".png", "@2x.png"));
        EXPECT_EQ(doubled.size(), picture.window->size() * 2)
            << picture.file << ": run scripts/manual-pictures";
        EXPECT_FALSE(html.contains(QStringLiteral("src=\"%1\" width").arg(name)))
            << picture.file << " is shrunk";
    }
    // And the manual shows no picture that the program lacks.
    const QRegularExpression source(QStringLiteral("src=\"([^\"]+)\""));
    for (auto it = source.globalMatch(html); it.hasNext();) {
        const QString file = it.next().captured(1);
        EXPECT_FALSE(QImage(QStringLiteral(":/docs/") + file).isNull()) << file.toStdString();
    }
    DestroyWindows();
}

// F1 in a window opens the manual at that window's section, scrolled there.
TEST(Manual, F1OpensTheManualAtTheWindowsSection) {
    test::Application();
    CreateWindows();
    const QString html = ManualHtml();
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    const struct {
        QWidget* window;
        const char* anchor;
    } cases[] = {{Form1, "ventana-principal"},
                 {Form2, "trayectoria-real"},
                 {Form7, "trayectoria-ideal"},
                 {Form3, "constante-d"},
                 {FormCaso, "analisis-caso"}};
    for (const auto& c : cases) {
        if (auto* chrome = qobject_cast<TChromeWindow*>(c.window))
            chrome->ShowModal();
        ASSERT_TRUE(QTest::qWaitForWindowActive(c.window)) << c.anchor;
        QTest::keyClick(c.window->windowHandle(), Qt::Key_F1);
        THelpWindow* manual = ManualWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(manual)) << c.anchor;
        EXPECT_EQ(manual->Browser->source().fragment(), QString::fromLatin1(c.anchor));
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(QString::fromLatin1(c.anchor))));
        // Scrolled down to the section: every one of these lies below the top.
        EXPECT_GT(manual->Browser->verticalScrollBar()->value(), 0) << c.anchor;
        EXPECT_TRUE(manual->Browser->isReadOnly());
        QTest::keyClick(manual->windowHandle(), Qt::Key_Escape);
        EXPECT_FALSE(manual->isVisible()) << "Esc closes the manual";
        if (c.window != Form1)
            c.window->close();
    }
    Form1->hide();
    DestroyWindows();
}

// The manual opens beside the window it explains, never centred over it.
TEST(Manual, OpensBesideTheWindowItExplains) {
    const QSize manual(900, 640);
    const QRect wide(0, 0, 1920, 1080), narrow(0, 0, 1280, 1024);
    const struct {
        QRect screen, window;
        QSize size;
        QPoint at;
    } cases[] = {
        {wide, {100, 100, 743, 539}, manual, {851, 100}},   // to its right
        {wide, {1100, 100, 743, 539}, manual, {192, 100}},  // no room there: to its left
        {narrow, {268, 242, 743, 539}, manual, {380, 242}}, // room on neither side: the screen's edge
        {narrow, {700, 242, 500, 300}, manual, {0, 242}},   // ... on the side with more room
        {narrow, {0, 900, 300, 100}, manual, {308, 384}},   // kept on the screen
        {narrow, {0, 0, 1280, 1024}, {1400, 1100}, {0, 0}}, // larger than the screen: its top left
        {{1280, 0, 1920, 1080}, {1400, 50, 400, 300}, manual, {1808, 50}}, // a second screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceBeside(c.window, c.size, c.screen), c.at)
            << c.window.x() << "," << c.window.y() << " on " << c.screen.width();
}

// The manual stays usable beside a window that waits for its answer: it takes
// keys while the drag-constant window is open, can be resized, and keeps its
// size for the next session.
TEST(Manual, IsAWindowBesideTheOthersThatKeepsItsSize) {
    test::Application();
    // As at a first session: no size kept, no manual window made yet.
    QSettings(QStringLiteral("Korvatek"), QStringLiteral("KORVO")).remove(QStringLiteral("manual/size"));
    delete ManualWindow();
    CreateWindows();
    Form2->ShowModal();
    Form3->ShowModal();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form3));
    QTest::keyClick(Form3->windowHandle(), Qt::Key_F1);
    THelpWindow* manual = ManualWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(manual));
    EXPECT_EQ(manual->windowModality(), Qt::NonModal);
    EXPECT_TRUE(Form3->isVisible());
    QScrollBar* scroll = manual->Browser->verticalScrollBar();
    const int at = scroll->value();
    QTest::keyClick(manual->windowHandle(), Qt::Key_End);
    EXPECT_GT(scroll->value(), at) << "the open window blocks the manual";

    // At its first size, within the screen (this one is smaller than that size),
    // its close glyph and its grip in reach.
    const QRect screen = manual->screen()->availableGeometry();
    EXPECT_EQ(manual->size(), THelpWindow::kDefaultSize.boundedTo(screen.size()));
    EXPECT_TRUE(screen.contains(manual->Cerrar->geometry().translated(manual->pos())));
    EXPECT_TRUE(screen.contains(manual->Grip->geometry().translated(manual->pos())));
    // And at that size every picture is shown whole, with no scrolling sideways.
    manual->resize(THelpWindow::kDefaultSize);
    EXPECT_EQ(manual->Browser->horizontalScrollBar()->maximum(), 0) << "a picture is cut at the right";

    // Resized, the text reflows and the reader stays at the line at the top.
    manual->ShowSection(QStringLiteral("trayectoria-real"));
    const auto topLine = [&] {
        const QTextCursor at = manual->Browser->cursorForPosition(QPoint(0, 0));
        return at.block().text().left(40).toStdString();
    };
    const std::string reading = topLine();
    manual->resize(1200, 700);
    EXPECT_EQ(topLine(), reading);
    EXPECT_EQ(manual->Browser->size(), QSize(1198, 677));
    EXPECT_EQ(manual->Cerrar->x(), 1178);
    manual->close();
    delete manual;
    THelpWindow next;
    EXPECT_EQ(next.size(), QSize(1200, 700));
    next.resize(THelpWindow::kDefaultSize);
    next.close();
    Form3->close();
    Form2->close();
    DestroyWindows();
}

} // namespace
} // namespace korvo
