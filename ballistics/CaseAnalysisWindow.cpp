// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/CaseAnalysisWindow.h"

#include "ballistics/CaseReportPdf.h"
#include "ballistics/Unit2.h"
#include "ballistics/core/CaseTables.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/RunChecks.h"
#include "ballistics/core/TrajectoryFigures.h"
#include "chrome/Controls.h"
#include "chrome/Messages.h"

#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <thread>

namespace korvo {

TCaseAnalysisWindow* FormCaso = nullptr;

namespace {

const QString kArial = QStringLiteral("Arial");

QFont NormalFont() {
    return WindowFont(kArial, 8);
}
QFont BoldFont() {
    return WindowFont(kArial, 8, true);
}

// How often the window looks at the work: the progress bar's pace, and the
// most a finished or cancelled analysis waits to be shown.
constexpr int kPollMilliseconds = 20;

// How far below the window's thread the work runs (a nice value).
constexpr int kWorkNiceness = 4;

Real FieldNumber(const QLineEdit* field) {
    return ParseReal(ToStdString(field->text()));
}

} // namespace

// The analysis on its own thread. The window reads `Done` and `Progress`
// only; everything else is the thread's until `Done` is raised, and the
// window's once the thread has been joined.
struct TCaseAnalysisWindow::Work {
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Done{false};
    std::atomic<double> Progress{0};
    std::optional<CaseAnswer> Answer;
    bool Cancelled = false;
    std::string Error;
    std::thread Thread;

    void Start(const CaseQuestion& question, unsigned jobs) {
        Thread = std::thread([this, question, jobs] {
            // Below the window's thread, which then never waits for a core
            // behind the work; the analysis's own threads inherit it.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkNiceness);
            try {
                AnalysisOptions options{jobs, &Cancel, [this](double done) { Progress = done; }};
                Answer = AnalyzeCase(question, TrajectoryFigures, options);
            } catch (const AnalysisCancelled&) {
                Cancelled = true;
            } catch (const std::exception& error) {
                Error = error.what();
            } catch (...) {
                Error = "Unexpected error";
            }
            Done = true;
        });
    }

    ~Work() {
        Cancel = true;
        if (Thread.joinable())
            Thread.join();
    }
};

TCaseAnalysisWindow::TCaseAnalysisWindow(QWidget* parent)
    : TChromeWindow({.windowTitle = QStringLiteral("Análisis del Caso"),
                     .stripText = QStringLiteral("Análisis del Caso: banda sobre las tolerancias, mayor "
                                                 "alcance y ángulos para una distancia"),
                     .clientSize = {900, 540},
                     .stripTextWidth = 860,
                     .cerrarLeft = 877,
                     .stripFontFamily = kArial,
                     .manualSection = QStringLiteral("analisis-caso")},
                    parent),
      Jobs(std::max(1u, std::thread::hardware_concurrency())) {
    setObjectName(QStringLiteral("FormCaso"));
    setFont(NormalFont());
    BuildInputs();
    BuildTables();
    SetTabOrder();
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMilliseconds);
    connect(poll_, &QTimer::timeout, this, [this] { Guarded(this, [this] { Poll(); }); });
    SetRunning(false);
    Informe->setEnabled(false);
}

TCaseAnalysisWindow::~TCaseAnalysisWindow() = default;

