// The main window: an empty dialog that hosts the job chooser and the skill
// tree window, runs the start-up sequence and ends the program through its
// close path, which saves the builds.
#pragma once

#include "platform/qt/dialog_template.h"

#include <QDialog>

class QMenu;
class CSelectJobDlg;
class CSkillTreeDlg;
class CSkillMemoDlg;

class CTolvemarDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr unsigned IDM_ABOUTBOX = 0x10;

    explicit CTolvemarDlg(QWidget* parent = nullptr);
    ~CTolvemarDlg() override;

    static const DialogTemplate& Template();

    // Runs the start-up sequence, then the window's modal loop.
    int DoModal();
    // The start-up sequence; returns true.
    bool OnInitDialog();
    // A command of the window menu; 0x10 (any low four bits) opens the About box.
    void OnSysCommand(unsigned id);
    // The close path: saves the builds (the user may cancel) and the window
    // position, then ends the modal loop.
    void OnClose();
    // Pops up the window menu stand-in (a separator and the About item) at
    // a global position.
    void ShowSystemMenu(const QPoint& globalPos);
    QMenu* SystemMenu() const { return m_systemMenu; }

    // Gives the main window the outer size of a child, centred when
    // AutoCenter is on, else keeping its top-left corner.
    void SizeToChild(int width, int height);

    CSkillTreeDlg* m_pSkillTreeDlg = nullptr;
    CSelectJobDlg* m_pSelectJobDlg = nullptr;
    CSkillMemoDlg* m_pSkillMemoDlg = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

public slots:
    // Escape never closes the main window.
    void reject() override {}

private:
    bool m_closing = false;
    QMenu* m_systemMenu = nullptr;
};
