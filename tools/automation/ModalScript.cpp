#include "tools/automation/ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <memory>

void WhenModalAppears(QWidget* current, std::function<void(QWidget*)> action, int timeoutMs) {
    auto* timer = new QTimer(qApp);
    auto reloj = std::make_shared<QElapsedTimer>();
    reloj->start();
    QPointer<QWidget> antes(current);
    const bool cualquiera = current == nullptr;
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, reloj, antes, cualquiera, action = std::move(action), timeoutMs] {
                         QWidget* activo = QApplication::activeModalWidget();
                         const bool nuevo = activo != nullptr &&
                                            (cualquiera || activo != antes.data()) &&
                                            activo->isVisible();
                         if (!nuevo && reloj->elapsed() < timeoutMs) return;
                         timer->stop();
                         timer->deleteLater();
                         action(nuevo ? activo : nullptr);
                     });
    timer->start(5);
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done()) return true;
    // An event loop of its own, looked at every few milliseconds: the code
    // under test keeps the processor instead of a spinning wait.
    QEventLoop bucle;
    QTimer sondeo;
    QObject::connect(&sondeo, &QTimer::timeout, &bucle, [&] {
        if (done()) bucle.quit();
    });
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, &bucle, &QEventLoop::quit);
    sondeo.start(2);
    limite.start(timeoutMs);
    bucle.exec();
    return done();
}

struct BoxRecorder::State {
    QTimer timer;
    std::vector<ShownBox> boxes;
};

BoxRecorder::BoxRecorder() : m_pState(new State) {
    QObject::connect(&m_pState->timer, &QTimer::timeout, [s = m_pState] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box->property("recorded").toBool()) return;
        box->setProperty("recorded", true);
        s->boxes.push_back({box->windowTitle(), box->text(), static_cast<int>(box->icon())});
        if (QAbstractButton* b = box->buttons().value(0)) b->click();
    });
    m_pState->timer.start(5);
}

BoxRecorder::~BoxRecorder() {
    delete m_pState;
}

const std::vector<ShownBox>& BoxRecorder::Boxes() const {
    return m_pState->boxes;
}

QStringList BoxRecorder::Texts() const {
    QStringList t;
    for (const ShownBox& b : m_pState->boxes) t << b.text;
    return t;
}

void BoxRecorder::Clear() {
    m_pState->boxes.clear();
}
