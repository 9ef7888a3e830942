// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/Unit2.h"

#include "ballistics/CaseAnalysisWindow.h"
#include "ballistics/ChartBitmap.h"
#include "ballistics/ReportActions.h"
#include "ballistics/RunReportPdf.h"
#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit3.h"
#include "ballistics/Unit4.h"
#include "ballistics/Unit5.h"
#include "ballistics/Unit6.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/RunChecks.h"
#include "chrome/Controls.h"
#include "chrome/Messages.h"
#include "export/TableExportXLS.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace korvo {

TForm2* Form2 = nullptr;

namespace {

const QString kArial = QStringLiteral("Arial");

// What a drop-down list needs beside its text: its frame, margins and arrow.
constexpr int kLawListArrowWidth = 28;
// The free row between the chart's bottom (438) and the table's top (456),
// ending where the table does; the law's caption keeps the gap a group
// caption keeps from the line it interrupts.
const QRect kLawPanelBox{QPoint(300, 439), QPoint(706, 455)};
constexpr int kLawPanelMargin = 3;

QFont NormalFont() {
    return WindowFont(kArial, 8);
}
QFont BoldFont() {
    return WindowFont(kArial, 8, true);
}

// The side windows are shown on top of this one; before start-up has made
// them (a window made on its own, as in tests) there is nothing to show.
void ShowSideWindow(TChromeWindow* window) {
    if (window)
        window->ShowModal();
}

} // namespace

TForm2::TForm2(QWidget* parent)
    : TChromeWindow(
          ChromeSettings{
              .windowTitle = QStringLiteral("Calculo de Trayectorias Reales (Tiro Parabolico Real)"),
              .stripText = QStringLiteral(
                  " Calculo de Trayectorias Reales (Considerando factores como: Resistencia del Aire "
                  "(Fricción), Altitud, Velocidad, Aceleración, Gravedad, etc.) "),
              .clientSize = {837, 549},
              .stripTextWidth = 777,
              .cerrarLeft = 813,
              .stripFontFamily = kArial,
              .move = TTitleStrip::Move::OnPress,
              .manualSection = QStringLiteral("trayectoria-real")},
          parent) {
    setObjectName(QStringLiteral("Form2"));
    setFont(NormalFont());
    BuildInputs();
    BuildDisplays();
    BindFields();
    // The core's texts, and "0" in "Xo:" and "Yo:", which it never reads.
    for (const auto& [field, text] : DefaultTrajectoryTexts())
        fields_.SetText(field, text);
    for (QLineEdit* field : {ValorXo, ValorYo})
        ShowText(field, QStringLiteral("0"));
    BuildChart();
    BuildTable();
    BuildLawChoice();
    BuildButtons();
    SetTabOrder();

    pacer_ = new TRunPacer(this, [this] { Timer1Timer(); });
    Timer1 = pacer_->Ticker();

    EnterState(RunState::Ready);
}

bool TForm2::event(QEvent* event) {
    // Children made in the constructor send events before the pacer exists.
    return (pacer_ && pacer_->HoldsUpdate(event)) || TChromeWindow::event(event);
}

TForm2::~TForm2() = default;

