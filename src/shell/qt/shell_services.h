// What the main window, the job chooser and the options dialog call in the
// rest of the program. The program uses the real calls; tests install a
// double that records the calls and forwards or replaces them.
#pragma once

class QWidget;
class CTolvemarDlg;

class ShellServices {
public:
    virtual ~ShellServices() = default;
    // Registers the save-file type with the desktop.
    virtual void RegisterSaveFileType();
    // Starts the update check; it never blocks the caller.
    virtual void StartUpdateCheck(CTolvemarDlg& mainWindow);
    // Loads all builds from the store in use.
    virtual bool LoadBuilds();
    // Saves all builds to the store in use, asking first when needed; false
    // when the user cancels.
    virtual bool SaveBuilds();
    // Fills every skill record with its description.
    virtual void LoadSkillDescriptions();
    // Runs the options dialog modally over `owner`'s window.
    virtual void RunOptionsDialog(QWidget* owner);
    // Runs the About box modally over `owner`'s window.
    virtual void RunAboutDialog(QWidget* owner);
};

// The installed services; never null.
ShellServices& Services();
// Installs services (not owned); nullptr restores the real ones.
void SetShellServices(ShellServices* services);