void TCaseAnalysisWindow::BuildInputs() {
    QGroupBox* nominal =
        MakeGroup(this, QStringLiteral("GroupBoxNominal"),
                  QStringLiteral(" Valores Nominales (Trayectoria Real) "), {8, 27, 250, 152}, BoldFont());
    struct Display {
        const char* label;
        QLineEdit*& field;
        const char* name;
    };
    const Display displays[] = {{"D:", NominalD, "NominalD"},    {"T:", NominalT, "NominalT"},
                                {"M:", NominalM, "NominalM"},    {"Ángulo:", NominalAngulo, "NominalAngulo"},
                                {"Vo:", NominalVo, "NominalVo"}, {"Ley:", NominalLey, "NominalLey"}};
    int top = 18;
    for (const Display& d : displays) {
        MakeLabel(nominal, QString::fromUtf8(d.label), {4, top + 2, 40, 14}, NormalFont(),
                  Qt::AlignRight | Qt::AlignVCenter);
        d.field =
            MakeField(nominal, QString::fromUtf8(d.name), {48, top, 194, 18}, QString(), BoldFont(), true);
        top += 22;
    }

    QGroupBox* inputs =
        MakeGroup(this, QStringLiteral("GroupBoxTolerancias"),
                  QStringLiteral(" Tolerancias (±) y Datos del Caso "), {8, 184, 250, 166}, BoldFont());
    struct Input {
        const char* label;
        QLineEdit*& field;
        const char* name;
        const char* text;
        const char* unit;
    };
    const Input fields[] = {
        {"&D ±:", TolD, "TolD", "0", "kg/m"},
        {"&M ±:", TolM, "TolM", "0", "kg"},
        {"&Vo ±:", TolVo, "TolVo", "0", "m/s"},
        {"Án&gulo ±:", TolAngulo, "TolAngulo", "0", "grados"},
        {"Altura del disparo (&H):", Altura, "Altura", "0", "m"},
        {"Dis&tancia:", Distancia, "Distancia", "300", "m"},
    };
    top = 18;
    for (const Input& input : fields) {
        QLabel* label = MakeLabel(inputs, QString::fromUtf8(input.label), {4, top + 2, 128, 14}, NormalFont(),
                                  Qt::AlignRight | Qt::AlignVCenter);
        input.field = MakeField(inputs, QString::fromUtf8(input.name), {136, top, 64, 18},
                                QString::fromUtf8(input.text), NormalFont(), false);
        label->setBuddy(input.field);
        MakeLabel(inputs, QString::fromUtf8(input.unit), {204, top + 2, 42, 14}, NormalFont());
        top += 24;
    }

    Progreso = new QProgressBar(this);
    Progreso->setObjectName(QStringLiteral("Progreso"));
    Progreso->setGeometry(8, 356, 250, 18);
    Progreso->setRange(0, 1000);
    Progreso->setValue(0);
    Progreso->setTextVisible(false);
    Progreso->setAccessibleName(QStringLiteral("Progreso del análisis"));

    Calcular = MakeButton(this, QStringLiteral("Calcular"), QStringLiteral("&Calcular"), {8, 380, 122, 25},
                          BoldFont(), QColor(0, 0, 128));
    Cancelar = MakeButton(this, QStringLiteral("Cancelar"), QStringLiteral("Ca&ncelar"), {136, 380, 122, 25},
                          BoldFont(), QColor(128, 0, 0));
    Informe = MakeButton(this, QStringLiteral("Informe"), QStringLiteral("Generar &Informe PDF"),
                         {8, 410, 250, 25}, BoldFont(), QColor(0, 128, 0));
    Salir = MakeButton(this, QStringLiteral("Salir"), QStringLiteral("&Salir"), {8, 440, 250, 25}, BoldFont(),
                       QColor(Qt::black));
    connect(Calcular, &QPushButton::clicked, this, &TCaseAnalysisWindow::CalcularClick);
    connect(Cancelar, &QPushButton::clicked, this, &TCaseAnalysisWindow::CancelarClick);
    connect(Informe, &QPushButton::clicked, this, &TCaseAnalysisWindow::InformeClick);
    connect(Salir, &QPushButton::clicked, this, &QWidget::close);

    Estado = new QLabel(this);
    Estado->setObjectName(QStringLiteral("Estado"));
    Estado->setGeometry(8, 470, 250, 64);
    Estado->setWordWrap(true);
    Estado->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Estado->setFont(NormalFont());
}

void TCaseAnalysisWindow::BuildTables() {
    struct Table {
        const char* caption;
        QTableWidget*& widget;
        const char* name;
        int top, height;
    };
    const Table tables[] = {
        {" Banda sobre las tolerancias ", TablaBanda, "TablaBanda", 27, 172},
        {" Mayor alcance (0 a 90 grados) ", TablaLejano, "TablaLejano", 204, 96},
        {" Ángulos para la distancia ", TablaAngulos, "TablaAngulos", 305, 96},
    };
    for (const Table& t : tables) {
        QGroupBox* box = MakeGroup(this, QStringLiteral("GroupBox") + QString::fromUtf8(t.name),
                                   QString::fromUtf8(t.caption), {266, t.top, 626, t.height}, BoldFont());
        t.widget = new QTableWidget(box);
        t.widget->setObjectName(QString::fromUtf8(t.name));
        t.widget->setGeometry(5, 16, 616, t.height - 21);
        t.widget->setFont(NormalFont());
        t.widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t.widget->setSelectionBehavior(QAbstractItemView::SelectRows);
        t.widget->setTabKeyNavigation(false);
        t.widget->verticalHeader()->hide();
        t.widget->horizontalHeader()->setFont(NormalFont());
        t.widget->horizontalHeader()->setHighlightSections(false);
        t.widget->setAccessibleName(QString::fromUtf8(t.caption).trimmed());
    }
    auto* note = new QLabel(this);
    note->setObjectName(QStringLiteral("Metodo"));
    note->setGeometry(266, 408, 626, 126);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setFont(NormalFont());
    note->setText(QStringLiteral("Método de la banda: ") + QString::fromUtf8(kMetodoBanda) +
                  QStringLiteral(" La banda cubre las tolerancias dadas dentro de un modelo (la ley de "
                                 "arrastre indicada); no es una probabilidad."));
    ClearTables();
}