void TForm2::BuildInputs() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(6, 27, 229, 412);
    TabSheet1 = new QWidget();
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral(" Datos "));

    GroupBox1 = MakeGroup(TabSheet1, QStringLiteral("GroupBox1"),
                          QStringLiteral(" Introducir Valores Iniciales:"), {3, 0, 215, 162}, BoldFont());
    // The inputs' names, captions and unit labels are the core's table; where
    // each stands is the window's.
    struct Input {
        QLineEdit*& field;
        QRect box;
    };
    const Input inputs[kRunInputCount] = {
        {ValorConstanteProporcionalidad, {24, 19, 107, 18}},
        {VTiempoIteraciones, {24, 39, 47, 18}},
        {ValorMasa, {24, 59, 47, 18}},
        {ValorXo, {24, 78, 47, 18}},
        {ValorYo, {24, 97, 47, 18}},
        {ValorGrados, {24, 116, 47, 18}},
        {ValorVelocidadInicial, {24, 135, 47, 18}},
    };
    for (int i = 0; i < kRunInputCount; ++i) {
        const Input& input = inputs[i];
        const RunInputInfo& info = RunInputTable()[i];
        // Ends two pixels before its field, so that the caption does not touch it.
        MakeLabel(GroupBox1, QString::fromUtf8(info.Caption), {2, input.box.top() + 2, 20, 14}, NormalFont(),
                  Qt::AlignRight | Qt::AlignVCenter);
        input.field = MakeField(GroupBox1, QString::fromUtf8(info.FieldName), input.box, QString(),
                                NormalFont(), false);
        if (info.WindowUnit)
            MakeLabel(GroupBox1, QString::fromUtf8(info.WindowUnit),
                      {input.box.right() + 4, input.box.top() + 2, 100, 14}, NormalFont());
    }
    // D's unit stands nowhere beside it ("Calcular D" does).
    ValorConstanteProporcionalidad->setAccessibleDescription(QString::fromUtf8(RunInputOf(RunInput::D).Unit));
    const QColor black(Qt::black);
    CalcularD = MakeButton(GroupBox1, QStringLiteral("CalcularD"), QStringLiteral("Calcular &D"),
                           {134, 19, 74, 21}, BoldFont(), black);
    ConvertirMasa = MakeButton(GroupBox1, QStringLiteral("ConvertirMasa"), QStringLiteral("Calcular &M"),
                               {134, 58, 74, 21}, BoldFont(), black);
    ConvertirVelocidad =
        MakeButton(GroupBox1, QStringLiteral("ConvertirVelocidad"), QStringLiteral("&Convertir fts/s"),
                   {110, 134, 97, 21}, BoldFont(), black);
    connect(CalcularD, &QPushButton::clicked, this, &TForm2::CalcularDClick);
    connect(ConvertirMasa, &QPushButton::clicked, this, &TForm2::ConvertirMasaClick);
    connect(ConvertirVelocidad, &QPushButton::clicked, this, &TForm2::ConvertirVelocidadClick);
}

void TForm2::BuildLawChoice() {
    // The choice sits in the free row between the chart and the table, over
    // the right end of the table group's top line, as a second caption of the
    // group: beside "Iniciar &Proceso", above the table its numbers fill. Its
    // ground hides the line behind it; no designed control moves. The list is
    // as wide as its longest caption and its arrow need.
    const QFontMetrics metrics(NormalFont());
    PanelLeyArrastre = new QWidget(this);
    PanelLeyArrastre->setObjectName(QStringLiteral("PanelLeyArrastre"));
    PanelLeyArrastre->setAutoFillBackground(true);
    LeyArrastre = new QComboBox(PanelLeyArrastre);
    LeyArrastre->setObjectName(QStringLiteral("LeyArrastre"));
    LeyArrastre->setFont(NormalFont());
    LeyArrastre->setAccessibleName(QStringLiteral("Ley de arrastre"));
    int longest = 0;
    for (const DragLawNames& law : kDragLaws) {
        const QString caption = QString::fromUtf8(law.Caption);
        LeyArrastre->addItem(caption, QString::fromUtf8(law.OptionName));
        longest = std::max(longest, metrics.horizontalAdvance(caption));
    }
    const QString caption = QStringLiteral("Ley de arrastre:");
    const int captionWidth = QFontMetrics(BoldFont()).horizontalAdvance(caption);
    const int listWidth = longest + kLawListArrowWidth;
    EtiquetaLeyArrastre = MakeLabel(PanelLeyArrastre, QStringLiteral("&") + caption,
                                    {kLawPanelMargin, 0, captionWidth, kLawPanelBox.height()}, BoldFont());
    EtiquetaLeyArrastre->setObjectName(QStringLiteral("EtiquetaLeyArrastre"));
    EtiquetaLeyArrastre->setBuddy(LeyArrastre);
    LeyArrastre->setGeometry(kLawPanelMargin + captionWidth + 4, 0, listWidth, kLawPanelBox.height());
    const int width = LeyArrastre->geometry().right() + 1;
    PanelLeyArrastre->setGeometry(kLawPanelBox.right() + 1 - width, kLawPanelBox.top(), width,
                                  kLawPanelBox.height());
}

