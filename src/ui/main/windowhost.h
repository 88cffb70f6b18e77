// What a calculation started from a window tells that window: messages and
// questions through the window's presenter, the finished sound and its Stop
// Sound button, the settings texts and the largest stored factorial.
#pragma once

#include "engine/host.h"

class QWidget;

namespace longhand {

class MainWindow;

class WindowHost final : public EngineHost {
  public:
    // `window` is the computing window (parent of its message boxes) and
    // `stopButton` its Stop Sound button.
    WindowHost(MainWindow& main, QWidget* window, QWidget* stopButton);

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool soundOn() const override;
    void stopSound() override;
    void finished() override;
    std::string readText(const std::string& key, int maxLen) override;
    std::string facUpper() const override;
    void setFacUpper(const std::string& n) override;
    std::string facDataPath() const override;

  private:
    MainWindow& main_;
    QWidget* window_;
    QWidget* stopButton_;
};

} // namespace longhand
