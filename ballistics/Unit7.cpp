#include "ballistics/Unit7.h"

#include "app/Messages.h"
#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/Unit3.h"
#include "parser/MathParser.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>
#include <utility>

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

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption, const QRect& box) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(box);
    group->setFont(BoldFont());
    return group;
}

// While a plot runs, the window repaints at most once per this interval.
constexpr int kPlotPaintMilliseconds = 40;

} // namespace

// The point table.

void TIdealTableModel::AppendRow(const Row& row) {
    const int at = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), at, at);
    rows_.push_back(row);
    endInsertRows();
}

void TIdealTableModel::RemoveLastRow() {
    if (rows_.empty())
        return;
    const int last = static_cast<int>(rows_.size()) - 1;
    beginRemoveRows(QModelIndex(), last, last);
    rows_.pop_back();
    endRemoveRows();
}

void TIdealTableModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int TIdealTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TIdealTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TIdealTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return At(index.row())[static_cast<std::size_t>(index.column())];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(index.column() == 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant TIdealTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const captions[] = {"X", "Y", "T (Seg.)"};
    if (orientation != Qt::Horizontal || section < 0 || section > 2)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(captions[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(section == 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TIdealTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// The window.

TForm7::TForm7(QWidget* parent)
    : TChromeWindow({kTitle, kTitle, {743, 543}, 0, 504, 721, kArial}, parent),
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

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TForm7::OnTimer1);

    // A point changes six fields, a table row and the chart every millisecond;
    // painting the window after each one would take longer than the point
    // itself and stretch the plot. While the timer runs, the changes of all
    // points in between are painted together.
    paintPacer_ = new QTimer(this);
    paintPacer_->setSingleShot(true);
    paintPacer_->setInterval(kPlotPaintMilliseconds);
    connect(paintPacer_, &QTimer::timeout, this, [this] {
        if (std::exchange(paintHeld_, false))
            QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });

    connect(CalcularResultados, &QPushButton::clicked, this, &TForm7::CalcularResultadosClick);
    connect(Graficar, &QPushButton::clicked, this, &TForm7::GraficarClick);
    connect(Limpiar, &QPushButton::clicked, this, &TForm7::LimpiarClick);

    FormCreate();
}

TForm7::~TForm7() = default;

bool TForm7::event(QEvent* event) {
    if (event->type() == QEvent::UpdateRequest && Timer1->isActive()) {
        if (paintPacer_->isActive()) {
            paintHeld_ = true;
            return true;
        }
        paintPacer_->start();
    }
    return TChromeWindow::event(event);
}

void TForm7::BuildInputs() {
    using side::MakeField;
    using side::MakeLabel;
    GroupBox1 = MakeGroup(TabSheet1, QStringLiteral("GroupBox1"), QStringLiteral(" Datos Iniciales "),
                          {4, 2, 196, 113});
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
                          {4, 116, 196, 142});
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
    for (const Display& display : displays) {
        side::MakeLabel(GroupBox2, QString::fromUtf8(display.label), {2, display.top + 2, 100, 14},
                        NormalFont(), Qt::AlignRight | Qt::AlignVCenter);
        display.field =
            side::MakeField(GroupBox2, QString::fromUtf8(display.name), {104, display.top, 53, 18},
                            QStringLiteral("0"), BoldFont(), true, QColor(255, 239, 196));
        side::MakeLabel(GroupBox2, QString::fromUtf8(display.unit), {160, display.top + 2, 0, 0},
                        NormalFont());
    }
}

void TForm7::BuildPlotControls() {
    using side::MakeField;
    GroupBox3 = MakeGroup(TabSheet1, QStringLiteral("GroupBox3"), QStringLiteral(" Calculo para X "),
                          {4, 259, 196, 57});
    CalcularX =
        MakeField(GroupBox3, QStringLiteral("CalcularX"), {5, 14, 182, 18}, QString(), NormalFont(), true);
    ResultadoX = MakeField(GroupBox3, QStringLiteral("ResultadoX"), {5, 34, 121, 18}, QStringLiteral("0"),
                           BoldFont(), true);
    GroupBox4 = MakeGroup(TabSheet1, QStringLiteral("GroupBox4"), QStringLiteral(" Calculo para Y "),
                          {5, 318, 196, 57});
    CalcularY =
        MakeField(GroupBox4, QStringLiteral("CalcularY"), {5, 14, 182, 18}, QString(), NormalFont(), true);
    ResultadoY = MakeField(GroupBox4, QStringLiteral("ResultadoY"), {5, 34, 121, 18}, QStringLiteral("0"),
                           BoldFont(), true);

    CalcularResultados = side::MakeButton(TabSheet1, QStringLiteral("CalcularResultados"),
                                          QStringLiteral("&Calcular"), {4, 378, 80, 26}, BoldFont());
    Graficar = side::MakeButton(TabSheet1, QStringLiteral("Graficar"), QStringLiteral("&Generar Grafica"),
                                {88, 378, 112, 26}, BoldFont());
    Limpiar = side::MakeButton(TabSheet1, QStringLiteral("Limpiar"), QStringLiteral("&Limpiar Datos"),
                               {4, 406, 196, 26}, BoldFont());

    side::MakeSeparator(TabSheet1, 434)->setGeometry(4, 434, 196, 2);
    side::MakeLabel(TabSheet1, QStringLiteral("Calculos Realizados:"), {10, 442, 114, 16}, NormalFont(),
                    Qt::AlignRight | Qt::AlignVCenter);
    Items = MakeField(TabSheet1, QStringLiteral("Items"), {128, 441, 60, 18}, QStringLiteral("0"), BoldFont(),
                      true, Qt::black);
    QPalette palette = Items->palette();
    palette.setColor(QPalette::Text, Qt::yellow);
    Items->setPalette(palette);
    side::MakeLabel(TabSheet1, QStringLiteral("Tiempo Transcurridos:"), {10, 461, 114, 16}, NormalFont(),
                    Qt::AlignRight | Qt::AlignVCenter);
    TiempoTranscurrido = MakeField(TabSheet1, QStringLiteral("TiempoTranscurrido"), {128, 461, 60, 18},
                                   QStringLiteral("0"), BoldFont(), true, QColor(205, 228, 248));
}

void TForm7::BuildTable() {
    ListModel = new TIdealTableModel(this);
    ListView1 = new QTableView(TabSheet2);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(1, 4, 202, 474);
    ListView1->setFont(NormalFont());
    ListView1->setModel(ListModel);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setContextMenuPolicy(Qt::NoContextMenu);
    ListView1->setWordWrap(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(17);
    for (int column = 0; column < 3; ++column)
        ListView1->setColumnWidth(column, 58);
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Base, QColor(244, 245, 247));
    ListView1->setPalette(palette);
}

void TForm7::BuildChart() {
    auto* chart = new QChart();
    chart->legend()->hide();
    chart->setBackgroundVisible(false);
    chart->setPlotAreaBackgroundVisible(false);
    Series1 = new QLineSeries();
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setPen(QPen(Qt::red, 1));
    Series1->setPointsVisible(false);
    chart->addSeries(Series1);
    auto* axisX = new QValueAxis();
    auto* axisY = new QValueAxis();
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    Series1->attachAxis(axisX);
    Series1->attachAxis(axisY);
    chart_ = new TrajectoryChartModel(Series1, axisX, axisY, this);

    Chart1 = new QChartView(chart, this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setGeometry(218, 25, 519, 512);
    Chart1->setContextMenuPolicy(Qt::NoContextMenu);
}

int TForm7::ChartPointCount() const {
    return chart_->Count();
}

// The handlers.

void TForm7::FormCreate() {
    ClearChart();
    Graficar->setEnabled(false);
}

void TForm7::CalcularResultadosClick() {
    Guarded(this, [&] {
        calculator_.CalcularResultados(*this);
        CalcularResultados->setEnabled(false);
        Graficar->setEnabled(true);
    });
}

void TForm7::GraficarClick() {
    Guarded(this, [&] {
        CalcularResultados->setEnabled(false);
        plot_.GraficarClick(*this);
        plotClock_.start();
        timerPoints_ = 0;
        Timer1->start();
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

// A busy event loop delivers ticks late, and a late 1 ms timer does not catch
// up by itself; the points due since the plot started are computed here, at
// most kMostPointsPerTick of them, so that the plot keeps one point per
// millisecond of wall time.
void TForm7::OnTimer1() {
    const qint64 due = std::clamp<qint64>(plotClock_.elapsed() - timerPoints_, 1, kMostPointsPerTick);
    for (qint64 i = 0; i < due && Timer1->isActive(); ++i) {
        ++timerPoints_;
        Timer1Timer();
    }
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

QLineEdit* TForm7::Field(IdealField field) const {
    switch (field) {
    case IdealField::VelocidadInicial:
        return VelocidadInicial;
    case IdealField::Angulo:
        return Angulo;
    case IdealField::AlturaDisparo:
        return AlturaDisparo;
    case IdealField::DistanciaDisparo:
        return DistanciaDisparo;
    case IdealField::IntervaloIteraciones:
        return IntervaloIteraciones;
    case IdealField::TAlturaMaxima:
        return TAlturaMaxima;
    case IdealField::TCaida:
        return TCaida;
    case IdealField::TTVuelo:
        return TTVuelo;
    case IdealField::AlturaMax:
        return AlturaMax;
    case IdealField::AlcanceMax:
        return AlcanceMax;
    case IdealField::VFinalImpacto:
        return VFinalImpacto;
    case IdealField::Items:
        return Items;
    case IdealField::TiempoTranscurrido:
        return TiempoTranscurrido;
    case IdealField::CalcularX:
        return CalcularX;
    case IdealField::ResultadoX:
        return ResultadoX;
    case IdealField::CalcularY:
        return CalcularY;
    case IdealField::ResultadoY:
        return ResultadoY;
    }
    return VelocidadInicial;
}

std::string TForm7::Text(IdealField field) const {
    return Field(field)->text().toStdString();
}

void TForm7::SetText(IdealField field, const std::string& text) {
    QLineEdit* edit = Field(field);
    edit->setText(QString::fromStdString(text));
    edit->setCursorPosition(0);
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
}

void TForm7::AddChartPoint(double x, double y) {
    chart_->Add(x, y);
}

void TForm7::ClearChart() {
    chart_->Clear();
}

} // namespace korvo