void TForm2::BuildDisplays() {
    struct Display {
        QLineEdit*& field;
        const char* name;
        const char* label;
        int left;
    };
    struct Group {
        const char* caption;
        int top;
        Display left;
        Display right;
        const char* unit;
    };
    const Group groups[] = {
        {" Valores Procesados - Vx y Vy: ",
         163,
         {ValorVx, "ValorVx", "Vx:", 28},
         {ValorVy, "ValorVy", "Vy:", 130},
         "m/s"},
        {" Valores Procesados - Aceleración: ",
         206,
         {ValorAx, "ValorAx", "Ax:", 28},
         {ValorAy, "ValorAy", "Ay:", 130},
         "m/s"},
        {" Valores Procesados - Velocidad: ",
         250,
         {ValorVFx, "ValorVFx", "VFx:", 28},
         {ValorVFy, "ValorVFy", "VFy:", 130},
         "m/s"},
        {"V. Procesados X y Y - Posición Act: ",
         294,
         {ValorX, "ValorX", "X:", 28},
         {ValorY, "ValorY", "Y:", 130},
         "m"},
    };
    int index = 2;
    for (const Group& group : groups) {
        QGroupBox* box = MakeGroup(TabSheet1, QStringLiteral("GroupBox%1").arg(index++),
                                   QString::fromUtf8(group.caption), {3, group.top, 215, 42}, BoldFont());
        for (const Display& display : {group.left, group.right}) {
            MakeLabel(box, QString::fromUtf8(display.label), {display.left - 26, 19, 24, 14}, NormalFont(),
                      Qt::AlignRight | Qt::AlignVCenter);
            display.field = MakeField(box, QString::fromUtf8(display.name), {display.left, 17, 52, 18},
                                      QString(), BoldFont(), true);
            MakeLabel(box, QString::fromUtf8(group.unit), {display.left + 55, 19, 24, 14}, NormalFont());
        }
    }

    QGroupBox* time = MakeGroup(TabSheet1, QStringLiteral("GroupBox%1").arg(index),
                                QStringLiteral(" Valor DeltaT Actual: "), {3, 338, 215, 42}, BoldFont());
    MakeLabel(time, QStringLiteral("DeltaT:"), {30, 19, 42, 14}, NormalFont(),
              Qt::AlignRight | Qt::AlignVCenter);
    TiempoTotal =
        MakeField(time, QStringLiteral("TiempoTotal"), {74, 17, 57, 18}, QString(), BoldFont(), true);
    MakeLabel(time, QStringLiteral("Segundos"), {134, 19, 60, 14}, NormalFont());
}

void TForm2::BuildChart() {
    const TrajectoryChart made = MakeRealTrajectoryChart(this, kRealTrajectoryChartBox);
    Chart1 = made.view;
    Series1 = made.series;
    chart_ = made.model;
    Chart1->setFocusPolicy(Qt::StrongFocus);
    Chart1->setAccessibleName(QStringLiteral("Gráfica de la trayectoria real"));
    Chart1->setAccessibleDescription(QStringLiteral(
        "Altura Y en metros contra distancia X en metros, un punto por paso, desde el punto de disparo "
        "hasta volver a la altura de disparo."));
    GuardarGrafico = new QAction(QStringLiteral("Guardar Grafico a Imagen BMP"), Chart1);
    GuardarGrafico->setObjectName(QStringLiteral("GuardarGrafico"));
    Chart1->addAction(GuardarGrafico);
    Chart1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(GuardarGrafico, &QAction::triggered, this, &TForm2::GuardarGraficoClick);
    InformeGrafico = new QAction(QStringLiteral("Generar Informe PDF"), Chart1);
    InformeGrafico->setObjectName(QStringLiteral("InformeGrafico"));
    Chart1->addAction(InformeGrafico);
    connect(InformeGrafico, &QAction::triggered, this, &TForm2::GenerarInformeClick);
    AddReportActions(this, Chart1, CaseFields);
}

void TForm2::BuildTable() {
    GroupBoxTabla =
        MakeGroup(this, QStringLiteral("GroupBoxTabla"), QStringLiteral(" Tabla de Valores Procesados: "),
                  {7, 442, 705, 103}, BoldFont());
    ListModel = new TrajectoryTableModel(this);
    ListView1 = MakeTrajectoryTableView(GroupBoxTabla, ListModel, {5, 14, 694, 84}, NormalFont());
    ListSource = std::make_unique<TrajectoryListSource>(ListView1, ListModel);
    ExportarExcel = new QAction(QStringLiteral("Exportar datos a Excel"), ListView1);
    ExportarExcel->setObjectName(QStringLiteral("ExportarExcel"));
    ListView1->addAction(ExportarExcel);
    ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(ExportarExcel, &QAction::triggered, this, &TForm2::ExportarExcelClick);
    InformeTabla = new QAction(QStringLiteral("Generar Informe PDF"), ListView1);
    InformeTabla->setObjectName(QStringLiteral("InformeTabla"));
    ListView1->addAction(InformeTabla);
    connect(InformeTabla, &QAction::triggered, this, &TForm2::GenerarInformeClick);
    AddReportActions(this, ListView1, CaseFields);
    // After both menus' report entries, so that no designed entry moves.
    AnalisisCaso = new QAction(QStringLiteral("Análisis del Caso..."), this);
    AnalisisCaso->setObjectName(QStringLiteral("AnalisisCaso"));
    AnalisisCaso->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    for (QWidget* owner :
         {static_cast<QWidget*>(Chart1), static_cast<QWidget*>(ListView1), static_cast<QWidget*>(this)})
        owner->addAction(AnalisisCaso);
    connect(AnalisisCaso, &QAction::triggered, this, &TForm2::AnalisisCasoClick);

    TableExportXLS1 = std::make_unique<TTableExportXLS>();
    SetUpTrajectoryExport(*TableExportXLS1, ListSource.get(), kTrajectoryWorkbookName);
    // Success is announced only for a workbook written whole: an export that
    // failed or stopped part-way also ends, but its error is what the user
    // must see, not a claim that the file was made.
    TableExportXLS1->OnEndExport = [this](TTableExport&, bool complete) {
        if (complete)
            ShowMessage(this, QStringLiteral("Archivo Generado Exitosamente"));
    };
    QHeaderView* header = ListView1->horizontalHeader();
    header->setFont(NormalFont());
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    for (int column = 0; column < TrajectoryTableModel::kColumnCount; ++column)
        header->resizeSection(column, TrajectoryTableModel::Columns()[column].width);
}

