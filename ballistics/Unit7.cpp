// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/Unit7.h"

#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/TrajectoryTableModel.h"
#include "chrome/Controls.h"
#include "chrome/Messages.h"
#include "parser/MathParser.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

namespace korvo {

TForm7* Form7 = nullptr;

namespace {

const QString kArial = QStringLiteral("Arial");
const QString kTitle =
    QStringLiteral("Calculo de Trayectorias Ideales (Despreciando factores externos que afectan el vuelo)");

QFont NormalFont() {
    return WindowFont(kArial, 8);
}
QFont BoldFont() {
    return WindowFont(kArial, 8, true);
}

} // namespace

TForm7::TForm7(QWidget* parent)
    : TChromeWindow({.windowTitle = kTitle,
                     .stripText = kTitle,
                     .clientSize = {743, 543},
                     .stripTextWidth = 504,
                     .cerrarLeft = 721,
                     .stripFontFamily = kArial,
                     .manualSection = QStringLiteral("trayectoria-ideal")},
                    parent),
      MathParser1(std::make_unique<TMathParser>()),
      plot_([this](const std::string& formula) { return Evaluate(formula); }) {
    setObjectName(QStringLiteral("Form7"));
    setFont(NormalFont());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 26, 211, 510);
    TabSheet1 = new QWidget();
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Datos Iniciales"));
    TabSheet2 = new QWidget();
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Coordenadas"));

    BuildInputs();
    BuildResults();
    BuildPlotControls();
    BuildTable();
    BuildChart();
    BindFields();

    pacer_ = new TRunPacer(this, [this] { Timer1Timer(); });
    Timer1 = pacer_->Ticker();

    connect(CalcularResultados, &QPushButton::clicked, this, &TForm7::CalcularResultadosClick);
    connect(Graficar, &QPushButton::clicked, this, &TForm7::GraficarClick);
    connect(Limpiar, &QPushButton::clicked, this, &TForm7::LimpiarClick);

    FormCreate();
}

TForm7::~TForm7() = default;

bool TForm7::event(QEvent* event) {
    // Children made in the constructor send events before the pacer exists.
    return (pacer_ && pacer_->HoldsUpdate(event)) || TChromeWindow::event(event);
}

void TForm7::BuildInputs() {
    GroupBox1 = MakeGroup(TabSheet1, QStringLiteral("GroupBox1"), QStringLiteral(" Datos Iniciales "),
                          {4, 2, 196, 113}, BoldFont());
    struct Input {
        const char* label;
        QLineEdit*& field;
        const char* name;
        int top;
        const char* defaultText;
        const char* unit;
    };
    const Input inputs[] = {
        {"Velocidad Inicial:", VelocidadInicial, "VelocidadInicial", 14, "340", "m/s"},
        {"Angulo de Disparo:", Angulo, "Angulo", 33, "78", "°"},
        {"Altura del Disparo (Y):", AlturaDisparo, "AlturaDisparo", 52, "0", "Metros"},
        {"Distancia Disparo (X):", DistanciaDisparo, "DistanciaDisparo", 71, "0", "Metros"},
        {"Intervalo de Iteraciones:", IntervaloIteraciones, "IntervaloIteraciones", 90, "50", nullptr},
    };
    for (const Input& input : inputs) {
        MakeLabel(GroupBox1, QString::fromUtf8(input.label), {4, input.top + 2, 116, 14}, NormalFont(),
                  Qt::AlignRight | Qt::AlignVCenter);
        input.field = MakeField(GroupBox1, QString::fromUtf8(input.name), {123, input.top, 31, 18},
                                QString::fromUtf8(input.defaultText), NormalFont(), false);
        if (input.unit)
            MakeLabel(GroupBox1, QString::fromUtf8(input.unit), {157, input.top + 2, 0, 0}, NormalFont());
    }
    // The keyboard visits the interval before the launch distance.
    setTabOrder(VelocidadInicial, Angulo);
    setTabOrder(Angulo, AlturaDisparo);
    setTabOrder(AlturaDisparo, IntervaloIteraciones);
    setTabOrder(IntervaloIteraciones, DistanciaDisparo);
}

