// The save options dialog (template 178): the autorun job, or none, and the
// build slot a save file names.
#pragma once

#include "persistence/select_save.h"

#include <QDialog>

class QButtonGroup;

// Template 178 as data.
struct DialogTemplate;
const DialogTemplate& SelectSaveTemplate();

class CSelectSaveDlg : public QDialog, private SaveDlgControls {
    Q_OBJECT
public:
    explicit CSelectSaveDlg(QWidget* parent = nullptr);

    // Runs the dialog modally: QDialog::Accepted or QDialog::Rejected.
    int DoModal() { return exec(); }

    // The answer after OK: a job id 0..19 or NO_JOB, and a build slot.
    int32_t Job() const { return m_logic.m_nJob; }
    int32_t Slot() const { return m_logic.m_nSlot; }

    void OnClickedNoJob();
    void OnOK();

private:
    bool IsDlgButtonChecked(int id) const override;
    void CheckDlgButton(int id, bool checked) override;
    void EnableDlgItem(int id, bool enable) override;
    void SetDlgItemText(int id, const std::u16string& text) override;
    void EndDialog(bool ok) override;

    QButtonGroup* GroupOf(int id) const;

    SelectSaveLogic m_logic;
    QButtonGroup* m_jobGroup = nullptr;
    QButtonGroup* m_slotGroup = nullptr;
};
