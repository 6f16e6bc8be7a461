#include "platform/CDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimerEvent>
#include <stdexcept>

#include "platform/DataExchange.h"
#include "platform/IntegerText.h"
#include "res/MenuTemplate.h"
#include "res/ResourceIds.h"

namespace {

const DialogTemplate& FindOrThrow(int id) {
    const DialogTemplate* t = FindDialogTemplate(id);
    if (t == nullptr) throw std::invalid_argument("no dialog template " + std::to_string(id));
    return *t;
}

// The template's font where it is installed, else the platform's sans-serif
// at the same size.
QFont DialogFont(const DialogTemplate& t) {
    QFont font(QString::fromUtf8(t.font), t.pointSize);
    if (QFontInfo(font).family() != font.family()) {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
        font.setPointSize(t.pointSize);
    }
    return font;
}

// Dialog units to pixels, from the font's average character width and height,
// so that the layout keeps its proportions at every resolution.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics m(font);
        const int ancho = m.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        m_nAncho = (ancho / 26 + 1) / 2;
        m_nAlto = m.height();
    }
    int X(int du) const { return du * m_nAncho / 4; }
    int Y(int du) const { return du * m_nAlto / 8; }
    QRect Rect(const ControlTemplate& c) const { return {X(c.x), Y(c.y), X(c.width), Y(c.height)}; }

  private:
    int m_nAncho = 6;
    int m_nAlto = 13;
};

QLineEdit* MakeEdit(const ControlTemplate& c, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setFrame((c.styles & kBorder) != 0);
    edit->setReadOnly((c.styles & kReadOnly) != 0);
    if ((c.styles & kRightAlign) != 0) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if ((c.styles & kCentre) != 0) edit->setAlignment(Qt::AlignCenter);
    if ((c.styles & (kDigitsOnly | kSignedDigits)) != 0) {
        const QString patron =
            (c.styles & kSignedDigits) != 0 ? QStringLiteral("-?[0-9]*") : QStringLiteral("[0-9]*");
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(patron), edit));
    }
    edit->setTextMargins(0, 0, 0, 0);
    return edit;
}

QWidget* MakeControl(const ControlTemplate& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case ControlKind::Edit:
            return MakeEdit(c, parent);
        case ControlKind::GroupBox: {
            auto* group = new QGroupBox(text, parent);
            group->setFlat((c.styles & kFlat) != 0);
            return group;
        }
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault((c.styles & kDefaultButton) != 0);
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(text, parent);
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            for (const char* item : c.items) combo->addItem(QString::fromUtf8(item));
            combo->setCurrentIndex(-1);
            return combo;
        }
        case ControlKind::Animation:
            return new QWidget(parent);
        case ControlKind::Static:
            break;
    }
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(c.height > 10);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

CDialog::CDialog(int templateId, QWidget* parent)
    : QDialog(parent), m_Template(FindOrThrow(templateId)) {
    setObjectName(QString::number(templateId));
    setWindowTitle(QString::fromUtf8(m_Template.caption));
    setFont(DialogFont(m_Template));

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((m_Template.styles & kMinimizeBox) != 0) flags |= Qt::WindowMinimizeButtonHint;
    if ((m_Template.styles & kSystemModal) != 0) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);

    if (m_Template.menu != 0) BuildMenu(m_Template.menu);
    const int arriba = m_pMenuBar != nullptr ? m_pMenuBar->sizeHint().height() : 0;
    const DialogUnits du(font());
    auto* client = new QWidget(this);
    client->setGeometry(0, arriba, du.X(m_Template.width), du.Y(m_Template.height));
    if (m_pMenuBar != nullptr) m_pMenuBar->setGeometry(0, 0, client->width(), arriba);
    BuildControls(client);
    setFixedSize(client->width(), arriba + client->height());
}

CDialog::~CDialog() = default;

