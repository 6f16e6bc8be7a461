#include "platform/DataExchange.h"

#include "platform/CDialog.h"
#include "platform/IntegerText.h"
#include "platform/MessageBox.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

DataExchange::DataExchange(CDialog& dialog, bool saveAndValidate)
    : m_Dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

void DataExchange::Int(int id, int& value) {
    if (m_bFailed) return;
    m_nLastField = id;
    if (!m_bSaveAndValidate) {
        m_Dialog.SetDlgItemInt(id, value);
        return;
    }
    const std::optional<std::int32_t> leido =
        ReadFieldInteger(m_Dialog.GetDlgItemText(id).toStdString());
    if (!leido) {
        Fail(QString::fromUtf8(LoadStringResource(AFX_IDP_PARSE_INT)));
        return;
    }
    value = *leido;
}

void DataExchange::Range(const int& value, int lowest, int highest) {
    if (m_bFailed || !m_bSaveAndValidate) return;
    if (value < lowest || value > highest) {
        Fail(QString::fromUtf8(LoadStringResource(AFX_IDP_PARSE_INT_RANGE))
                 .arg(lowest)
                 .arg(highest));
    }
}

void DataExchange::Text(int id, QString& value) {
    if (m_bFailed) return;
    m_nLastField = id;
    if (m_bSaveAndValidate) {
        value = m_Dialog.GetDlgItemText(id);
    } else {
        m_Dialog.SetDlgItemText(id, value);
    }
}

void DataExchange::Check(int id, int& value) {
    if (m_bFailed) return;
    m_nLastField = id;
    if (m_bSaveAndValidate) {
        value = m_Dialog.IsDlgButtonChecked(id) ? 1 : 0;
    } else {
        m_Dialog.CheckDlgButton(id, value != 0);
    }
}

void DataExchange::Selection(int id, int& value) {
    if (m_bFailed) return;
    m_nLastField = id;
    if (m_bSaveAndValidate) {
        value = m_Dialog.GetCurSel(id);
    } else {
        m_Dialog.SetCurSel(id, value);
    }
}

void DataExchange::Fail(const QString& prompt) {
    m_bFailed = true;
    AfxMessageBox(prompt, MB_OK | MB_ICONEXCLAMATION);
    m_Dialog.GotoDlgCtrl(m_nLastField);
}
