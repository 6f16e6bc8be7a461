#pragma once

#include <QString>

class CDialog;

// Moves values between a dialog's members and its controls. Loading writes
// the members into the controls; saving reads the controls back, checks
// them, and at the first failure shows the standard prompt, puts the focus
// on the failing box with its text selected and ignores every later field.
class DataExchange {
  public:
    DataExchange(CDialog& dialog, bool saveAndValidate);

    // A box holding a decimal integer.
    void Int(int id, int& value);
    // The range of the integer field exchanged just before.
    void Range(const int& value, int lowest, int highest);
    void Text(int id, QString& value);
    // A check box: 1 ticked, 0 clear.
    void Check(int id, int& value);
    // A list's selected entry, -1 for none.
    void Selection(int id, int& value);

    bool SaveAndValidate() const { return m_bSaveAndValidate; }
    bool Failed() const { return m_bFailed; }

  private:
    void Fail(const QString& prompt);

    CDialog& m_Dialog;
    const bool m_bSaveAndValidate;
    bool m_bFailed = false;
    int m_nLastField = -1;
};
