// The job chooser: twenty job pictures with their names, and the command
// buttons (exit, options, About, and the save-file commands). A child of the
// main window; while it is shown, the main window takes its size.
#pragma once

#include "data/tables.h"
#include "platform/qt/dialog_template.h"

#include <QWidget>

#include <array>
#include <functional>

class CSelectJobDlg : public QWidget {
    Q_OBJECT
public:
    enum ControlId {
        IDC_EXIT = 1063,
        IDC_SAVE_AS = 1016,  // no command is bound to it
        IDC_CLOSE_FILE = 1002,
        IDC_LOAD_FILE = 1014,
        IDC_SAVE_FILE = 1013,
        IDC_OPTIONS = 1012,
        IDC_ABOUT = 2,
        IDC_CREDITS = 1082,
    };

    // Picture button and name label of each job, by job id.
    static constexpr std::array<int, kJobCount> kJobButtonIds = {1027, 1028, 1033, 1026, 1025, 1035, 1032,
                                                                 1024, 1023, 1000, 1029, 1031, 1034, 1030,
                                                                 1051, 1053, 1074, 1059, 1067, 1070};
    static constexpr std::array<int, kJobCount> kJobLabelIds = {1045, 1039, 1048, 1038, 1044, 1049, 1041,
                                                                1037, 1043, 1036, 1046, 1047, 1042, 1040,
                                                                1055, 1056, 1061, 1066, 1068, 1078};

    explicit CSelectJobDlg(QWidget* parent);

    static const DialogTemplate& Template();

    // Called with the job id when a picture is clicked, after the chooser is
    // hidden; the main window opens the job in the tree window.
    void SetOpenJobHandler(std::function<void(int)> handler);

    // Shows or hides the chooser and runs the show handler, which sizes the
    // main window.
    void ShowWindow(bool show);
    void OnShowWindow();

    // Sets pictures, names and captions from the options as they now stand;
    // runs at every paint.
    void Relabel();

    // The bitmap id shown for a job with the current SexType.
    static int32_t PortraitIdFor(int job);

    void OnClickedJob(int job);
    void OnClickedOptions();
    void OnClickedAbout();
    void OnClickedExit();
    // Shows or hides the close-file and store buttons together.
    void ShowFileButtons(bool show);
    void OnClickedCloseFile();
    void OnClickedSaveFile();
    void OnClickedLoadFile();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(int)> m_openJob;
    std::array<int32_t, kJobCount> m_shownPortrait{};
};