void TCaseAnalysisWindow::SetTabOrder() {
    QWidget* const order[] = {TolD,     TolM,    TolVo, TolAngulo,  Altura,      Distancia,   Calcular,
                              Cancelar, Informe, Salir, TablaBanda, TablaLejano, TablaAngulos};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

DragLaw TCaseAnalysisWindow::NominalLaw() const {
    // The law chosen in the real-trajectory window, as its other inputs are.
    return Form2 ? Form2->ChosenLaw() : DragLaw::Linear;
}

void TCaseAnalysisWindow::OnShowing() {
    Guarded(this, [&] {
        if (Form2) {
            ShowText(NominalD, Form2->ValorConstanteProporcionalidad->text());
            ShowText(NominalT, Form2->VTiempoIteraciones->text());
            ShowText(NominalM, Form2->ValorMasa->text());
            ShowText(NominalAngulo, Form2->ValorGrados->text());
            ShowText(NominalVo, Form2->ValorVelocidadInicial->text());
        }
        ShowText(NominalLey, QString::fromUtf8(DragLawCaption(NominalLaw())));
        if (!Running())
            TolD->setFocus();
    });
}

void TCaseAnalysisWindow::OnClosed() {
    // A closed window leaves no work behind it.
    if (work_)
        work_->Cancel = true;
}

bool TCaseAnalysisWindow::Running() const {
    return work_ != nullptr;
}

CaseQuestion TCaseAnalysisWindow::ReadQuestion(CaseRequestTexts& texts) const {
    texts = {};
    texts.D = ToStdString(NominalD->text());
    texts.T = ToStdString(NominalT->text());
    texts.M = ToStdString(NominalM->text());
    texts.Angulo = ToStdString(NominalAngulo->text());
    texts.Vo = ToStdString(NominalVo->text());
    texts.Ley = NominalLaw();
    CaseQuestion q;
    CaseInputs& n = q.Nominal;
    // In the order of the real-trajectory window's fields, each refused with
    // that window's message.
    n.D = FieldNumber(NominalD);
    if (n.D < 0)
        throw std::runtime_error(kDNegativo);
    n.T = FieldNumber(NominalT);
    n.M = FieldNumber(NominalM);
    if (n.M < 0)
        throw std::runtime_error(kMNegativo);
    n.Angulo = FieldNumber(NominalAngulo);
    n.Vo = FieldNumber(NominalVo);
    n.Ley = NominalLaw();
    CheckRunInputs(n.D, n.T, n.M, n.Vo);

    CaseTolerances& t = q.Tolerancias;
    t.D = FieldNumber(TolD);
    t.M = FieldNumber(TolM);
    t.Vo = FieldNumber(TolVo);
    t.Angulo = FieldNumber(TolAngulo);
    n.H = FieldNumber(Altura);
    if (!Distancia->text().trimmed().isEmpty())
        q.Distancia = FieldNumber(Distancia);
    CheckCaseQuestion(q);
    // The box's fastest-decaying corner must step as stably as the nominal case.
    CheckRunInputs(n.D + t.D, n.T, n.M - t.M, n.Vo + t.Vo);
    texts.TolD = ToStdString(TolD->text());
    texts.TolM = ToStdString(TolM->text());
    texts.TolVo = ToStdString(TolVo->text());
    texts.TolAngulo = ToStdString(TolAngulo->text());
    texts.Altura = ToStdString(Altura->text());
    texts.Distancia = ToStdString(Distancia->text());
    return q;
}

void TCaseAnalysisWindow::CalcularClick() {
    Guarded(this, [&] {
        if (Running())
            return;
        OnShowing(); // the real-trajectory window's inputs as they are now
        CaseRequestTexts texts;
        const CaseQuestion question = ReadQuestion(texts);
        ClearTables();
        answer_.reset();
        Informe->setEnabled(false);
        question_ = question;
        texts_ = texts;
        work_ = std::make_unique<Work>();
        work_->Start(question_, Jobs);
        Estado->setText(QStringLiteral("Calculando..."));
        SetRunning(true);
        poll_->start();
    });
}

void TCaseAnalysisWindow::CancelarClick() {
    if (work_) {
        work_->Cancel = true;
        Cancelar->setEnabled(false);
        Estado->setText(QStringLiteral("Cancelando..."));
    }
}

void TCaseAnalysisWindow::Poll() {
    if (!work_)
        return;
    Progreso->setValue(static_cast<int>(work_->Progress.load() * 1000));
    if (work_->Done)
        Finish();
}

void TCaseAnalysisWindow::Finish() {
    poll_->stop();
    work_->Thread.join();
    const std::unique_ptr<Work> work = std::move(work_);
    SetRunning(false);
    if (work->Answer) {
        answer_ = std::move(work->Answer);
        Progreso->setValue(1000);
        ShowAnswer();
        Informe->setEnabled(true);
        return;
    }
    Progreso->setValue(0);
    if (work->Cancelled) {
        Estado->setText(QString::fromUtf8(kAnalisisCancelado));
        return;
    }
    Estado->clear();
    ReportError(this, QString::fromStdString(work->Error));
}

void TCaseAnalysisWindow::SetRunning(bool running) {
    Calcular->setEnabled(!running);
    Cancelar->setEnabled(running);
    if (running)
        Informe->setEnabled(false);
    if (!running && isVisible() && (focusWidget() == Cancelar || !focusWidget()))
        Calcular->setFocus();
}

void TCaseAnalysisWindow::ClearTables() {
    ShowCaseTable(
        TablaBanda,
        {{"Magnitud", "Mínimo", "Nominal", "Máximo", "Entradas del mínimo", "Entradas del máximo"}, {}, {}});
    ShowCaseTable(TablaLejano, {{"Entradas", "Ángulo (grados)", "Alcance (m)", "Datos que lo dan"}, {}, {}});
    ShowCaseTable(TablaAngulos, {{"Rama", "Ángulo (grados)", "Mínimo (grados)", "Máximo (grados)",
                                  "Tiempo de vuelo (s)", "Velocidad de impacto (m/s)"},
                                 {},
                                 {}});
}

void TCaseAnalysisWindow::ShowAnswer() {
    const CaseAnswer& a = *answer_;
    QStringList notes;
    if (a.Banda) {
        const CaseTable table = BandTable(*a.Banda);
        ShowCaseTable(TablaBanda, table);
        if (!table.Note.empty())
            notes << QString::fromStdString(table.Note);
    }
    if (a.Lejano)
        ShowCaseTable(TablaLejano, FarthestTable(*a.Lejano));
    if (a.Angulos) {
        const CaseTable table = AnglesTable(*a.Angulos);
        ShowCaseTable(TablaAngulos, table);
        if (!table.Note.empty())
            notes << QString::fromStdString(table.Note);
    }
    notes.prepend(QStringLiteral("Ley de arrastre: %1. %2 trayectorias calculadas.")
                      .arg(QString::fromUtf8(DragLawCaption(question_.Nominal.Ley)))
                      .arg(a.Trayectorias));
    Estado->setText(notes.join(u' '));
}

void TCaseAnalysisWindow::InformeClick() {
    Guarded(this, [&] {
        if (!answer_ || Running())
            return;
        SaveCaseReport(kCaseReportFileName);
        ShowMessage(this, QStringLiteral("Archivo Generado Exitosamente"));
    });
}

void TCaseAnalysisWindow::SaveCaseReport(const QString& path) const {
    if (!answer_)
        return;
    WriteCaseReportPdf(path, {texts_, question_, *answer_, QDateTime::currentDateTime(),
                              Form2 ? Form2->CaseFields : RunCaseFields{}});
}

void ShowCaseTable(QTableWidget* widget, const CaseTable& table) {
    widget->clear();
    widget->setColumnCount(static_cast<int>(table.Header.size()));
    widget->setRowCount(static_cast<int>(table.Rows.size()));
    QStringList header;
    for (const std::string& caption : table.Header)
        header << QString::fromStdString(caption);
    widget->setHorizontalHeaderLabels(header);
    for (int r = 0; r < widget->rowCount(); ++r)
        for (int c = 0; c < widget->columnCount(); ++c) {
            const std::string& text = table.Rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(QString::fromStdString(text));
            // Numbers to the right, words and input sets to the left.
            const bool number =
                c > 0 && !text.empty() &&
                (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text == "—");
            if (number)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(QString::fromStdString(text));
            widget->setItem(r, c, item);
        }
    widget->resizeColumnsToContents();
    widget->resizeRowsToContents();
}

} // namespace korvo