void TForm7::BuildResults() {
    GroupBox2 = MakeGroup(TabSheet1, QStringLiteral("GroupBox2"), QStringLiteral(" Calculos Obtenidos "),
                          {4, 116, 196, 142}, BoldFont());
    struct Display {
        const char* label;
        QLineEdit*& field;
        const char* name;
        int top;
        const char* unit;
    };
    const Display displays[] = {
        {"Tiempo Altura Max:", TAlturaMaxima, "TAlturaMaxima", 18, "seg."},
        {"T. Caida Altura Max:", TCaida, "TCaida", 38, "seg."},
        {"Tiempo T. de Vuelo:", TTVuelo, "TTVuelo", 58, "seg."},
        {"Altura Maxima:", AlturaMax, "AlturaMax", 78, "m."},
        {"Alcance Maximo:", AlcanceMax, "AlcanceMax", 98, "m."},
        {"Vel. Final al Impacto:", VFinalImpacto, "VFinalImpacto", 118, "m/s"},
    };
    // "Vel. Final al Impacto:" is wider in the substituted font than the
    // 100-pixel caption column, and growing it to the left would put it on the
    // group's frame; the display and unit columns sit 3 pixels further right.
    const int shift = 3;
    for (const Display& display : displays) {
        MakeLabel(GroupBox2, QString::fromUtf8(display.label), {2, display.top + 2, 100 + shift, 14},
                  NormalFont(), Qt::AlignRight | Qt::AlignVCenter);
        display.field =
            MakeField(GroupBox2, QString::fromUtf8(display.name), {104 + shift, display.top, 53, 18},
                      QStringLiteral("0"), BoldFont(), true, QColor(255, 239, 196));
        MakeLabel(GroupBox2, QString::fromUtf8(display.unit), {160 + shift, display.top + 2, 0, 0},
                  NormalFont());
    }
}

void TForm7::BuildPlotControls() {
    GroupBox3 = MakeGroup(TabSheet1, QStringLiteral("GroupBox3"), QStringLiteral(" Calculo para X "),
                          {4, 259, 196, 57}, BoldFont());
    CalcularX =
        MakeField(GroupBox3, QStringLiteral("CalcularX"), {5, 14, 182, 18}, QString(), NormalFont(), true);
    ResultadoX = MakeField(GroupBox3, QStringLiteral("ResultadoX"), {5, 34, 121, 18}, QStringLiteral("0"),
                           BoldFont(), true);
    GroupBox4 = MakeGroup(TabSheet1, QStringLiteral("GroupBox4"), QStringLiteral(" Calculo para Y "),
                          {5, 318, 196, 57}, BoldFont());
    CalcularY =
        MakeField(GroupBox4, QStringLiteral("CalcularY"), {5, 14, 182, 18}, QString(), NormalFont(), true);
    ResultadoY = MakeField(GroupBox4, QStringLiteral("ResultadoY"), {5, 34, 121, 18}, QStringLiteral("0"),
                           BoldFont(), true);
    // No caption stands beside these: the frame's caption names the pair.
    CalcularX->setAccessibleName(QStringLiteral("Calculo para X: fórmula"));
    ResultadoX->setAccessibleName(QStringLiteral("Calculo para X: valor"));
    ResultadoX->setAccessibleDescription(QStringLiteral("m"));
    CalcularY->setAccessibleName(QStringLiteral("Calculo para Y: fórmula"));
    ResultadoY->setAccessibleName(QStringLiteral("Calculo para Y: valor"));
    ResultadoY->setAccessibleDescription(QStringLiteral("m"));

    CalcularResultados = MakeButton(TabSheet1, QStringLiteral("CalcularResultados"),
                                    QStringLiteral("&Calcular"), {4, 378, 80, 26}, BoldFont());
    Graficar = MakeButton(TabSheet1, QStringLiteral("Graficar"), QStringLiteral("&Generar Grafica"),
                          {88, 378, 112, 26}, BoldFont());
    Limpiar = MakeButton(TabSheet1, QStringLiteral("Limpiar"), QStringLiteral("&Limpiar Datos"),
                         {4, 406, 196, 26}, BoldFont());

    MakeSeparator(TabSheet1, 434)->setGeometry(4, 434, 196, 2);
    MakeLabel(TabSheet1, QStringLiteral("Calculos Realizados:"), {10, 442, 114, 16}, NormalFont(),
              Qt::AlignRight | Qt::AlignVCenter);
    Items = MakeField(TabSheet1, QStringLiteral("Items"), {128, 441, 60, 18}, QStringLiteral("0"), BoldFont(),
                      true, Qt::black);
    QPalette palette = Items->palette();
    palette.setColor(QPalette::Text, Qt::yellow);
    Items->setPalette(palette);
    MakeLabel(TabSheet1, QStringLiteral("Tiempo Transcurridos:"), {10, 461, 114, 16}, NormalFont(),
              Qt::AlignRight | Qt::AlignVCenter);
    TiempoTranscurrido = MakeField(TabSheet1, QStringLiteral("TiempoTranscurrido"), {128, 461, 60, 18},
                                   QStringLiteral("0"), BoldFont(), true, QColor(205, 228, 248));
}

void TForm7::BuildTable() {
    ListModel = new TIdealTableModel(this);
    ListView1 = MakeTrajectoryTableView(TabSheet2, ListModel, {1, 4, 202, 474}, NormalFont());
    ListView1->setContextMenuPolicy(Qt::NoContextMenu);
    for (int column = 0; column < 3; ++column)
        ListView1->setColumnWidth(column, 58);
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Base, QColor(244, 245, 247));
    ListView1->setPalette(palette);
}

