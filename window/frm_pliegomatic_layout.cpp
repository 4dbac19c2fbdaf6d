// The controls of frmPliegomatic: names, captions, containers, places, fonts
// and tab order. Places and sizes are written in twips, as the window was
// drawn, and become logical pixels at 15 twips a pixel.
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <string_view>

#include "window/frm_pliegomatic.hpp"
#include "window/destination_box.hpp"
#include "window/etched_frame.hpp"
#include "window/list_box.hpp"

namespace pliego {

namespace {

constexpr int kTwipsPerPixel = 15;

int px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

void place(QWidget* control, int left, int top, int width, int height) {
  control->setGeometry(px(left), px(top), px(width), px(height));
}

QFont fontOf(const char* family, double points, bool bold) {
#ifdef Q_OS_WIN
  // Windows has "MS Sans Serif" only as a bitmap face in a few sizes, which
  // high-DPI screens cannot scale; its TrueType successor has its metrics.
  if (std::string_view(family) == "MS Sans Serif") family = "Microsoft Sans Serif";
#endif
  QFont font{QString::fromLatin1(family)};
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

template <typename Control>
Control* make(QWidget* parent, const char* name) {
  auto* control = new Control(parent);
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption) {
  auto* label = make<QLabel>(parent, name);
  label->setText(QString::fromLatin1(caption));
  return label;
}

// A label that sizes itself to its text, as the field labels do.
QLabel* makeFieldLabel(QWidget* parent, const char* name, const char* caption, int left, int top) {
  QLabel* label = makeLabel(parent, name, caption);
  place(label, left, top, 0, 0);
  label->adjustSize();
  return label;
}

QLineEdit* makeNumberBox(QWidget* parent, const char* name, int left, int top) {
  auto* box = make<QLineEdit>(parent, name);
  place(box, left, top, 735, 375);
  box->setFont(fontOf("Arial", 9.75, true));
  return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                        int height) {
  auto* button = make<QPushButton>(parent, name);
  button->setText(QString::fromLatin1(caption));
  button->setAutoDefault(false);
  place(button, left, top, width, height);
  return button;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const char* caption, int left, int top, int width) {
  auto* box = make<QCheckBox>(parent, name);
  box->setText(QString::fromLatin1(caption));
  place(box, left, top, width, 375);
  return box;
}

QListWidget* makeListBox(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* list = make<QListWidget>(parent, name);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSortingEnabled(false);
  showFocusFrame(list);
  place(list, left, top, width, height);
  return list;
}

constexpr const char* kNetworkNote =
    "Para que Pliegomatic funcione correctamente debe ser ejecutado desde una unidad \"mapeada\" en la red, "
    "por ejemplo (F:)   Esa unidad debe ser el servidor de  Zelt, Kavenor, etc. Si experimenta problemas de "
    "puerto de impresion verifique si la unidad de red existe y SI es la correcta.";

constexpr const char* kNotice = "Pliegomatic - impresion de listados contables en impresoras de matriz de puntos";

// The window was drawn for "MS Sans Serif". Where it is missing, a face of
// about its width keeps the captions inside their controls: Microsoft's own
// successor, or Liberation Sans; failing both, the system's sans. Where even
// Microsoft's faces are missing (Wine without Windows fonts), Liberation
// Sans stands in for them.
void useNarrowFallbackForMsSansSerif() {
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("Arial")});
  QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

}  // namespace

void frmPliegomatic::createControls() {
  useNarrowFallbackForMsSansSerif();
  setObjectName(QStringLiteral("frmPliegomatic"));
  setWindowTitle(QStringLiteral("Pliegomatic"));
  setFont(fontOf("MS Sans Serif", 8.25, false));
  setFixedSize(px(8880), px(7500));
  createReportList();
  createProfileFrame();
  chkTotalesDeIVA = makeCheckBox(this, "chkTotalesDeIVA",
                                 "Imprimir Totales de IVA en Listados de IVA Compras / Ventas", 120, 5640, 50000);
  createBottomPanel();
  setTabOrder();
}

void frmPliegomatic::createReportList() {
  Label2_[2] = makeLabel(this, "Label2_2", "F5 - SELECCIONE EL ARCHIVO A IMPRIMIR");
  place(Label2_[2], 120, 120, 8625, 315);
  Label2_[2]->setFont(fontOf("Arial", 14.25, true));
  Label2_[2]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  List1 = make<ListBox>(this, "List1");
  place(List1, 120, 600, 8655, 2370);
  List1->setFont(fontOf("Arial", 14.25, true));
}

void frmPliegomatic::createProfileFrame() {
  Frame1 = make<EtchedFrame>(this, "Frame1");
  Frame1->setTitle(QStringLiteral("Configuracion de la Impresora"));
  place(Frame1, 120, 3000, 8655, 2655);

  txtRenglonesPagina = makeNumberBox(Frame1, "txtRenglonesPagina", 3360, 420);
  txtRenglonesEncabezado = makeNumberBox(Frame1, "txtRenglonesEncabezado", 3360, 915);
  txtEntrePaginas = makeNumberBox(Frame1, "txtEntrePaginas", 3360, 1440);
  txtLPT = makeNumberBox(Frame1, "txtLPT", 3360, 1845);

  Label2_[0] = makeFieldLabel(Frame1, "Label2_0", "Cantidad de renglones por &Pagina", 240, 480);
  Label2_[0]->setBuddy(txtRenglonesPagina);
  Label2_[1] = makeFieldLabel(Frame1, "Label2_1", "Cantidad de renglones del &Encabezado", 240, 960);
  Label2_[1]->setBuddy(txtRenglonesEncabezado);
  Label2_[6] = makeFieldLabel(Frame1, "Label2_6", "Renglones entre Paginas", 240, 1485);
  Label2_[3] = makeFieldLabel(Frame1, "Label2_3", "Imprimir en el &LPT", 240, 1920);
  Label2_[3]->setBuddy(txtLPT);

  chkNumeroPagina = makeCheckBox(Frame1, "chkNumeroPagina", "Imprimir &Numero de pagina", 240, 2160, 3855);

  Label2_[4] = makeLabel(Frame1, "Label2_4", "F9 - CONFIGURACION DE IMPRESORAS");
  place(Label2_[4], 3840, 240, 3495, 195);
  Label2_[4]->setFont(fontOf("Arial", 8.25, true));
  Label2_[4]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  List2 = makeListBox(Frame1, "List2", 4320, 600, 2535, 1620);
  cmdAgregarImpresora = makeButton(Frame1, "cmdAgregarImpresora", "Agregar Impresora...", 6840, 600, 1695, 375);
  cmdGuardarImpresora = makeButton(Frame1, "cmdGuardarImpresora", "Guardar Impresora", 6840, 1230, 1695, 375);
  Command1 = makeButton(Frame1, "Command1", "Quitar Impresora", 6840, 1815, 1695, 375);
  // Added later, in the free corner under the buttons, touching nothing.
  cmdOpciones = makeButton(Frame1, "cmdOpciones", "F11 - Opciones...", 6840, 2250, 1695, 315);
  // The destination, in the free space under the profile list.
  cboDestino = new DestinationBox(*spooler_, Frame1);
  cboDestino->setObjectName(QStringLiteral("cboDestino"));
  place(cboDestino, 4320, 2250, 2460, 315);
  // Added later still, in the free corner above the profile buttons.
  cmdConfigurarImpresora = makeButton(Frame1, "cmdConfigurarImpresora", "Configurar...", 7380, 255, 1155, 315);
  cmdConfigurarImpresora->setToolTip(QStringLiteral("Configurar impresora: juego de comandos, caracteres por pulgada, "
                                                    "carro, tabla de caracteres y prueba de alineacion"));
}

void frmPliegomatic::createBottomPanel() {
  Picture1 = make<QWidget>(this, "Picture1");
  place(Picture1, 0, 6045, 8880, 1455);

  chkPreview = makeCheckBox(Picture1, "chkPreview", "Visualizar por Pantalla", 120, 0, 2000);
  cmdImprimir = makeButton(Picture1, "cmdImprimir", "F10 - Imprimir", 120, 480, 1215, 495);
  cmdSalir = makeButton(Picture1, "cmdSalir", "Salir", 1440, 480, 1215, 495);

  Label2_[5] = makeLabel(Picture1, "Label2_5", "PARA UTILIZAR PLIEGOMATIC EN RED");
  place(Label2_[5], 2895, 0, 5895, 250);
  Label2_[5]->setFont(fontOf("MS Sans Serif", 9.75, true));
  Label2_[5]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  Label3 = makeLabel(Picture1, "Label3", kNetworkNote);
  Label3->setTextFormat(Qt::PlainText);
  Label3->setWordWrap(true);
  Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  place(Label3, 2985, 360, 5895, 800);

  Label1 = makeLabel(Picture1, "Label1", kNotice);
  Label1->setTextFormat(Qt::PlainText);
  place(Label1, 0, 1200, 8895, 255);
}

// Tab follows the window's tab indexes; labels, the frame and the panel take
// no focus.
void frmPliegomatic::setTabOrder() {
  QWidget* const order[] = {List1,     txtRenglonesPagina, txtRenglonesEncabezado, txtLPT,
                            chkNumeroPagina, List2, cmdAgregarImpresora, cmdGuardarImpresora,
                            Command1,  cmdImprimir, cmdSalir, txtEntrePaginas, chkPreview, chkTotalesDeIVA,
                            cmdOpciones, cboDestino, cmdConfigurarImpresora};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace pliego
