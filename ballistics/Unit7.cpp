#include "ballistics/Unit7.h"

#include <QChartView>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

namespace korvo {

TForm7* Form7 = nullptr;

namespace {
const QString kTitle =
    QStringLiteral("Calculo de Trayectorias Ideales (Despreciando factores externos que afectan el vuelo)");
}

TForm7::TForm7(QWidget* parent)
    : TChromeWindow({kTitle, kTitle, {743, 543}, 0, 504, 721, QStringLiteral("Arial")}, parent) {
    PageControl1 = new QTabWidget(this);
    TabSheet1 = new QWidget();
    TabSheet2 = new QWidget();
    GroupBox1 = new QGroupBox(TabSheet1);
    for (QLineEdit** field :
         {&VelocidadInicial, &Angulo, &AlturaDisparo, &DistanciaDisparo, &IntervaloIteraciones})
        *field = new QLineEdit(GroupBox1);
    GroupBox2 = new QGroupBox(TabSheet1);
    for (QLineEdit** field : {&TAlturaMaxima, &TCaida, &TTVuelo, &AlturaMax, &AlcanceMax, &VFinalImpacto})
        *field = new QLineEdit(GroupBox2);
    GroupBox3 = new QGroupBox(TabSheet1);
    CalcularX = new QLineEdit(GroupBox3);
    ResultadoX = new QLineEdit(GroupBox3);
    GroupBox4 = new QGroupBox(TabSheet1);
    CalcularY = new QLineEdit(GroupBox4);
    ResultadoY = new QLineEdit(GroupBox4);
    CalcularResultados = new QPushButton(TabSheet1);
    Graficar = new QPushButton(TabSheet1);
    Limpiar = new QPushButton(TabSheet1);
    Bevel1 = new QFrame(TabSheet1);
    Items = new QLineEdit(TabSheet1);
    TiempoTranscurrido = new QLineEdit(TabSheet1);
    ListView1 = new QTableView(TabSheet2);
    Series1 = new QLineSeries();
    Chart1 = new QChartView(this);
    Chart1->chart()->addSeries(Series1);
    Timer1 = new QTimer(this);
}

TForm7::~TForm7() = default;

void TForm7::CalcularResultadosClick() {}

} // namespace korvo
