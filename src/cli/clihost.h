// The engine's host on the command line: messages go to standard error,
// questions are answered No, there is no sound, and nothing is kept.
#pragma once

#include "engine/host.h"

#include <string>

namespace longhand::cli {

class CliHost : public EngineHost {
  public:
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool soundOn() const override { return false; }
    void stopSound() override {}
    void finished() override {}
    std::string readText(const std::string&, int) override { return {}; }
    std::string facUpper() const override { return upper_; }
    void setFacUpper(const std::string& n) override { upper_ = n; }
    std::string facDataPath() const override { return {}; }

  private:
    std::string upper_ = "0";
};

} // namespace longhand::cli
