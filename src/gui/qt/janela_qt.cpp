#include "gui/qt/janela_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/imagens.h"
#include "gui/qt/rotulo_sombra.h"

namespace tolvane {

namespace {

QString Q(std::string_view ATexto) {
  return QString::fromUtf8(ATexto.data(), static_cast<qsizetype>(ATexto.size()));
}

QFont FonteQt(const Fonte& AFonte) {
  QFont f(Q(AFonte.Familia));
  f.setPixelSize(AFonte.Pixels);
  f.setItalic(AFonte.Italica);
  return f;
}

QIcon IconeDe(Figura AFigura) {
  switch (AFigura) {
    case Figura::SetaBaixo:
      return IconeSetaBaixo();
    case Figura::Ok:
      return IconeOk();
    default:
      return {};
  }
}

Qt::WindowFlags Bordas(const LayoutJanela& ALayout) {
  // A single fixed border; the title bar with the system menu and the close box, or bare.
  if (ALayout.BotoesTitulo)
    return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

// How long a window manager may take to frame and map a new window before we go on anyway.
constexpr int kEsperaExposicaoMs = 2000;

}  // namespace

JanelaQt::JanelaQt(AplicacaoQt& AAplicacao, const LayoutJanela& ALayout, EventosJanela& AEventos)
    : QWidget(nullptr, Bordas(ALayout)),
      FAplicacao(AAplicacao),
      FLayout(ALayout),
      FEventos(AEventos) {
  Construir();
}

JanelaQt::~JanelaQt() = default;

void JanelaQt::Construir() {
  setObjectName(Q(FLayout.Nome));
  setWindowTitle(Q(FLayout.Caption));
  if (FLayout.IconePrograma) setWindowIcon(IconePrograma());
  setFont(FonteQt(FLayout.FonteJanela));
  setFixedSize(FLayout.LarguraCliente, FLayout.AlturaCliente);
  move(FLayout.Esquerda, FLayout.Topo);
  for (const Controle& c : FLayout.Controles) CriarControle(c);
  DefinirOrdemTab();
  for (const Controle& c : FLayout.Controles)
    if (c.FocoInicial) Widget(c.Nome)->setFocus();
}

QWidget* JanelaQt::Pai(const Controle& AControle) const {
  if (AControle.Pai.empty()) return const_cast<JanelaQt*>(this);
  return Widget(AControle.Pai);
}

void JanelaQt::CriarControle(const Controle& c) {
  const QString nome = Q(c.Nome);
  const QString texto = Q(c.Texto);
  const auto clique = [this, nome = std::string(c.Nome)] { FEventos.Click(nome); };

  if (c.Tipo == TipoControle::Menu) {
    auto* menu = new QMenu(this);
    menu->setObjectName(nome);
    FMenus.emplace(c.Nome, menu);
    return;
  }
  if (c.Tipo == TipoControle::ItemMenu || c.Tipo == TipoControle::SeparadorMenu) {
    QMenu* menu = Menu(c.Pai);
    QAction* acao =
        c.Tipo == TipoControle::ItemMenu ? menu->addAction(texto) : menu->addSeparator();
    acao->setObjectName(nome);
    if (c.Tipo == TipoControle::ItemMenu) connect(acao, &QAction::triggered, this, clique);
    return;
  }

  QWidget* pai = Pai(c);
  QWidget* w = nullptr;
  switch (c.Tipo) {
    case TipoControle::PaginaControle:
      w = new QTabWidget(pai);
      break;
    case TipoControle::Pagina: {
      w = new QWidget();
      auto* paginas = static_cast<QTabWidget*>(pai);
      paginas->addTab(w, texto);
      if (c.PaginaInicial) paginas->setCurrentWidget(w);
      break;
    }
    case TipoControle::Rotulo:
    case TipoControle::RotuloSombra: {
      QLabel* rotulo =
          c.Tipo == TipoControle::Rotulo ? new QLabel(texto, pai) : new RotuloSombra(texto, pai);
      rotulo->setTextFormat(Qt::PlainText);
      rotulo->setWordWrap(c.QuebraPalavras);
      rotulo->setAlignment(c.Centralizado ? Qt::AlignHCenter | Qt::AlignTop
                                          : Qt::AlignLeft | Qt::AlignTop);
      if (c.Selecionavel) rotulo->setTextInteractionFlags(Qt::TextSelectableByMouse);
      w = rotulo;
      break;
    }
    case TipoControle::LinhaGravada:
    case TipoControle::MolduraGravada:
    case TipoControle::Painel: {
      auto* moldura = new QFrame(pai);
      if (c.Tipo == TipoControle::LinhaGravada) {
        moldura->setFrameShape(QFrame::HLine);
        moldura->setFrameShadow(QFrame::Sunken);
      } else if (c.Tipo == TipoControle::MolduraGravada) {
        moldura->setFrameStyle(QFrame::Box | QFrame::Sunken);
      } else {
        moldura->setFrameStyle(QFrame::Panel | QFrame::Raised);
      }
      w = moldura;
      break;
    }
    case TipoControle::Botao: {
      auto* botao = new QPushButton(texto, pai);
      botao->setIcon(IconeDe(c.Imagem));
      botao->setAutoDefault(false);
      connect(botao, &QPushButton::clicked, this, clique);
      w = botao;
      break;
    }
    case TipoControle::CaixaCombinacao: {
      auto* combo = new QComboBox(pai);
      combo->setEditable(c.Digitavel);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCurrentIndex(-1);
      w = combo;
      break;
    }
    case TipoControle::CaixaMarcacao: {
      auto* caixa = new QCheckBox(texto, pai);
      connect(caixa, &QCheckBox::clicked, this, clique);
      w = caixa;
      break;
    }
    case TipoControle::Imagem: {
      auto* imagem = new QLabel(pai);
      if (c.Imagem == Figura::Logo) imagem->setPixmap(QPixmap::fromImage(Logo()));
      w = imagem;
      break;
    }
    default:
      return;
  }
  w->setObjectName(nome);
  if (c.FontePropria) w->setFont(FonteQt(*c.FontePropria));
  if (c.Cor != CorTexto::Janela) {
    QPalette paleta = w->palette();
    paleta.setColor(QPalette::WindowText, c.Cor == CorTexto::Azul ? Qt::blue : Qt::black);
    w->setPalette(paleta);
  }
  if (c.Tipo != TipoControle::Pagina) {
    w->move(c.Esquerda, c.Topo);
    AjustarAoTexto(*w, c);
  }
  w->setEnabled(c.Habilitado);
  if (!c.Visivel) w->hide();
  FControles.emplace(c.Nome, w);
}

void JanelaQt::AjustarAoTexto(QWidget& AWidget, const Controle& AControle) {
  const bool larguraDoTexto = AControle.Largura == kTamanhoDoTexto;
  const bool alturaDoTexto = AControle.Altura == kTamanhoDoTexto;
  if (larguraDoTexto || alturaDoTexto) AWidget.adjustSize();
  AWidget.resize(larguraDoTexto ? AWidget.width() : AControle.Largura,
                 alturaDoTexto ? AWidget.height() : AControle.Altura);
}

void JanelaQt::DefinirOrdemTab() {
  // Per parent, the controls in their tab order; the others are not reached by Tab.
  std::map<std::string_view, std::vector<const Controle*>> porPai;
  for (const Controle& c : FLayout.Controles) {
    QWidget* w = Widget(c.Nome);
    if (!w) continue;
    if (c.OrdemTab >= 0)
      porPai[c.Pai].push_back(&c);
    else if (c.Tipo != TipoControle::PaginaControle && c.Tipo != TipoControle::Pagina)
      w->setFocusPolicy(Qt::NoFocus);
  }
  for (auto& [pai, controles] : porPai) {
    std::stable_sort(controles.begin(), controles.end(),
                     [](const auto* a, const auto* b) { return a->OrdemTab < b->OrdemTab; });
    for (std::size_t i = 1; i < controles.size(); ++i)
      setTabOrder(Widget(controles[i - 1]->Nome), Widget(controles[i]->Nome));
  }
}

QWidget* JanelaQt::Widget(std::string_view ANome) const {
  const auto it = FControles.find(ANome);
  return it == FControles.end() ? nullptr : it->second;
}

QMenu* JanelaQt::Menu(std::string_view ANome) const {
  const auto it = FMenus.find(ANome);
  return it == FMenus.end() ? nullptr : it->second;
}

QMargins JanelaQt::Moldura() const {
  const QRect externa = frameGeometry();
  const QRect interna = geometry();
  return {interna.left() - externa.left(), interna.top() - externa.top(),
          externa.right() - interna.right(), externa.bottom() - interna.bottom()};
}

void JanelaQt::EsperarExposicao() {
  QWindow* janela = windowHandle();
  if (!janela || janela->isExposed() || QGuiApplication::platformName() != QLatin1String("xcb"))
    return;
  // Only the window system's own events: no input reaches the system's handlers meanwhile.
  QEventLoop espera;
  QTimer limite;
  limite.setSingleShot(true);
  connect(&limite, &QTimer::timeout, &espera, &QEventLoop::quit);
  limite.start(kEsperaExposicaoMs);
  const auto verificar = [&] {
    if (janela->isExposed()) espera.quit();
  };
  QTimer sondagem;
  connect(&sondagem, &QTimer::timeout, &espera, verificar);
  sondagem.start(5);
  espera.exec(QEventLoop::ExcludeUserInputEvents);
}

void JanelaQt::Posicionar() {
  // Layout places are those of the outer window, frame included.
  const QMargins m = Moldura();
  const QSize externo = size().grownBy(m);
  QPoint lugar(FLayout.Esquerda, FLayout.Topo);
  if (FLayout.Posicao == PosicaoJanela::CentroAreaTrabalho) {
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
      const QRect area = tela->availableGeometry();
      lugar = area.topLeft() +
              QPoint((area.width() - externo.width()) / 2, (area.height() - externo.height()) / 2);
    }
  }
  if (frameGeometry().topLeft() != lugar) move(lugar);
}

void JanelaQt::Show() {
  const bool primeira = !FJaMostrada;
  FJaMostrada = true;
  if (primeira) Posicionar();
  show();
  EsperarExposicao();
  // Only now is the frame known: put the outer window where the layout says.
  if (primeira) Posicionar();
}

void JanelaQt::Hide() { hide(); }

bool JanelaQt::Visible() const { return isVisible(); }

int JanelaQt::ShowModal() {
  // Modal to the main window and to the windows shown modally before, not to the whole
  // application: the tray icon and its menu keep working while it is open.
  QWidget* dono = QApplication::activeModalWidget();
  if (!dono) dono = FAplicacao.MainFormWidget();
  if (dono && dono != this) setParent(dono, windowFlags());
  setWindowModality(Qt::WindowModal);
  Show();
  QEventLoop laco;
  FLacoModal = &laco;
  if (isVisible() && !FAplicacao.Terminated()) laco.exec(QEventLoop::DialogExec);
  FLacoModal = nullptr;
  // A request to end met in the modal loop closes the window with "cancel".
  if (FAplicacao.Terminated()) hide();
  return kMrCancel;
}

void JanelaQt::Close() { close(); }

void JanelaQt::closeEvent(QCloseEvent* AEvento) {
  if (!FEventos.CloseQuery()) {
    AEvento->ignore();
    return;
  }
  AEvento->accept();
  if (FLacoModal) FLacoModal->exit(kMrCancel);
  FEventos.FormClose();
}

void JanelaQt::keyPressEvent(QKeyEvent* AEvento) {
  // Escape closes a window shown modally, as it closes a dialog.
  if (FLacoModal && AEvento->key() == Qt::Key_Escape && AEvento->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(AEvento);
}

void JanelaQt::resizeEvent(QResizeEvent* AEvento) {
  QWidget::resizeEvent(AEvento);
  for (const Controle& c : FLayout.Controles)
    if (c.AncoradoEmbaixo)
      if (QWidget* w = Widget(c.Nome)) w->setGeometry(0, height() - c.Altura, width(), c.Altura);
}

void JanelaQt::SetOuterSize(int ALargura, int AAltura) {
  const QMargins m = Moldura();
  setFixedSize(ALargura - m.left() - m.right(), AAltura - m.top() - m.bottom());
}

void JanelaQt::Repaint() { repaint(); }

bool JanelaQt::Minimized() const { return isMinimized(); }

void JanelaQt::ShowNormal() { showNormal(); }

void JanelaQt::BringToFront() {
  raise();
  activateWindow();
}

void JanelaQt::SetText(std::string_view AControle, const std::string& ATexto) {
  QWidget* w = Widget(AControle);
  const QString texto = QString::fromStdString(ATexto);
  if (auto* rotulo = qobject_cast<QLabel*>(w))
    rotulo->setText(texto);
  else if (auto* botao = qobject_cast<QAbstractButton*>(w))
    botao->setText(texto);
  else if (auto* combo = qobject_cast<QComboBox*>(w))
    combo->setEditText(texto);
  else
    return;
  // A control as large as its text grows or shrinks with it.
  for (const Controle& c : FLayout.Controles)
    if (c.Nome == AControle) AjustarAoTexto(*w, c);
}

std::string JanelaQt::Text(std::string_view AControle) const {
  QWidget* w = Widget(AControle);
  if (auto* rotulo = qobject_cast<QLabel*>(w)) return rotulo->text().toStdString();
  if (auto* botao = qobject_cast<QAbstractButton*>(w)) return botao->text().toStdString();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText().toStdString();
  return {};
}

void JanelaQt::SetVisible(std::string_view AControle, bool AVisivel) {
  if (QWidget* w = Widget(AControle)) w->setVisible(AVisivel);
}

void JanelaQt::SetEnabled(std::string_view AControle, bool AHabilitado) {
  if (QWidget* w = Widget(AControle)) w->setEnabled(AHabilitado);
}

bool JanelaQt::Enabled(std::string_view AControle) const {
  const QWidget* w = Widget(AControle);
  return w && w->isEnabled();
}

bool JanelaQt::Checked(std::string_view AControle) const {
  const auto* caixa = qobject_cast<const QAbstractButton*>(Widget(AControle));
  return caixa && caixa->isChecked();
}

void JanelaQt::RepaintControl(std::string_view AControle) {
  if (QWidget* w = Widget(AControle)) w->repaint();
}

void JanelaQt::ClearItems(std::string_view AControle) {
  if (auto* combo = qobject_cast<QComboBox*>(Widget(AControle))) {
    combo->clear();
    combo->setEditText(QString());
  }
}

void JanelaQt::AddItem(std::string_view AControle, const std::string& AItem) {
  if (auto* combo = qobject_cast<QComboBox*>(Widget(AControle))) {
    combo->addItem(QString::fromStdString(AItem));
    combo->setCurrentIndex(-1);
  }
}

}  // namespace tolvane