void CDialog::BuildMenu(int menuId) {
    const MenuTemplate* plantilla = FindMenuTemplate(menuId);
    if (plantilla == nullptr) return;
    m_pMenuBar = new QMenuBar(this);
    m_pMenuBar->setNativeMenuBar(false);
    for (const PopupTemplate& popup : plantilla->popups) {
        QMenu* menu = m_pMenuBar->addMenu(QString::fromUtf8(popup.text));
        for (const MenuItemTemplate& item : popup.items) {
            if (item.command == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            action->setObjectName(QString::number(item.command));
            const int comando = item.command;
            connect(action, &QAction::triggered, this, [this, comando] { OnCommand(comando); });
        }
    }
}

void CDialog::BuildControls(QWidget* client) {
    const DialogUnits du(font());
    QWidget* anterior = nullptr;
    for (const ControlTemplate& c : m_Template.controls) {
        QWidget* w = MakeControl(c, client);
        w->setGeometry(du.Rect(c));
        if (c.kind == ControlKind::ComboBox) {
            // The template's height includes the dropped list; the box itself
            // is one line high.
            w->setGeometry(du.X(c.x), du.Y(c.y), du.X(c.width),
                           std::max(du.Y(12), w->minimumSizeHint().height()));
        }
        if (c.id >= 0) {
            w->setObjectName(QString::number(c.id));
            m_Controles[c.id] = w;
        }
        if (c.kind == ControlKind::GroupBox) w->lower();  // frames stay behind what they frame
        w->setFocusPolicy((c.styles & kTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
        if (c.kind == ControlKind::Static || c.kind == ControlKind::GroupBox ||
            c.kind == ControlKind::Animation) {
            w->setFocusPolicy(Qt::NoFocus);
        }
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            const int id = c.id;
            connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        }
        if ((c.styles & kTabStop) != 0) {
            if (anterior != nullptr) setTabOrder(anterior, w);
            anterior = w;
        }
    }
}

int CDialog::DoModal() {
    if (OnInitDialog()) {
        for (const ControlTemplate& c : m_Template.controls) {
            QWidget* w = c.id >= 0 ? GetDlgItem(c.id) : nullptr;
            if ((c.styles & kTabStop) != 0 && w != nullptr && w->isEnabled()) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    const int resultado = exec();
    OnDestroy();
    return resultado;
}

void CDialog::EndDialog(int result) {
    done(result);
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto it = m_Controles.find(id);
    return it != m_Controles.end() ? it->second.data() : nullptr;
}

std::int32_t CDialog::GetDlgItemInt(int id) const {
    return ReadItemInteger(GetDlgItemText(id).toStdString());
}

void CDialog::SetDlgItemInt(int id, std::int32_t value) {
    SetDlgItemText(id, QString::number(value));
}

QString CDialog::GetDlgItemText(int id) const {
    QWidget* w = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return {};
}

void CDialog::SetDlgItemText(int id, const QString& text) {
    QWidget* w = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != text) edit->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    }
}

int CDialog::GetCurSel(int id) const {
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id));
    return combo != nullptr ? combo->currentIndex() : -1;
}

void CDialog::SetCurSel(int id, int index) {
    if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id))) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

bool CDialog::IsDlgButtonChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button != nullptr && button->isChecked();
}

void CDialog::CheckDlgButton(int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) button->setChecked(checked);
}

void CDialog::EnableDlgItem(int id, bool enabled) {
    if (QWidget* w = GetDlgItem(id)) w->setEnabled(enabled);
}

void CDialog::GotoDlgCtrl(int id) {
    QWidget* w = GetDlgItem(id);
    if (w == nullptr) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
}

bool CDialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

int CDialog::SetTimer(int id, int milliseconds) {
    KillTimer(id);
    const int qtId = startTimer(milliseconds, Qt::PreciseTimer);
    if (qtId == 0) return 0;
    Timer& t = m_Timers[id];
    t.qtId = qtId;
    t.schedule.Start(TimerSchedule::Clock::now(), std::chrono::milliseconds(milliseconds));
    return id;
}

bool CDialog::KillTimer(int id) {
    const auto it = m_Timers.find(id);
    if (it == m_Timers.end()) return false;
    killTimer(it->second.qtId);
    m_Timers.erase(it);
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(DataExchange& /*dx*/) {}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnCommand(int id) {
    if (id == IDOK) OnOK();
    if (id == IDCANCEL) OnCancel();
}

void CDialog::OnTimer(int /*id*/) {}

void CDialog::OnDestroy() {}

namespace {

// Numbers that change 25 times a second read as moving smoothly; painting
// more often costs a laptop its battery for nothing the eye can follow.
constexpr qint64 kFrameMs = 40;
// A change still unpainted this long after the last frame is painted anyway.
constexpr int kLatestPaintMs = 60;

}  // namespace

bool CDialog::event(QEvent* event) {
    // A stream of encoder bytes rewrites the boxes hundreds of times a
    // second: the window is painted at most once a frame, so that painting
    // does not hold the bytes up.
    if (event->type() == QEvent::UpdateRequest) {
        if (m_UltimoPintado.isValid() && m_UltimoPintado.elapsed() < kFrameMs) {
            m_bPintadoPendiente = true;
            if (!m_PintadoAplazado.isActive()) m_PintadoAplazado.start(kLatestPaintMs, this);
            return true;
        }
        m_UltimoPintado.restart();
        m_bPintadoPendiente = false;
        m_PintadoAplazado.stop();
    }
    return QDialog::event(event);
}

void CDialog::PaintIfDue() {
    if (m_bPintadoPendiente && m_UltimoPintado.elapsed() >= kFrameMs) RequestPaint();
}

void CDialog::RequestPaint() {
    m_bPintadoPendiente = false;
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

void CDialog::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_PintadoAplazado.timerId()) {
        m_PintadoAplazado.stop();
        RequestPaint();
        return;
    }
    for (auto& [id, timer] : m_Timers) {
        if (timer.qtId != event->timerId()) continue;
        m_nTicksDue = timer.schedule.TicksDue(TimerSchedule::Clock::now());
        const int nuestro = id;  // OnTimer may start or stop timers
        OnTimer(nuestro);
        m_nTicksDue = 1;
        return;
    }
    QDialog::timerEvent(event);
}

void CDialog::reject() {
    OnCancel();
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    // With no default button, Enter sends "Aceptar" as the dialogs expect.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        const auto botones = findChildren<QPushButton*>();
        const bool hayDefecto = std::any_of(botones.begin(), botones.end(), [](QPushButton* b) {
            return b->isDefault() || (b->autoDefault() && b->hasFocus());
        });
        if (!hayDefecto) {
            OnCommand(IDOK);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}
