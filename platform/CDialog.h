#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <map>

#include "platform/TimerSchedule.h"
#include "res/DialogTemplate.h"

class DataExchange;
class QMenuBar;

// A modal dialog built from one of the program's templates. Controls are
// found by number (also their objectName), timers are kept by number, and
// the handlers are virtual functions in the manner the dialogs were written
// for: OnInitDialog, OnOK, OnCancel, OnCommand, OnTimer, OnDestroy.
class CDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CDialog(int templateId, QWidget* parent = nullptr);
    ~CDialog() override;

    // Initialises the dialog, runs it until it ends, and returns IDOK,
    // IDCANCEL or the result passed to EndDialog.
    int DoModal();
    void EndDialog(int result);

    QWidget* GetDlgItem(int id) const;
    // The box's text as a signed integer: 0 when empty, not a number, or
    // beyond 32 bits.
    std::int32_t GetDlgItemInt(int id) const;
    void SetDlgItemInt(int id, std::int32_t value);
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);
    // A list's selected entry, -1 for none.
    int GetCurSel(int id) const;
    void SetCurSel(int id, int index);
    bool IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, bool checked);
    void EnableDlgItem(int id, bool enabled);
    // Puts the focus on a control and selects its whole text.
    void GotoDlgCtrl(int id);

    // true: controls to members, with checks; false: members to controls.
    // Returns false when a check failed (its prompt has been shown).
    bool UpdateData(bool saveAndValidate = true);

    // Starts (or restarts) timer `id`; returns id, or 0 when no timer could be
    // started.
    int SetTimer(int id, int milliseconds);
    bool KillTimer(int id);

    const DialogTemplate& Template() const { return m_Template; }

  protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();
    // A button or a menu command; by default "Aceptar" and "Cancelar".
    virtual void OnCommand(int id);
    virtual void OnTimer(int id);
    // Runs once the modal run has ended, before DoModal returns.
    virtual void OnDestroy();

    // Within OnTimer: how many whole periods this tick stands for (more than
    // 1 when it came late or ticks merged).
    int TimerTicksDue() const { return m_nTicksDue; }
    // Paints a change held back for the frame rate, if a frame is due. Called
    // right after handling a byte, it paints in the gap before the next one.
    void PaintIfDue();
    QMenuBar* MenuBar() const { return m_pMenuBar; }

    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Timer {
        int qtId = 0;
        TimerSchedule schedule;
    };

    void RequestPaint();
    void BuildMenu(int menuId);
    void BuildControls(QWidget* client);

    const DialogTemplate& m_Template;
    // Every numbered control, found without searching the widget tree: the
    // boxes are written fifteen times for each encoder byte.
    std::map<int, QPointer<QWidget>> m_Controles;
    QMenuBar* m_pMenuBar = nullptr;
    std::map<int, Timer> m_Timers;
    int m_nTicksDue = 1;
    // Painting is held to one frame at a time while the boxes change faster.
    QElapsedTimer m_UltimoPintado;
    QBasicTimer m_PintadoAplazado;
    bool m_bPintadoPendiente = false;
};
