// The application object: prepares the process and runs the main window.
#pragma once

class CTolvemarApp {
public:
    // Installs the profile, message boxes and translations, registers the
    // save-file type and runs the main window modally. Returns false: the
    // program ends when the main window closes.
    bool InitInstance();
};