void TForm7::BuildChart() {
    const TrajectoryChart made = MakeTrajectoryChart(this, {218, 25, 519, 512});
    Chart1 = made.view;
    Series1 = made.series;
    chart_ = made.model;
    Chart1->chart()->setBackgroundVisible(false);
    Chart1->setContextMenuPolicy(Qt::NoContextMenu);
    Chart1->setAccessibleName(QStringLiteral("Gráfica de la trayectoria ideal"));
    Chart1->setAccessibleDescription(QStringLiteral(
        "Altura Y en metros contra distancia X en metros en el vacío, un punto por intervalo de "
        "iteraciones, hasta el tiempo de vuelo."));
}

int TForm7::ChartPointCount() const {
    return chart_->Count();
}

void TForm7::FormCreate() {
    ClearChart();
    Graficar->setEnabled(false);
}

void TForm7::CalcularResultadosClick() {
    Guarded(this, [&] {
        calculator_.CalcularResultados(*this);
        calculatedLaunch_ = LaunchTexts();
        CalcularResultados->setEnabled(false);
        Graficar->setEnabled(true);
    });
}

std::array<QString, 2> TForm7::LaunchTexts() const {
    return {VelocidadInicial->text(), Angulo->text()};
}

void TForm7::GraficarClick() {
    Guarded(this, [&] {
        if (LaunchTexts() != calculatedLaunch_) {
            // Back to where "&Calcular" is the next step.
            Graficar->setEnabled(false);
            CalcularResultados->setEnabled(true);
            ShowMessage(this, QString::fromUtf8(kDatosCambiados));
            return;
        }
        CalcularResultados->setEnabled(false);
        plot_.GraficarClick(*this);
        pacer_->Start();
        Graficar->setEnabled(false);
    });
}

void TForm7::Timer1Timer() {
    Guarded(this, [&] {
        bool goesOn = false;
        try {
            goesOn = plot_.Timer1Timer(*this, calculator_.State());
        } catch (...) {
            // Stopped before the report, so that a failing plot ends here and
            // is reported once instead of at every tick.
            Timer1->stop();
            throw;
        }
        if (!goesOn)
            Timer1->stop();
    });
}

void TForm7::LimpiarClick() {
    Guarded(this, [&] {
        // A plot still running would pick up the cleared fields at its next tick.
        Timer1->stop();
        plot_.ReiniciarValores(*this);
        Graficar->setEnabled(false);
        CalcularResultados->setEnabled(true);
        VelocidadInicial->setFocus();
    });
}

double TForm7::Evaluate(const std::string& formula) {
    MathParser1->Parse(formula);
    return MathParser1->Evaluate();
}

// The view the calculator and the plot work through.

void TForm7::BindFields() {
    using F = IdealField;
    fields_.Bind({{F::VelocidadInicial, VelocidadInicial},
                  {F::Angulo, Angulo},
                  {F::AlturaDisparo, AlturaDisparo},
                  {F::DistanciaDisparo, DistanciaDisparo},
                  {F::IntervaloIteraciones, IntervaloIteraciones},
                  {F::TAlturaMaxima, TAlturaMaxima},
                  {F::TCaida, TCaida},
                  {F::TTVuelo, TTVuelo},
                  {F::AlturaMax, AlturaMax},
                  {F::AlcanceMax, AlcanceMax},
                  {F::VFinalImpacto, VFinalImpacto},
                  {F::Items, Items},
                  {F::TiempoTranscurrido, TiempoTranscurrido},
                  {F::CalcularX, CalcularX},
                  {F::ResultadoX, ResultadoX},
                  {F::CalcularY, CalcularY},
                  {F::ResultadoY, ResultadoY}});
}

std::string TForm7::Text(IdealField field) const {
    return fields_.Text(field);
}

void TForm7::SetText(IdealField field, const std::string& text) {
    fields_.SetText(field, text);
}

void TForm7::ClearTable() {
    ListModel->Clear();
}

void TForm7::AppendRow(const std::string& x, const std::string& y, const std::string& t) {
    ListModel->AppendRow({QString::fromStdString(x), QString::fromStdString(y), QString::fromStdString(t)});
}

void TForm7::RemoveLastRow() {
    if (ListModel->rowCount() == 0)
        return;
    // The last row becomes the selection, and the selection is deleted.
    ListView1->selectRow(ListModel->rowCount() - 1);
    ListModel->RemoveLastRow();
    // The row that took the removed row's place as current must not stay
    // highlighted once the plot has ended.
    ListView1->clearSelection();
    ListView1->selectionModel()->clearCurrentIndex();
}

void TForm7::AddChartPoint(double x, double y) {
    chart_->Add(x, y);
}

void TForm7::ClearChart() {
    chart_->Clear();
}

} // namespace korvo