void TForm2::BuildButtons() {
    IniciarCalculos = MakeButton(this, QStringLiteral("IniciarCalculos"), QStringLiteral("Iniciar &Proceso"),
                                 {716, 448, 115, 23}, BoldFont(), QColor(0, 0, 128));
    Resultados = MakeButton(this, QStringLiteral("Resultados"), QStringLiteral("&Resultados"),
                            {716, 472, 115, 23}, BoldFont(), QColor(128, 0, 0));
    LimpiarDatos = MakeButton(this, QStringLiteral("LimpiarDatos"), QStringLiteral("Reiniciar &Valores"),
                              {716, 496, 115, 23}, BoldFont(), QColor(0, 128, 0));
    BitBtn1 = MakeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("&Salir"), {716, 520, 115, 23},
                         BoldFont(), QColor(Qt::black));
    connect(IniciarCalculos, &QPushButton::clicked, this, &TForm2::IniciarCalculosClick);
    connect(Resultados, &QPushButton::clicked, this, &TForm2::ResultadosClick);
    connect(LimpiarDatos, &QPushButton::clicked, this, &TForm2::LimpiarDatosClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
}

void TForm2::SetTabOrder() {
    QWidget* const order[] = {ValorConstanteProporcionalidad,
                              CalcularD,
                              VTiempoIteraciones,
                              ValorMasa,
                              ConvertirMasa,
                              ValorXo,
                              ValorYo,
                              ValorGrados,
                              ValorVelocidadInicial,
                              ConvertirVelocidad,
                              Chart1,
                              ListView1,
                              LeyArrastre,
                              IniciarCalculos,
                              Resultados,
                              LimpiarDatos,
                              BitBtn1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm2::EnterState(RunState state) {
    state_ = state;
    const bool ready = state == RunState::Ready;
    for (QPushButton* button : {CalcularD, ConvertirMasa, IniciarCalculos, ConvertirVelocidad})
        button->setEnabled(ready);
    LeyArrastre->setEnabled(ready);
    Resultados->setEnabled(state == RunState::Finished);
    InformeGrafico->setEnabled(state == RunState::Finished);
    InformeTabla->setEnabled(state == RunState::Finished);
}

void TForm2::CalcularDClick() {
    Guarded(this, [] { ShowSideWindow(Form3); });
}

void TForm2::ConvertirMasaClick() {
    Guarded(this, [] { ShowSideWindow(Form4); });
}

void TForm2::ConvertirVelocidadClick() {
    Guarded(this, [] { ShowSideWindow(Form5); });
}

void TForm2::ResultadosClick() {
    Guarded(this, [] { ShowSideWindow(Form6); });
}

void TForm2::AnalisisCasoClick() {
    Guarded(this, [] { ShowSideWindow(FormCaso); });
}

DragLaw TForm2::ChosenLaw() const {
    return DragLawNamed(ToStdString(LeyArrastre->currentData().toString())).value_or(DragLaw::Linear);
}

void TForm2::IniciarCalculosClick() {
    Guarded(this, [&] {
        // The input buttons go off before any input is read: a start that
        // fails part-way leaves the window Blocked until the reset.
        EnterState(RunState::Blocked);
        const DragLaw law = ChosenLaw();
        for (const RunInputInfo& input : RunInputTable())
            startInputs_.*input.Text =
                ToStdString(findChild<QLineEdit*>(QString::fromLatin1(input.FieldName))->text());
        startInputs_.Ley = law;
        trajectory_.Start(*this, law);
        pacer_->Start();
        EnterState(RunState::Running);
    });
}

void TForm2::Timer1Timer() {
    Guarded(this, [&] {
        try {
            trajectory_.Calcular(*this);
        } catch (...) {
            // The timer stops before the error is shown, so no further step
            // runs (and reports) behind the message box.
            DetenerProceso();
            EnterState(RunState::Blocked);
            throw;
        }
        if (trajectory_.GoesOn())
            return;
        DetenerProceso();
        EnterState(RunState::Finished);
        // A run stopped at the step limit keeps its rows and ends as Finished,
        // but says that the projectile never came down.
        ShowMessage(this, (trajectory_.Landed() ? QStringLiteral("Proceso Finalizado.")
                                                : QString::fromUtf8(kTrayectoriaSinFin)) +
                              QString::fromStdString(LargeStepNote(trajectory_)));
        if (isVisible())
            Resultados->setFocus();
    });
}

void TForm2::LimpiarDatosClick() {
    Guarded(this, [&] { ReiniciarValores(); });
}

void TForm2::DetenerProceso() {
    Timer1->stop();
}

void TForm2::ReiniciarValores() {
    // A reset during a run ends the run first: the next step would otherwise
    // read the cleared inputs and go on stepping into a table just emptied.
    DetenerProceso();
    EnterState(RunState::Ready);
    // Written as typed, with the cursor after the text.
    for (const auto& [field, text] : ResetTrajectoryTexts())
        fields_.Field(field)->setText(ToQString(text));
    for (QLineEdit* field : {ValorXo, ValorYo})
        field->setText(QStringLiteral("0"));
    trajectory_.ResetCounters();
    ListModel->Clear();
    chart_->Clear();
}

void TForm2::GuardarGraficoClick() {
    Guarded(this, [&] {
        SaveChartBitmap(kChartFileName);
        ShowMessage(this, QStringLiteral("Archivo Generado Exitosamente"));
    });
}

void TForm2::ExportarExcelClick() {
    Guarded(this, [&] {
        // The table's rows are those of the last run started; an empty table
        // has no law to state.
        SetTrajectoryExportLaw(*TableExportXLS1,
                               ListModel->rowCount() > 0 ? trajectory_.State().Ley : DragLaw::Linear);
        TableExportXLS1->Execute();
    });
}

void TForm2::GenerarInformeClick() {
    Guarded(this, [&] {
        if (state_ != RunState::Finished)
            return;
        SaveRunReport(kRunReportFileName);
        ShowMessage(this, QStringLiteral("Archivo Generado Exitosamente"));
    });
}

void TForm2::SaveRunReport(const QString& path) {
    chart_->Flush();
    const RunReportSource source{startInputs_,
                                 FinishedRunOf(trajectory_.State(), Text(TrajectoryField::X),
                                               Text(TrajectoryField::TiempoTotal), ListModel->Packed()),
                                 &ListModel->Packed(),
                                 Chart1->chart(),
                                 QDateTime::currentDateTime(),
                                 CaseFields};
    // The window keeps painting while the pages are written; the user's input
    // waits, so the table cannot be reset under the report.
    WriteRunReportPdf(path, source,
                      [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

void TForm2::SaveChartBitmap(const QString& path) const {
    chart_->Flush();
    WriteChartBitmap(*Chart1, path);
}

void TForm2::BindFields() {
    using F = TrajectoryField;
    fields_.Bind({{F::D, ValorConstanteProporcionalidad},
                  {F::T, VTiempoIteraciones},
                  {F::M, ValorMasa},
                  {F::Vo, ValorVelocidadInicial},
                  {F::Angulo, ValorGrados},
                  {F::X, ValorX},
                  {F::Y, ValorY},
                  {F::Vx, ValorVx},
                  {F::Vy, ValorVy},
                  {F::Ax, ValorAx},
                  {F::Ay, ValorAy},
                  {F::VFx, ValorVFx},
                  {F::VFy, ValorVFy},
                  {F::TiempoTotal, TiempoTotal}});
}

std::string TForm2::Text(TrajectoryField field) const {
    return fields_.Text(field);
}

void TForm2::SetText(TrajectoryField field, const std::string& text) {
    fields_.SetText(field, text);
}

void TForm2::AppendRow(const std::array<std::string, 10>& row) {
    ListModel->AppendRow(row);
}

void TForm2::AddChartPoint(double x, double y) {
    chart_->Add(x, y);
}

} // namespace korvo
