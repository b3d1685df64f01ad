// The options dialog: edits a private copy of the options, previews the
// captions of the language being chosen, and stores everything on Save.
#pragma once

#include "platform/qt/dialog_template.h"
#include "shell/options.h"

#include <QDialog>

class COptionDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId {
        IDC_SKILLINFO = 1013,
        IDC_AUTOCHANGE = 1014,
        IDC_BOY = 1015,
        IDC_GIRL = 1016,
        IDC_AUTOSAVE = 1017,
        IDC_AUTOCENTER = 1018,
        IDC_AUTOUPDATE = 1019,
        IDC_KOREAN = 1020,
        IDC_INTERNATIONAL = 1021,
        IDC_JAPANESE = 1022,
        IDC_SAVETOFILE = 1095,
    };

    explicit COptionDlg(QWidget* parent = nullptr);

    static const DialogTemplate& Template();

    // The working copy the controls edit.
    const AppOptions& Options() const { return m_options; }
    bool RelabelPending() const { return m_bRelabel; }

    // Save: applies a change of the builds store, then stores the options.
    void OnOK();
    // Replaces the captions with those of the previewed language.
    void Relabel();

    void OnClickedBoy();
    void OnClickedGirl();
    void OnClickedKorean();
    void OnClickedInternational();
    void OnClickedJapanese();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnInitDialog();
    void Toggle(int id, uint8_t AppOptions::*member);
    void SetLanguage(int32_t language);
    void SetCheck(int id, bool checked);

    AppOptions m_options;
    bool m_bRelabel = false;
};
