#pragma once

#include <QBasicTimer>
#include <QWidget>

// The About box's little picture: a telescope under a sky that turns about
// the pole. It runs only while it is shown.
class TelescopeAnimation : public QWidget {
  public:
    explicit TelescopeAnimation(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QBasicTimer m_Timer;
    int m_nPaso = 0;
};
