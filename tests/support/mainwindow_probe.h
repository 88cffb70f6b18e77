// The main window's controls, for the tests and benchmarks that drive it
// (the window keeps them private).
#pragma once

#include "ui/main/mainwindow.h"

namespace longhand {

class MainWindowProbe {
  public:
    static MainWindowControls& controls(MainWindow& window) { return window; }
};

inline MainWindowControls& ui(MainWindow& window) {
    return MainWindowProbe::controls(window);
}

} // namespace longhand
